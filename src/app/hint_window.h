// The hint window: a plain popup that shows a button's tip or its type's description below the point
// of a right click, and hides at the next click or key.
#pragma once

#include <windows.h>

// The hint window shows its own window text.
LRESULT CALLBACK HintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Shows text in `hint` (made at the first hint, owned by the bar) below `at`.
void ShowHint(HWND& hint, POINT at, const char* text);
