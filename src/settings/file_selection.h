// Picking files and folders through the system's standard dialogs.
#pragma once

#include <windows.h>

#include "settings/settings_records.h"

// The open-file dialog for a main file (forPrograms 0) or a program (forPrograms not 0), with the user's
// "Filter1", "Filter2", ... pairs before the default ones. `buffer` holds the initial name and, when a
// file was chosen, its path. Non-zero when a file was chosen.
int ChooseFile(HWND owner, char (&buffer)[kPathSize], int forPrograms);
// The shell's folder browser titled "Select Default Folder". `path` receives the chosen folder; after a
// cancel (or an item that is no folder on disk) it keeps what it held. Non-zero when `path` is not empty.
int BrowseForFolder(HWND owner, char (&path)[kPathSize]);
// The plain open-file dialog with the caller's filter list and title string; the file must exist.
// Non-zero when a file was chosen (its path then in `buffer`).
int ChooseFileWithFilter(HWND owner, int titleId, char (&buffer)[kPathSize], const char* filter,
                         const char* defaultExtension);
