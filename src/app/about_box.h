// The About box: the program's icon, name and the product version of the running file.
#pragma once

#include <windows.h>

// Runs the About box modally over owner.
void RunAboutDialog(HWND owner);
// Puts the "ProductVersion" of the running file into control 100 of dialog.
void ShowProductVersion(HWND dialog);
