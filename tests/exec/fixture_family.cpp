// A child program for the stop tests: starts a grandchild of its own and waits for ever.
// fixture_family FILE        starts "fixture_family --grandchild", writes "CHILDPID GRANDCHILDPID\r\n" into FILE,
//                            prints "waiting" without a line end, then waits for ever
// fixture_family --grandchild  waits for ever
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--grandchild") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    if (argc < 2) return 92;
    char self[MAX_PATH];
    if (GetModuleFileNameA(nullptr, self, sizeof self) >= sizeof self) return 93;
    char line[MAX_PATH + 32];
    std::snprintf(line, sizeof line, "\"%s\" --grandchild", self);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION grandchild = {};
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &grandchild)) return 94;
    char pids[64];
    const int length = std::snprintf(pids, sizeof pids, "%lu %lu\r\n", GetCurrentProcessId(), grandchild.dwProcessId);
    HANDLE file = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 95;
    DWORD written = 0;
    WriteFile(file, pids, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "waiting", 7, &written, nullptr);
    Sleep(INFINITE);
    return 0;
}
