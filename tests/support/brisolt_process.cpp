// Test harness: runs the built Brisolt.exe in a process of its own, finds its windows and ends it.
#include "support/brisolt_process.h"
#include "support/test_files.h"

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
    char text[256] = "";
    if (search.className) {
        GetClassNameA(window, text, sizeof text);
        if (std::strcmp(text, search.className) != 0) return TRUE;
    }
    if (search.title) {
        GetWindowTextA(window, text, sizeof text);
        if (std::strcmp(text, search.title) != 0) return TRUE;
    }
    search.found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
    WindowSearch search = {processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BrisoltProcess::~BrisoltProcess() {
    if (IsRunning()) Kill();
    if (process_) CloseHandle(process_);
}

bool BrisoltProcess::Start(const std::string& arguments) {
    if (process_) return false;
    const std::string exe = ExeFolder() + "Brisolt.exe";
    std::string line = "\"" + exe + "\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

HWND BrisoltProcess::WaitForWindow(DWORD timeoutMs, const char* className, const char* title) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = FindProcessWindow(processId_, className, title)) return window;
        if (GetTickCount64() >= end || !IsRunning()) return nullptr;
        Sleep(kPollMs);
    }
}

HWND BrisoltProcess::WaitForMainWindow(DWORD timeoutMs) {
    mainWindow_ = WaitForWindow(timeoutMs);
    return mainWindow_;
}

bool BrisoltProcess::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return mainWindow_ && PostMessageA(mainWindow_, message, wParam, lParam);
}

std::optional<LRESULT> BrisoltProcess::Send(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    if (!mainWindow_ ||
        !SendMessageTimeoutA(mainWindow_, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

bool BrisoltProcess::IsRunning() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> BrisoltProcess::WaitForExit(DWORD timeoutMs) {
    if (!process_) return std::nullopt;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        Kill();
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void BrisoltProcess::Kill() {
    if (!process_) return;
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
}
