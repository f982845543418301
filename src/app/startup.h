// Start-up: the command line, the settings file, window classes and the button bar's run.
#pragma once

#include <windows.h>

// The whole life of the program; returns its exit status (or ends the process itself).
int RunBrisolt(HINSTANCE instance, const char* commandLine);

// Fills helpFile and logWrapperPath from the program's own path.
void InitModulePaths();
// Registers "Brisolt_hint" and the process-local "Button" class; false when either fails.
bool RegisterWindowClasses();
// Applies the scanned arguments: settings file by option, environment, default; main file in long form.
void SettleStartupPaths(char* commandLine);
