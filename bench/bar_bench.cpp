// The button bar's hot paths inside this process, with the full settings file: one move step (the
// bar's place and the main file's position saved) and one LayoutButtons of 50 buttons, each against one
// plain WritePrivateProfileStringA of a single key.
#include <windows.h>

#include <vector>

#include "app/button_bar.h"
#include "app/bar_frame.h"
#include "app/startup.h"
#include "base/handles.h"
#include "base/bounded_text.h"
#include "bench_support.h"
#include "config/button_icons.h"
#include "res/resource.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace {

// Calls per timed block; the rows take the median of the blocks' means.
constexpr int kCallsPerBlock = 20;

// The bar's own procedure, while a move is timed without the saving that follows it.
WNDPROC g_barProc = nullptr;

LRESULT CALLBACK WithoutSaving(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED) return 0;
    return CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

template <typename Step>
double PerCall(Step step) {
    const double start = Now();
    for (int i = 0; i < kCallsPerBlock; ++i) step(i);
    return (Now() - start) / kCallsPerBlock * 1e6;
}
}  // namespace

void AddBarRows(int rounds, std::vector<BenchRow>& rows) {
    BenchRow move{"one move step / one single-key write"};
    // Where a move step's time goes: the window's own move, with the bar not told of it.
    BenchRow bareMove{"  the same move without saving / one write"};
    BenchRow layout{"LayoutButtons of 50 buttons / one single-key write"};
    move.unit = bareMove.unit = layout.unit = "us";
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
        move.failure = bareMove.failure = layout.failure = "the bar did not open";
        for (const BenchRow& row : {move, bareMove, layout}) rows.push_back(row);
        return;
    }
    // A user's mouse has been over the bar, so it has its tooltips.
    SendMessageA(bar, WM_SETCURSOR, reinterpret_cast<WPARAM>(bar), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    std::vector<double> writes, moves, bareMoves, layouts;
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
        g_barProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WithoutSaving)));
        bareMoves.push_back(PerCall([&](int) {
            ++step;
            SetWindowPos(bar, nullptr, 20 + step % 50, 30, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        }));
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_barProc));
        layouts.push_back(PerCall([](int) { LayoutButtons(); }));
    }
    DestroyWindow(bar);
    move.ours = Median(moves);
    bareMove.ours = Median(bareMoves);
    layout.ours = Median(layouts);
    move.baseline = bareMove.baseline = layout.baseline = Median(writes);
    for (const BenchRow& row : {move, bareMove, layout}) rows.push_back(row);
}
