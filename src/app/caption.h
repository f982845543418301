// The button bar's caption: the main file and the program's name, or the user's "Caption" pattern.
#pragma once

#include <windows.h>

// Sets the caption of `bar` from the main file (and the pattern, when there is one).
void UpdateCaption(HWND bar);
// A new main file: recent files, the shell's recent documents, then the caption of `bar`.
void AnnounceMainFile(HWND bar);
