// The program's life: the command line, the settings file, window classes, the button bar's run and what
// is saved when it has closed.
#pragma once

#include <windows.h>

// The whole life of the program; returns its exit status (or ends the process itself).
int RunBrisolt(HINSTANCE instance, const char* commandLine);

// After the button bar has closed: the shell told of the last main file, "Last file", "LastDir", and the
// logs deleted.
void SaveOnExit();
// Fills helpFile and logWrapperPath from the program's own path.
void InitModulePaths();
// Registers "Brisolt_hint" and the process-local "Button" class; false when either fails.
bool RegisterWindowClasses();
enum class SettleResult {
    kSettled,
    kNameTooLong,  // the settings file named by /i or the environment is longer than a path may be
    kNameRefused,  // no ANSI name reaches the settings file named by /i or the environment; the user was told
};

// Applies the scanned arguments: settings file by option, environment, default; main file in long form.
// `wideArguments`, the same arguments in wide text when known, gives names whose letters the code page
// lacks, or that need more room than a path field has, in their short form. A settings file that
// cannot be named whole is never used: a cut name would be another file.
SettleResult SettleStartupPaths(char* commandLine, wchar_t* wideArguments = nullptr);
