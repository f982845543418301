// The selection dialog: choosing the main file or the default folder from the recent entries.
#pragma once

// Runs the dialog modally over the button bar, in folder mode or main-file mode.
void RunSelectionDialog(bool folderMode);
