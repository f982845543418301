// The button bar window: the program's main window, a modal dialog from template 100.
#pragma once

#include <windows.h>

#include "app/bar_state.h"

// The bar's procedure; its WM_INITDIALOG lParam is the BarState the window keeps.
INT_PTR CALLBACK ButtonBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the bar modally, without owner, until it closes; -1 when it could not be created.
INT_PTR RunButtonBar();
