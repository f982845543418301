// Runs the real button bar on a thread of its own inside the test.
#include "bar_test_support.h"

#include "base/handles.h"
#include "app/button_bar.h"
#include "app/startup.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "config/button_icons.h"

#include "settings/settings_file.h"

namespace {
// Size and time of the last write, or zeros when the file cannot be read.
ULONGLONG FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime) ^
           data.nFileSizeLow;
}

// Wine may move a window it has just shown once more, a moment later, as the X server reports it, and
// the bar saves its place on every move. A test that writes the settings file itself waits until those
// late saves are over, so that they cannot overwrite what it wrote.
void WaitUntilUnchanged(const std::string& path, DWORD quietMilliseconds, DWORD limitMilliseconds) {
    const DWORD start = GetTickCount();
    ULONGLONG stamp = FileStamp(path);
    DWORD since = start;
    while (GetTickCount() - since < quietMilliseconds && GetTickCount() - start < limitMilliseconds) {
        Sleep(20);
        const ULONGLONG now = FileStamp(path);
        if (now != stamp) {
            stamp = now;
            since = GetTickCount();
        }
    }
}

void PrepareProcess() {
    static bool prepared = false;  // classes are registered once per process
    if (prepared) return;
    prepared = true;
    g_app.appInstance = GetModuleHandleA(nullptr);
    RegisterWindowClasses();
    InitModulePaths();
}
}  // namespace

BarRun::BarRun(const std::string& settingsFile, const std::string& mainFile) {
    PrepareProcess();
    CopyText(g_paths.settingsFile, settingsFile);
    CopyText(g_paths.mainFile, mainFile);
    CopyText(g_paths.defaultFolder, "");
    g_app.mainWindow = nullptr;  // the bar sets it when it opens
    ReadSettings();
    LoadAllButtonIcons();
    thread_ = std::thread([this] {
        RunButtonBar();
        closed_ = true;
    });
    WaitFor([] { return g_app.mainWindow != nullptr && IsWindowVisible(g_app.mainWindow); }, 10000);
    window_ = g_app.mainWindow;
    WaitUntilUnchanged(settingsFile, 400, 3000);
}

BarRun::~BarRun() {
    if (!closed_ && window_) {
        PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitClosed(10000);
    }
    if (thread_.joinable()) {
        if (closed_) {
            thread_.join();
        } else {
            thread_.detach();  // never hang the suite on a bar that would not close
        }
    }
}

bool BarRun::WaitClosed(DWORD milliseconds) {
    return WaitFor([this] { return closed_.load(); }, milliseconds);
}
