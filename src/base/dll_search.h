// Where the program and the log wrapper look for a library loaded by name: the system folder, never the
// current folder, which a file dialog may have moved to a document's folder.
#pragma once

#include <windows.h>

// Call first thing in the entry point. SetDefaultDllDirectories is looked up at run time because older
// systems lack it; there, taking the current folder out of the search is the most the system offers.
inline void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto setDefault =
        kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                     reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
               : nullptr;
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryA("");
}
