// What a window shows: its text, a message box's message, a caption read without disturbing its owner.
#pragma once

#include <windows.h>

#include <string>

// The window's text as the window itself gives it (WM_GETTEXT): an edit's contents, a dialog's caption.
std::string WindowText(HWND window);
// The text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND box);
// The same in wide characters, letters the code page lacks included.
std::wstring WideMessageBoxText(HWND box);
// The caption as the system keeps it, read without sending the window a message: a window whose thread
// is busy, or blocked in a run, cannot hold the reader up.
std::string WindowTitle(HWND window);
// The name of the window's class ("#32770" for dialogs and message boxes).
std::string ClassOf(HWND window);
