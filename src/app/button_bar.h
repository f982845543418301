// The button bar window: the program's main window, a modal dialog from template 100.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ButtonBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
