// The configuration dialog: editing the grid and the buttons.
#pragma once

#include <windows.h>

// Runs the dialog modally over owner, opened on button startButton - 1 (0: the first button), on a draft of
// the options and the buttons. True after OK, which has stored the draft, loaded again the icons of the
// buttons whose icons changed and written the settings file; false after Cancel, which changed nothing.
bool RunConfigurationDialog(HWND owner, int startButton);
