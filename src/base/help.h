// Calls into the HTML Help system, and the table that maps dialog controls to help topics.
#pragma once

#include <windows.h>

// (control id, help context id) pairs ending with (0, 0).
extern const DWORD helpIdMap[];

// HtmlHelpA from hhctrl.ocx in the system folder, loaded on the first call; quietly nothing when the
// library is missing.
HWND CallHtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data);

// Where help calls go: HtmlHelpA by default. A test may put its own caller in its place to see which
// help each dialog asks for; null restores HtmlHelpA.
using HelpCaller = HWND (*)(HWND caller, const char* file, UINT command, DWORD_PTR data);
void SetHelpCaller(HelpCaller caller);

// WM_HELP in a dialog: help on the control that was clicked.
void HelpOnControl(const HELPINFO* helpInfo);
// WM_CONTEXTMENU in a dialog: the "What's this?" help of the control under the mouse.
void HelpContextMenu(HWND window);
// The help every dialog gives alike: F1 on a control, the right-click "What's this?" and its Help
// button, which opens `topic`. True when the message was one of these and has been handled.
bool HandleDialogHelp(UINT message, WPARAM wParam, LPARAM lParam, DWORD topic);
// The help topic `topic` of the help file, without owner.
void ShowHelpTopic(DWORD topic);
// The help file at its default topic.
void ShowHelpIndex();
