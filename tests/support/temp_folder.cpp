// A folder of the test's own under the temporary path.
#include "support/temp_folder.h"

#include <windows.h>

#include "support/test_files.h"

TempFolder::TempFolder(const std::string& stem) {
    char temp[MAX_PATH] = "";
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string base = std::string(temp) + stem + "_" + std::to_string(GetCurrentProcessId()) + "_";
    const unsigned first = GetTickCount() % 100000;
    for (unsigned n = first; n < first + 1000; ++n) {
        const std::string folder = base + std::to_string(n);
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            path_ = LongPath(folder);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty()) RemoveTree(path_ + "\\");
}
