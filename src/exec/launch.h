// Running the command of an "Execute command" button.
#pragma once

#include <windows.h>

// What is needed to follow one child after its start; a watch thread works on a copy of its own.
struct ChildWatch {
    HANDLE process = nullptr;
    signed char log = 0;  // LogMode
    char logFile[263] = "";
};

// Expands, composes and starts button `index`'s command, then waits for it, hands it to a watch thread
// or lets it go. Window thread only.
void RunButtonCommand(int index);
