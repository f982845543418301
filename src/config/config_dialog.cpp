// The configuration dialog.
#include "config/config_dialog.h"

void RunConfigurationDialog() {
    // The dialog itself is not part of this build yet; opening it does nothing.
}
