// Runs the real button bar on a thread of its own inside the test.
#include "bar_test_support.h"

#include <fstream>

#include "base/app_handles.h"
#include "app/button_bar.h"
#include "app/startup.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "config/button_icons.h"
#include "exec/launch.h"
#include "settings/settings_file.h"

namespace {
std::string MakeTempFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    char folder[MAX_PATH];
    for (unsigned n = GetTickCount() % 100000;; ++n) {
        FormatText(folder, "%sbar_test_%u_%lu", base, n, GetCurrentProcessId());
        if (CreateDirectoryA(folder, nullptr)) return folder;
    }
}

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

TempSettings::TempSettings(const std::string& iniText) : folder_(MakeTempFolder()) {
    path_ = folder_ + "\\Brisolt.ini";
    std::ofstream(path_, std::ios::binary) << iniText;
}

TempSettings::~TempSettings() {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(folder_.c_str());
}

std::string TempSettings::Read(const char* section, const char* key) const {
    char value[1024] = "";
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, path_.c_str());
    return value;
}

void TempSettings::Write(const char* section, const char* key, const char* value) const {
    WritePrivateProfileStringA(section, key, value, path_.c_str());
}

BarRun::BarRun(const std::string& settingsFile, const std::string& mainFile) {
    PrepareProcess();
    CopyText(g_paths.settingsFile, settingsFile);
    CopyText(g_paths.mainFile, mainFile);
    CopyText(g_paths.defaultFolder, "");
    g_runs.childCount = 0;
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
    g_runs.childCount = 0;
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

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(20);
    }
    return true;
}

namespace {
struct FindData {
    const char* title;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindByTitle(HWND window, LPARAM lParam) {
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || window == data->except) return TRUE;
    if (WindowText(window) == data->title) {
        data->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindOwnWindow(const char* title, HWND except) {
    FindData data{title, except, nullptr};
    EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) {
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}
