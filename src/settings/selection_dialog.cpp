// The selection dialog.
#include "settings/selection_dialog.h"

bool RunSelectionDialog(HWND, SelectionMode) {
    // The dialog itself is not part of this build yet; opening it does nothing.
    return false;
}
