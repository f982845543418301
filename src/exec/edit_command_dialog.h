// The dialog that shows the program a run will start and lets the user edit its parameters.
#pragma once

#include <windows.h>

#include <cstddef>

struct EditCommandData {
    const char* command;      // shown, not changeable
    char* options;            // shown and replaced on OK
    std::size_t optionsRoom;  // bytes in options, NUL included
};

// True on OK (options hold the edited text), false on Cancel.
bool RunEditCommandDialog(HWND owner, EditCommandData& data);
