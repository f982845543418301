// A user's whole session with the built program, driven from outside.
#include "e2e/user_session.h"

#include <algorithm>

#include "res/resource.h"
#include "support/brisolt_process.h"
#include "support/dialog_watcher.h"
#include "support/wait.h"
#include "support/window_text.h"

namespace {

// A hostile settings file may take the program a while: a 1 MB file is read at start and again on Cancel.
constexpr DWORD kStartMs = 60000;
constexpr DWORD kDialogMs = 60000;
constexpr DWORD kExitMs = 60000;
constexpr DWORD kWatchMs = 240000;

int ProfileInt(const std::string& settings, const char* section, const std::string& key, int fallback) {
    if (settings.empty()) return fallback;
    return static_cast<int>(GetPrivateProfileIntA(section, key.c_str(), fallback, settings.c_str()));
}

}  // namespace

// The window with the first bar button.
HWND WaitForBar(BrisoltProcess& brisolt) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStartMs && brisolt.IsRunning()) {
        HWND window = brisolt.WaitForMainWindow(500);
        if (window && GetDlgItem(window, IDC_BAR_FIRST)) return window;
        Sleep(100);
    }
    return nullptr;
}

bool AnswerConfiguration(BrisoltProcess& brisolt, int button) {
    brisolt.Post(WM_SYSCOMMAND, IDM_CONFIGURATION);
    HWND configuration = brisolt.WaitForWindow(kDialogMs, "#32770", "Brisolt Configuration");
    if (!configuration) return false;
    PressButton(configuration, button);
    return WaitFor([&] { return !IsWindow(configuration); }, kDialogMs);
}

std::string LayoutProblem(HWND bar, const std::string& settings) {
    const int rows = std::clamp(ProfileInt(settings, "Options", "Rows", 2), 1, 5);
    const int cols = std::clamp(ProfileInt(settings, "Options", "Cols", 8), 1, 10);
    const int space = ProfileInt(settings, "Options", "Space", 0);
    RECT client = {};
    if (!GetClientRect(bar, &client)) return "no client area";

    std::vector<RECT> shown;
    int expected = 0;
    for (int i = 0; i <= IDC_BAR_LAST - IDC_BAR_FIRST; ++i) {
        HWND button = GetDlgItem(bar, IDC_BAR_FIRST + i);
        const std::string name = "button " + std::to_string(i);
        if (!button) return name + " is missing";
        const bool inGrid = i / 10 < rows && i % 10 < cols;
        const bool invisible = (ProfileInt(settings, "Buttons", "Type" + std::to_string(i + 1), 0) & 0xFF) == 6;
        if (inGrid && !invisible) ++expected;
        if (!IsWindowVisible(button)) continue;
        if (!inGrid) return name + " is shown outside the grid";
        if (invisible) return name + " is invisible but shown";
        // A negative spacing, which only a hand-edited file holds, makes the cells reach past the client
        // area and over each other by that much.
        if (space < 0) continue;
        RECT rect = {};
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&rect), 2);
        if (rect.left < 0 || rect.top < 0 || rect.right > client.right || rect.bottom > client.bottom)
            return name + " lies outside the client area (space " + std::to_string(space) + ", at " +
                   std::to_string(rect.left) + "," + std::to_string(rect.top) + ")";
        for (const RECT& other : shown) {
            RECT overlap;
            if (IntersectRect(&overlap, &rect, &other)) return name + " lies on another button";
        }
        shown.push_back(rect);
    }
    // With room for every cell, every cell of the grid but an invisible button's is shown.
    const long long cellWidth = (client.right - static_cast<long long>(space) * (cols + 1)) / cols;
    const long long cellHeight = (client.bottom - static_cast<long long>(space) * (rows + 1)) / rows;
    if (space >= 0 && cellWidth >= 4 && cellHeight >= 4 && static_cast<int>(shown.size()) != expected)
        return std::to_string(shown.size()) + " buttons shown of " + std::to_string(expected);
    return "";
}

SessionReport RunSession(const std::string& arguments, const std::string& settingsCopy) {
    SessionReport report;
    BrisoltProcess brisolt;
    if (!brisolt.Start(arguments)) return report;
    DialogWatcher queries({"Brisolt Query"}, IDOK, kWatchMs, brisolt.ProcessId());
    // Any box of the program's is answered with OK and noted; the bar itself may be titled "Brisolt" and
    // is left alone.
    DialogWatcher boxes(
        {"Brisolt", "Error in Brisolt", "Fatal Error in Brisolt"},
        [](HWND dialog) {
            if (!MessageBoxText(dialog).empty()) PressButton(dialog, IDOK);
        },
        kWatchMs, brisolt.ProcessId());

    HWND bar = WaitForBar(brisolt);
    if (bar) {
        report.started = true;
        report.caption = WindowTitle(bar);
        report.layoutProblem = LayoutProblem(bar, settingsCopy);
        report.configurationCancelled = AnswerConfiguration(brisolt, IDCANCEL);
        // Cancel reads the file again and lays the bar out anew.
        if (report.layoutProblem.empty() && brisolt.Send(WM_NULL, 0, 0, kDialogMs).has_value())
            report.layoutProblem = LayoutProblem(bar, settingsCopy);
        brisolt.Post(WM_SYSCOMMAND, SC_CLOSE);
    }
    report.exitCode = brisolt.WaitForExit(kExitMs);
    boxes.Stop();
    queries.Stop();
    for (int i = 0; i < boxes.answered(); ++i) {
        if (!boxes.text(i).empty()) report.messages.push_back(boxes.text(i));
    }
    return report;
}
