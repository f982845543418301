// The selection dialog.
#include "settings/selection_dialog.h"

void RunSelectionDialog(bool) {
    // The dialog itself is not part of this build yet; opening it does nothing.
}
