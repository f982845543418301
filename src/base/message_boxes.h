// The program's two error boxes.
#pragma once

// Shows string `stringId` under "Fatal Error in Brisolt"; when `fatal` is set, closes the button bar and
// ends the program with exit code 1 (does not return).
void ErrorBox(int stringId, int fatal);
// ErrorBox with `fatal` set.
[[noreturn]] void FatalErrorBox(int stringId);
// Shows the system's text for `code` under "Error in Brisolt"; the program goes on.
void SystemErrorBox(unsigned long code);
// Shows a file name that no ANSI name can reach (with its own letters) and why, under "Error in Brisolt".
void FileNameErrorBox(const wchar_t* name);
