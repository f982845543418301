// Runs the real button bar on a thread of its own inside the test, as the program's entry point would,
// with a settings file made for the test; and answers message boxes from a watcher.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// A settings file in a fresh temporary folder, written from INI text.
class TempSettings {
public:
    explicit TempSettings(const std::string& iniText);
    ~TempSettings();
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }
    std::string Read(const char* section, const char* key) const;
    void Write(const char* section, const char* key, const char* value) const;

private:
    std::string folder_;
    std::string path_;
};

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

// Polls until the predicate holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds);

// The first visible top-level window of this process with exactly this title, or null.
HWND FindOwnWindow(const char* title, HWND except = nullptr);
// The text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
