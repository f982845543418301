// Choosing the main file and the default folder: the selection dialog with the recent entries, and the
// system's pickers behind its Browse button and the configuration dialog's. The pickers run on wide text,
// so that a file or folder whose name the code page cannot write comes back in its short form; the
// process's current folder is the same after them as before, so relative names keep their meaning.
#pragma once

#include <windows.h>

#include "settings/settings_records.h"

enum class SelectionMode { kMainFile, kFolder };

// Runs the selection dialog (template 102) over owner, showing `value` and the recent main files or
// folders as the settings file holds them now. True after OK, with the text as typed in `value`: not
// looked for on disk, possibly empty. The caller makes it the main file or the default folder.
bool RunSelectionDialog(HWND owner, SelectionMode mode, char (&value)[kPathSize]);
enum class FileKind {
    kMainFile,  // a document: "Select file", the main-file filters
    kProgram,   // a program: "Select program", the program filters, the file must exist
};

// The open-file dialog with the user's "Filter1", "Filter2", ... pairs before the default ones of `kind`.
// `buffer` holds the initial name and, when a file was chosen, its path. True when a file was chosen.
bool ChooseFile(HWND owner, char (&buffer)[kPathSize], FileKind kind);
// The shell's folder browser titled "Select Default Folder". `path` receives the chosen folder; after a
// cancel (or an item that is no folder on disk) it keeps what it held. True when `path` is not empty.
bool BrowseForFolder(HWND owner, char (&path)[kPathSize]);
// The plain open-file dialog with the caller's filter list (pairs of NUL-ended texts, then an empty
// one) and title string; the file must exist. True when a file was chosen (its path then in `buffer`).
bool ChooseFileWithFilter(HWND owner, int titleId, char (&buffer)[kPathSize], const char* filter,
                          const char* defaultExtension);
