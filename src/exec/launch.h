// Running the command of an "Execute command" button.
#pragma once

#include <windows.h>

#include <cstddef>

// The room of a log file name: a path with a pair of quotes and its NUL.
constexpr std::size_t kLogFileNameSize = 263;

// The runs that watch threads follow; shared with the close question and the exit status.
struct RunState {
    volatile LONG childCount = 0;  // children that watch threads are waiting for
};

extern RunState g_runs;

// What is needed to follow one child after its start; a watch thread works on a copy of its own.
struct ChildWatch {
    HANDLE process = nullptr;
    HANDLE job = nullptr;  // the watched run's job with everything it started; null without one
    signed char log = 0;  // LogMode
    char logFile[kLogFileNameSize] = "";
};

// Expands, composes and starts button `index`'s command, then waits for it, hands it to a watch thread
// or lets it go. Window thread only.
void RunButtonCommand(int index);
