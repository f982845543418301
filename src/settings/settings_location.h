// Where the default settings file lives: the Windows folder when it can be written there, else a folder
// of the user's own.
#pragma once

#include "settings/settings_records.h"

// For the default name (a bare file name that the profile functions look for in the Windows folder):
// keeps it when that file can be written, else puts the path of "Brisolt\<name>" in the user's application
// data into `file`, making the folder and, the first time, seeding the file from the Windows folder's so
// that nothing is lost. Left as it is when no user folder can be had.
void SettleDefaultSettingsFile(char (&file)[kPathSize]);
