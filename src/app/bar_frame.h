// The button bar's frame: its caption from the main file, its place on the screen (kept in the settings
// file and per recent main file), its screen's resolution with the move to a screen of another one, and
// the layout of its 50 buttons in the grid.
#pragma once

#include <windows.h>

#include <string_view>

#include "app/bar_rules.h"

// The bar at its screen's resolution: the window's icons at that size, and the buttons' font as the
// template made it at the first resolution, with the copy made for another one.
struct BarDpi {
    HICON windowIcons[2] = {nullptr, nullptr};
    LOGFONTA templateFont = {};
    int templateDpi = 0;
    HFONT scaledFont = nullptr;
};

// Sets the caption of `bar` from the main file (and the pattern, when there is one).
void UpdateCaption(HWND bar);
// Makes `name` the main file, as the command line, a drop or the selection dialog gives it: the recent
// files and the shell's recent documents hear of it, and the caption of `bar` shows it.
void SetMainFile(HWND bar, std::string_view name);

// The bar's outer rectangle into "X", "Y", "Width", "Height" and the main file's "Pos" entry.
void SaveWindowPlace(HWND window);
// The bar's place at opening: "X", "Y", "Width", "Height", or the main file's own position when
// "Save File Pos" is on; applied only when width and height are both non-zero.
void RestoreWindowPlace(HWND window);

// Gives the opening bar its window icons at the sizes of its resolution and notes the buttons' font.
void SetUpBarDpi(HWND bar, BarDpi& state);
// The bar has come to a screen of `dpi`: font, window icons and button icons at that resolution, the
// window in the rectangle the system suggests, and the grid laid out again. While the bar opens, its move
// to the stored place may land on such a screen: it keeps its stored size, or it would grow or shrink at
// every start.
void FollowDpi(HWND bar, BarDpi& state, int dpi, const RECT& suggested, bool opening);
// Releases what SetUpBarDpi and FollowDpi made, when the bar is destroyed.
void ReleaseBarDpi(BarDpi& state);

// ---- The layout: places, shows and hides the 50 bar buttons and applies "always on top"

// What the layout keeps between calls: the bar's resolution and the smallest cell that still shows a
// normal icon at it, measured by the first layout and again when the bar moves to another resolution.
struct LayoutMetrics {
    bool measured = false;
    int dpi = 0;
    IconCellMin iconCellMin;
};

extern LayoutMetrics g_layoutMetrics;

// Measures the layout's metrics at `dpi`, for a bar that has moved to a screen of that resolution.
void MeasureLayoutAt(int dpi);

// Fits the grid of bar buttons into the client area of g_app.mainWindow; rows and cols out of range are
// clamped in the options.
void LayoutButtons();
