// The hint window and the bar buttons' window procedure (the context menu).
#pragma once

#include <windows.h>

#include "app/bar_state.h"

// The hint window shows its own window text.
LRESULT CALLBACK HintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Procedure of the process-local "Button" class; hands what it does not take to the system's.
LRESULT CALLBACK BarButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
// Shows text in the bar's hint window (made at the first hint) below the point of the last right click.
void ShowHint(BarState& bar, const char* text);
