// The configuration dialog.
#include "config/config_dialog.h"

bool RunConfigurationDialog(HWND, int) {
    // The dialog itself is not part of this build yet; opening it does nothing.
    return false;
}
