// Test harness: runs the built Brisolt.exe in a process of its own, finds its windows and ends it.
#include "support/brisolt_process.h"

#include <vector>

#include "support/test_files.h"
#include "support/wait.h"

BrisoltProcess::~BrisoltProcess() {
    if (IsRunning()) Kill();
    if (process_) CloseHandle(process_);
}

bool BrisoltProcess::Start(const std::string& arguments) {
    return Start(arguments, ExeFolder() + "Brisolt.exe");
}

bool BrisoltProcess::Start(const std::string& arguments, const std::string& exe) {
    if (process_) return false;
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

bool BrisoltProcess::StartWide(const std::wstring& arguments) {
    if (process_) return false;
    const std::wstring exe = Widen(ExeFolder() + "Brisolt.exe");
    std::wstring line = L"\"" + exe + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

HWND BrisoltProcess::WaitForWindow(DWORD timeoutMs, const char* className, const char* title) const {
    HWND window = nullptr;
    WaitFor([&] { return (window = FindProcessWindow(processId_, className, title)) != nullptr || !IsRunning(); },
            timeoutMs);
    return window;
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

std::optional<DWORD> BrisoltProcess::Close(DWORD timeoutMs) {
    Post(WM_SYSCOMMAND, SC_CLOSE);
    return WaitForExit(timeoutMs);
}

void BrisoltProcess::Kill() {
    if (!process_) return;
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
}
