// The selection dialog: choosing the main file or the default folder from the recent entries.
#pragma once

#include <windows.h>

enum class SelectionMode { kMainFile, kFolder };

// Runs the dialog modally over owner. True after OK, which has changed the main file (recent files and
// the shell's recent documents updated; the caption is the caller's) or the default folder.
bool RunSelectionDialog(HWND owner, SelectionMode mode);
