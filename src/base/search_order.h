// Where the program and the log wrapper look for the libraries and programs they load and start by name:
// never in the current folder, which may be a downloaded paper's folder holding files of the same names.
#pragma once

#include <windows.h>

// Call first thing in the entry point. SetDefaultDllDirectories is looked up at run time because older
// systems lack it; there, taking the current folder out of the search is the most the system offers.
void RestrictDllSearch();

// Call first thing in the entry point: a program named without a folder ("bibtex") is looked for in the
// program's own folder, the system folders and the path, never in the current folder. The system does so
// while "NoDefaultCurrentDirectoryInExePath" is set; it is set here unless the user has set it already.
void KeepCurrentFolderOutOfProgramSearch();

// The environment a started program gets: the process's own, without the variable set above, so that
// the user's own scripts search as they always did. Owns its block.
class ChildEnvironment {
public:
    ChildEnvironment();
    ~ChildEnvironment();
    ChildEnvironment(const ChildEnvironment&) = delete;
    ChildEnvironment& operator=(const ChildEnvironment&) = delete;

    // What CreateProcess takes: null (the child inherits the environment as it is) when nothing needs
    // leaving out or no copy could be made.
    void* block() const { return block_; }
    // The creation flag the block needs.
    DWORD flags() const { return block_ != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0; }

private:
    wchar_t* block_ = nullptr;
};
