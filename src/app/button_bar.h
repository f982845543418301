// The button bar window: the program's main window, a modal dialog from template 100, with its own
// state, and the process-local "Button" class whose procedure gives the bar buttons their context menu.
#pragma once

#include <windows.h>

#include "app/bar_frame.h"
#include "base/messages.h"
#include "settings/settings_records.h"

// Lives as long as the bar's dialog; the bar keeps a pointer to it in DWLP_USER.
struct BarState {
    HWND hintWindow = nullptr;  // made at the first hint
    HWND tooltip = nullptr;  // made when the mouse first comes over the bar
    // While the bar opens, its moves are neither laid out nor saved one by one: that is done once, when
    // it has its place.
    bool opening = false;
    int contextButton = 0;  // control id of the last right-clicked button minus 500
    POINT contextPoint = {0, 0};
    char busyTip[kResTextSize + sizeof ButtonDef::tip] = "";  // a busy button's tooltip, while it shows
    BarDpi dpi;
};

// The bar's state, or null for a window that is not a running bar.
BarState* BarStateOf(HWND bar);

// The bar's procedure; its WM_INITDIALOG lParam is the BarState the window keeps.
INT_PTR CALLBACK ButtonBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the bar modally, without owner, until it closes; -1 when it could not be created.
INT_PTR RunButtonBar();

// The process-local "Button" class hands what it does not take to the system's procedure.
struct ButtonClass {
    WNDPROC systemButtonProc = nullptr;
};
extern ButtonClass g_buttonClass;
// Procedure of the process-local "Button" class: the bar buttons' context menu, all else as the system's.
LRESULT CALLBACK BarButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
