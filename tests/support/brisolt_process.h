// Test harness: runs the built Brisolt.exe in a process of its own, finds its windows and ends it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "support/find_window.h"

// One started Brisolt.exe. Everything waits with a bound; the destructor kills a process still running.
class BrisoltProcess {
public:
    BrisoltProcess() = default;
    ~BrisoltProcess();
    BrisoltProcess(const BrisoltProcess&) = delete;
    BrisoltProcess& operator=(const BrisoltProcess&) = delete;

    // Starts Brisolt.exe from the test's folder with `arguments` after the program's name.
    bool Start(const std::string& arguments);
    // Starts the program at `program` instead: a copy of Brisolt.exe in a folder of the test's own.
    bool Start(const std::string& arguments, const std::string& program);
    // Starts Brisolt.exe from the test's folder with a wide command line, as the shell starts it for a
    // file whose name holds letters the code page lacks.
    bool StartWide(const std::wstring& arguments);
    // Polls for a visible top-level window of the process (by default the button bar, a dialog).
    HWND WaitForWindow(DWORD timeoutMs, const char* className = "#32770", const char* title = nullptr) const;
    // The button bar found by the last successful WaitForWindow with the default class.
    HWND MainWindow() const { return mainWindow_; }
    // WaitForWindow for the button bar, kept as MainWindow().
    HWND WaitForMainWindow(DWORD timeoutMs);

    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // SendMessageTimeoutA to the main window; nullopt when it did not answer in time.
    std::optional<LRESULT> Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = 5000) const;

    bool IsRunning() const;
    // The exit code once the process has ended; on timeout it is killed and nullopt is returned.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    // Closes the bar from its system menu, as a user does, and waits for the exit code as WaitForExit does.
    std::optional<DWORD> Close(DWORD timeoutMs);
    void Kill();

    DWORD ProcessId() const { return processId_; }
    HANDLE ProcessHandle() const { return process_; }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND mainWindow_ = nullptr;
};
