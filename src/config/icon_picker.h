// The Select icon dialog: choosing a button's icon file and icon number.
#pragma once

#include <windows.h>

#include "settings/settings_records.h"

// Runs the dialog modally over `owner` (the configuration dialog) for `def`, the dialog's draft of a
// button. After OK (true) def's icon file and number are the ones chosen; after Cancel (false) def is
// unchanged.
bool RunIconPicker(HWND owner, ButtonDef& def);

// Rewrites a typed file name as the full path of the file it names, found in the system's search order
// for programs; a name that finds no file is kept without its leading blanks.
void ResolveFileName(char (&name)[kPathSize]);
