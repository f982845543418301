// The button bar window's own state, kept with the window, and the app layer's window classes.
#pragma once

#include <windows.h>

// Lives as long as the bar's dialog; the bar keeps a pointer to it in DWLP_USER.
struct BarState {
    HWND hintWindow = nullptr;  // made at the first hint
    HWND tooltip = nullptr;  // made when the mouse first comes over the bar
    // While the bar opens, its moves are neither laid out nor saved one by one: that is done once, when
    // it has its place.
    bool opening = false;
    int contextButton = 0;  // control id of the last right-clicked button minus 500
    POINT contextPoint = {0, 0};
    // The bar at its screen's resolution: the window's icons at that size, and the buttons' font as the
    // template made it at the first resolution, with the copy made for another one.
    HICON windowIcons[2] = {nullptr, nullptr};
    LOGFONTA templateFont = {};
    int templateDpi = 0;
    HFONT scaledFont = nullptr;
};

// The bar's state, or null for a window that is not a running bar.
BarState* BarStateOf(HWND bar);

// The process-local "Button" class hands what it does not take to the system's procedure.
struct ButtonClass {
    WNDPROC systemButtonProc = nullptr;
};

extern ButtonClass g_buttonClass;
