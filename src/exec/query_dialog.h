// The query dialog: asks the user for the value of a "?" placeholder.
#pragma once

#include <windows.h>

#include <string>

struct QueryDialogData {
    std::string name;   // shown read-only
    std::string value;  // in: the value offered; out: the value confirmed with OK
};

// Runs the dialog modally over owner; true on OK. A dialog that cannot be shown counts as cancelled.
bool RunQueryDialog(HWND owner, QueryDialogData& data);
