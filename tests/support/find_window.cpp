// Finds the visible top-level windows of this test or of a program it started.
#include "support/find_window.h"

#include "support/window_text.h"

namespace {
struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window) || !(*search.match)(window)) return TRUE;
    search.found = window;
    return FALSE;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}
}  // namespace

HWND FindTopLevel(const std::function<bool(HWND)>& match) {
    Search search{&match, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
    return FindTopLevel([&](HWND window) {
        return ProcessOf(window) == processId && (!className || ClassOf(window) == className) &&
               (!title || WindowTitle(window) == title);
    });
}

HWND FindOwnWindow(const char* title, HWND except) {
    const DWORD self = GetCurrentProcessId();
    return FindTopLevel(
        [&](HWND window) { return window != except && ProcessOf(window) == self && WindowTitle(window) == title; });
}
