// The Select icon dialog: choosing a button's icon file and icon number.
#pragma once

#include <windows.h>

#include "settings/settings_records.h"

// Runs the dialog modally over `owner` (the configuration dialog) for ButtonDef `index`. After OK (true) the
// record's iconFile and iconNumber are written and its icons reloaded; after Cancel (false) it is unchanged.
// `iconButton`, the owner's Icon button, is given the new face after OK.
bool RunIconPicker(HWND owner, int index, HWND iconButton);

// Rewrites a typed file name as the full path of the file it names, found in the system's search order
// for programs; a name that finds no file is kept without its leading blanks.
void ResolveFileName(char (&name)[kPathSize]);
