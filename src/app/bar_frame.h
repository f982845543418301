// The button bar's frame: its caption from the main file, its place on the screen (kept in the settings
// file and per recent main file) and its screen's resolution, with the move to a screen of another one.
#pragma once

#include <windows.h>

#include <string_view>

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
