// The button bar's hot paths inside this process, with the full settings file: one move step (the
// bar's place and the main file's position saved) and one LayoutButtons of 50 buttons, each against one
// plain WritePrivateProfileStringA of a single key.
#include <windows.h>

#include <vector>

#include "app/button_bar.h"
#include "app/layout_buttons.h"
#include "app/startup.h"
#include "base/app_handles.h"
#include "base/bounded_text.h"
#include "bench_support.h"
#include "config/button_icons.h"
#include "res/resource.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace {

// Calls per timed block; the rows take the median of the blocks' means.
constexpr int kCallsPerBlock = 20;

template <typename Step>
double PerCall(Step step) {
    const double start = Now();
    for (int i = 0; i < kCallsPerBlock; ++i) step(i);
    return (Now() - start) / kCallsPerBlock * 1e6;
}
}  // namespace

void AddBarRows(int rounds, std::vector<BenchRow>& rows) {
    BenchRow move{"one move step / one single-key write"};
    BenchRow layout{"LayoutButtons of 50 buttons / one single-key write"};
    move.unit = layout.unit = "us";
    move.target = 5;

    g_app.appInstance = GetModuleHandleA(nullptr);
    RegisterWindowClasses();
    const std::string settings = BenchFolder() + "bar.ini";
    WriteWhole(settings, FullSettings());
    CopyText(g_paths.settingsFile, settings);
    CopyText(g_paths.mainFile, BenchMainFile());
    ReadSettings();
    LoadAllButtonIcons();
    BarState state;
    HWND bar = CreateDialogParamA(g_app.appInstance, MAKEINTRESOURCEA(IDD_BAR), nullptr, ButtonBarProc,
                                  reinterpret_cast<LPARAM>(&state));
    if (!bar) {
        move.failure = layout.failure = "the bar did not open";
        rows.push_back(move);
        rows.push_back(layout);
        return;
    }
    std::vector<double> writes, moves, layouts;
    int step = 0;
    for (int round = 0; round < rounds; ++round) {
        writes.push_back(PerCall([&](int) {
            char value[16];
            FormatText(value, "%d", ++step);
            WritePrivateProfileStringA("Options", "X", value, g_paths.settingsFile);
        }));
        moves.push_back(PerCall([&](int) {
            ++step;
            SetWindowPos(bar, nullptr, 20 + step % 50, 30, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        }));
        layouts.push_back(PerCall([](int) { LayoutButtons(); }));
    }
    DestroyWindow(bar);
    move.ours = Median(moves);
    layout.ours = Median(layouts);
    move.baseline = layout.baseline = Median(writes);
    rows.push_back(move);
    rows.push_back(layout);
}
