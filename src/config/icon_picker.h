// The Select icon dialog: choosing a button's icon file and icon number.
#pragma once

#include <windows.h>

// Runs the dialog modally over `owner` (the configuration dialog) for ButtonDef `index`. After OK (true) the
// record's iconFile and iconNumber are written and its icons reloaded; after Cancel (false) it is unchanged.
// `iconButton`, the owner's Icon button, is given the new face after OK.
bool RunIconPicker(HWND owner, int index, HWND iconButton);
