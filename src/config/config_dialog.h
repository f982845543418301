// The configuration dialog: editing the grid and the buttons.
#pragma once

#include <windows.h>

// Runs the dialog modally over owner, opened on button startButton - 1 (0: the first button). True after
// OK, which has written the settings file; false after Cancel, which has read it again with the icons.
bool RunConfigurationDialog(HWND owner, int startButton);
