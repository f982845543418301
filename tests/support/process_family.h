// The two processes fixture_family leaves running: itself and the program it started. They are opened
// from the line of process ids the fixture writes, and ended when the test ends, should it not end them.
#pragma once

#include <windows.h>

#include <string>

struct ProcessFamily {
    HANDLE child = nullptr;       // fixture_family itself
    HANDLE grandchild = nullptr;  // the program it started

    ProcessFamily() = default;
    ~ProcessFamily();
    ProcessFamily(const ProcessFamily&) = delete;
    ProcessFamily& operator=(const ProcessFamily&) = delete;

    // Waits for the whole line of ids in pidFile and opens both processes; true when both are open.
    bool Open(const std::string& pidFile, DWORD timeoutMs = 20000);
    bool Running() const;
    bool Ended(DWORD milliseconds) const;
};

// Starts the command line `line`; returns its process, and in `second` (when given) a handle of its own
// to the same process, to hand to the code under test. Null when it could not be started.
HANDLE StartProgram(std::string line, HANDLE* second = nullptr);
