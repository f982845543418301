// The configuration dialog: editing the grid and the buttons.
#pragma once

// Runs the dialog modally over the button bar, opened on button g_app.startButton - 1 (0: the first).
void RunConfigurationDialog();
