// The button bar's place on the screen, kept in the settings file and per recent main file.
#pragma once

#include <windows.h>

// The bar's outer rectangle into "X", "Y", "Width", "Height" and the main file's "Pos" entry.
void SaveWindowPlace(HWND window);
// The bar's place at opening: "X", "Y", "Width", "Height", or the main file's own position when
// "Save File Pos" is on; applied only when width and height are both non-zero.
void RestoreWindowPlace(HWND window);
