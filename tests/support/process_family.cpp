#include "support/process_family.h"

#include <cstdio>

#include "support/test_files.h"
#include "support/wait.h"

ProcessFamily::~ProcessFamily() {
    for (HANDLE process : {child, grandchild}) {
        if (process == nullptr) continue;
        TerminateProcess(process, 99);  // nothing when the test ended it already
        CloseHandle(process);
    }
}

bool ProcessFamily::Open(const std::string& pidFile, DWORD timeoutMs) {
    unsigned long childId = 0;
    unsigned long grandchildId = 0;
    const bool written = WaitFor(
        [&] {
            const std::string text = ReadWhole(pidFile);
            return text.find("\r\n") != std::string::npos &&
                   std::sscanf(text.c_str(), "%lu %lu", &childId, &grandchildId) == 2;
        },
        timeoutMs);
    if (!written) return false;
    child = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, childId);
    grandchild = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, grandchildId);
    return child != nullptr && grandchild != nullptr;
}

bool ProcessFamily::Running() const {
    return WaitForSingleObject(child, 0) == WAIT_TIMEOUT && WaitForSingleObject(grandchild, 0) == WAIT_TIMEOUT;
}

bool ProcessFamily::Ended(DWORD milliseconds) const {
    return WaitForSingleObject(child, milliseconds) == WAIT_OBJECT_0 &&
           WaitForSingleObject(grandchild, milliseconds) == WAIT_OBJECT_0;
}

HANDLE StartProgram(std::string line, HANDLE* second) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return nullptr;
    CloseHandle(started.hThread);
    if (second) {
        DuplicateHandle(GetCurrentProcess(), started.hProcess, GetCurrentProcess(), second, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
    }
    return started.hProcess;
}
