// Runs the real button bar on a thread of its own inside the test, as the program's entry point would,
// with a settings file made for the test. Brings in the shared helpers the bar tests use with it.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/dialog_watcher.h"
#include "support/find_window.h"
#include "support/temp_settings.h"
#include "support/wait.h"
#include "support/window_text.h"

// Starts the bar (template 100 with ButtonBarProc) modally on its own thread after ReadSettings.
class BarRun {
public:
    BarRun(const std::string& settingsFile, const std::string& mainFile);
    ~BarRun();
    HWND window() const { return window_; }
    // True when the dialog ended within the time.
    bool WaitClosed(DWORD milliseconds);
    bool closed() const { return closed_; }

private:
    std::thread thread_;
    HWND window_ = nullptr;
    std::atomic<bool> closed_{false};
};
