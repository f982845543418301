// Calls into the HTML Help system.
#include "base/help.h"

#include <htmlhelp.h>

#include "base/handles.h"
#include "base/bounded_text.h"
#include "res/resource.h"

const DWORD helpIdMap[] = {
    1, 1, 2, 2, 98, 98, 101, 101, 102, 101, 103, 103, 104, 103, 105, 105, 106, 105, 107, 107,
    109, 109, 108, 108, 111, 111, 112, 111, 113, 113, 114, 113, 115, 115, 116, 115, 120, 120,
    121, 121, 122, 123, 123, 123, 124, 124, 125, 125, 126, 127, 127, 127, 128, 128, 129, 128,
    130, 130, 131, 131, 132, 132, 133, 133, 135, 136, 136, 136, 150, 150, 151, 151, 160, 160,
    161, 161, 170, 170, 171, 171, 137, 137, 138, 138, 139, 139, 180, 180, 181, 181, 191, 191,
    192, 192, 193, 194, 194, 194, 0, 0,
};

namespace {
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The help library is optional: it is looked for once, on the first help request.
struct HelpLibrary {
    bool tried = false;
    HtmlHelpFunction htmlHelp = nullptr;
    HelpCaller caller = nullptr;  // in place of the library, when set
};
HelpLibrary g_help;

// Only the system's own copy: a library of the same name beside a document must never be loaded.
HMODULE LoadHelpLibrary() {
    char path[MAX_PATH] = "";
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path) return nullptr;
    if (!AppendText(path, "\\hhctrl.ocx")) return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
}  // namespace

void SetHelpCaller(HelpCaller caller) {
    g_help.caller = caller;
}

HWND CallHtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) {
    if (g_help.caller != nullptr) return g_help.caller(caller, file, command, data);
    if (!g_help.tried) {
        g_help.tried = true;
        if (HMODULE library = LoadHelpLibrary()) {
            g_help.htmlHelp = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void (*)()>(GetProcAddress(library, "HtmlHelpA")));
        }
    }
    return g_help.htmlHelp ? g_help.htmlHelp(caller, file, command, data) : nullptr;
}

void HelpOnControl(const HELPINFO* helpInfo) {
    CallHtmlHelp(static_cast<HWND>(helpInfo->hItemHandle), g_app.helpFile, HH_TP_HELP_WM_HELP,
                 reinterpret_cast<DWORD_PTR>(helpIdMap));
}

void HelpContextMenu(HWND window) {
    CallHtmlHelp(window, g_app.helpFile, HH_TP_HELP_CONTEXTMENU, reinterpret_cast<DWORD_PTR>(helpIdMap));
}

void ShowHelpTopic(DWORD topic) {
    CallHtmlHelp(nullptr, g_app.helpFile, HH_HELP_CONTEXT, topic);
}

void ShowHelpIndex() {
    CallHtmlHelp(nullptr, g_app.helpFile, HH_DISPLAY_TOPIC, 0);
}

bool HandleDialogHelp(UINT message, WPARAM wParam, LPARAM lParam, DWORD topic) {
    switch (message) {
    case WM_HELP:
        HelpOnControl(reinterpret_cast<const HELPINFO*>(lParam));
        return true;
    case WM_CONTEXTMENU:
        HelpContextMenu(reinterpret_cast<HWND>(wParam));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_HELP_BUTTON || HIWORD(wParam) != BN_CLICKED) return false;
        ShowHelpTopic(topic);
        return true;
    default:
        return false;
    }
}
