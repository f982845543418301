// Where the default settings file lives: beside the program, in a folder of the user's own, or in the
// Windows folder.
#pragma once

#include "settings/settings_records.h"

// The folders the default settings file may live in, without a trailing backslash.
struct SettingsFolders {
    wchar_t program[kPathSize] = L"";  // the folder of Brisolt.exe
    wchar_t user[kPathSize] = L"";     // the user's application data; the file goes into its folder "Brisolt"
    wchar_t windows[kPathSize] = L"";  // the Windows folder, where the profile functions look for a bare name
};

// The folders of the running program and user; a folder the system does not name is left empty.
SettingsFolders SystemSettingsFolders();

// For the default name in `file` (a bare name, which the profile functions look for in the Windows
// folder): keeps it when the Windows folder's file is the one to use, else puts the path of the file
// beside the program or of "Brisolt\<name>" in the user's folder into `file`, as ChooseSettingsPlace
// says. The user's file is made from its seed the first time, without the seed's read-only mark; when
// that fails, this run reads the seed itself and the next start tries again. Names are written as the
// code page can (their short form where it cannot), and a user folder that no such name reaches is
// told to the user and left out.
void SettleDefaultSettingsFile(char (&file)[kPathSize], const SettingsFolders& folders);
