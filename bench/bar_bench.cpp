// Benchmark of the button bar's hot paths, as ratios against a baseline measured in the same run:
// one move step (four keys and the main file's position pair of lists, with a full 50-button
// settings file) against one plain WritePrivateProfileStringA of a single key; and one LayoutButtons
// of 50 buttons against the same baseline.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "base/app_handles.h"
#include "app/button_bar.h"
#include "app/layout_buttons.h"
#include "app/startup.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "config/button_icons.h"
#include "settings/main_file.h"
#include "settings/settings_file.h"

namespace {
double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Step>
double PerCall(int count, Step step) {
    const double start = Now();
    for (int i = 0; i < count; ++i) step(i);
    return (Now() - start) / count;
}

std::string FullSettings() {
    std::string text = "[Options]\r\nRows=5\r\nCols=10\r\nSpace=2\r\n[Buttons]\r\n";
    for (int i = 1; i <= 50; ++i) {
        const std::string n = std::to_string(i);
        text += "Type" + n + "=0\r\nShow" + n + "=0\r\nLog" + n + "=2\r\nDebug" + n + "=0\r\nWait" + n + "=0\r\n";
        text += "Use long names" + n + "=0\r\nUse icon" + n + "=0\r\nIcon number" + n + "=-1\r\n";
        text += "Title" + n + "=Button " + n + "\r\nCommand" + n + "=cmd\r\nOptions" + n + "=/c echo %@n%\r\n";
        text += "Tip" + n + "=Runs button " + n + " on the main file\r\n";
    }
    text += "[Files]\r\n";
    for (int k = 0; k < 10; ++k) text += "File" + std::to_string(k) + "=C:\\papers\\paper" + std::to_string(k) + ".tex\r\n";
    text += "[Positions]\r\n";
    for (int k = 0; k < 10; ++k) text += "Pos" + std::to_string(k) + "=10,10,600,90\r\n";
    return text;
}
}  // namespace

int main() {
    g_app.appInstance = GetModuleHandleA(nullptr);
    RegisterWindowClasses();
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    CopyText(g_paths.settingsFile, folder);
    AppendText(g_paths.settingsFile, "bar_bench.ini");
    std::ofstream(g_paths.settingsFile, std::ios::binary) << FullSettings();
    CopyText(g_paths.mainFile, "C:\\papers\\paper4.tex");
    ReadSettings();
    LoadAllButtonIcons();

    BarState state;
    HWND bar = CreateDialogParamA(g_app.appInstance, MAKEINTRESOURCEA(IDD_BAR), nullptr, ButtonBarProc,
                                  reinterpret_cast<LPARAM>(&state));
    if (!bar) return 1;
    const int rounds = 200;
    const double baseline = PerCall(rounds, [](int i) {
        char value[16];
        FormatText(value, "%d", i);
        WritePrivateProfileStringA("Options", "X", value, g_paths.settingsFile);
    });
    const double move = PerCall(rounds, [bar](int i) {
        SetWindowPos(bar, nullptr, 20 + i % 50, 30, 600, 90, SWP_NOZORDER | SWP_NOSIZE);
    });
    const double layout = PerCall(rounds, [](int) { LayoutButtons(); });
    std::printf("baseline: one WritePrivateProfileStringA of one key: %.1f us\n", baseline * 1e6);
    std::printf("move step (4 keys + 20 list entries):  %.1f us = %.1f x baseline\n", move * 1e6, move / baseline);
    std::printf("LayoutButtons of 50 buttons:           %.1f us = %.1f x baseline\n", layout * 1e6, layout / baseline);
    DestroyWindow(bar);
    DeleteFileA(g_paths.settingsFile);
    return 0;
}
