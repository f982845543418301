// The main file and the recent lists: pushing entries, announcing a new main file, the caption and
// the window position kept for each recent file.
#pragma once

#include <windows.h>

#include "settings/settings_records.h"

// Moves or inserts value at the front of recentFiles (with its position) or recentFolders, after
// re-reading that list from the settings file, and writes the changed list or lists back.
void PushRecent(const char* value, RecentList& list);
// After a new main file: recent files, the shell's recent documents, the bar's caption.
void MainFileChanged();
void AddToShellRecent();
// The shell's display name of path, or path itself; one shared buffer.
const char* ShellDisplayName(const char* path);

// The bar's outer rectangle into "X", "Y", "Width", "Height" and the main file's "Pos" entry.
void SaveWindowPlace(HWND window);
// The bar's place at opening: "X", "Y", "Width", "Height", or the main file's own position when
// "Save File Pos" is on; applied only when width and height are both non-zero.
void RestoreWindowPlace(HWND window);
