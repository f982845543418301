// Drives the configuration dialog and the Select icon dialog from the test's thread while the real bar
// runs them on its own: opening, pressing, stepping spins and reading back what a user sees.
#pragma once

#include <windows.h>

#include <string>

constexpr char kConfigTitle[] = "Brisolt Configuration";
constexpr char kPickerTitle[] = "Select icon";

// The configuration dialog opened from the bar's system menu, or null.
HWND OpenFromSystemMenu(HWND bar);
// Waits for a visible dialog of this process with this title.
HWND WaitForDialog(const char* title, HWND except = nullptr);
// Posts a click of button `id` as the button itself reports it.
void Press(HWND dialog, int id);
// The same, waiting until the dialog has handled it: only for a press that opens nothing modal.
void PressNow(HWND dialog, int id);
// Presses `id` and waits until the dialog is gone and its owner has done what follows; false when it stays.
bool PressAndWaitGone(HWND dialog, int id);
// One press of an arrow key in a number field: its spin steps once, as the user's arrow key does.
void StepSpin(HWND dialog, int editId, bool up);
// Selects entry `index` of a drop-down list and reports the change as the list does.
void ChooseEntry(HWND dialog, int listId, int index);
// Types text into a field: the field reports its change as on a key press.
void TypeText(HWND dialog, int id, const std::string& text);
std::string ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
int Selection(HWND dialog, int listId);
// Cancels whatever dialog a failed test left open, the Select icon dialog first.
void CancelOpenDialogs();
// Whether an icon handle still names an icon.
bool IconAlive(HICON icon);
