// A child for the fault tests: one that crashes, and one that waits to be killed.
// fixture_victim crash          prints a line, then writes through a null pointer
// fixture_victim wait FILE      writes its process id into FILE, prints a line and waits a minute
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// No debugger and no crash dialog: the process ends with the exception's code, as it does unattended.
LONG WINAPI EndWithTheExceptionCode(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(EndWithTheExceptionCode);
    if (argc == 2 && std::strcmp(argv[1], "crash") == 0) {
        std::printf("before the crash\n");
        std::fflush(stdout);
        // The top of the address space, never mapped for a program (page zero may be, under Wine).
        int* volatile target = reinterpret_cast<int*>(~static_cast<std::uintptr_t>(0xFFFF));
        *target = 1;
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "wait") == 0) {
        std::printf("waiting to be killed\n");
        std::fflush(stdout);
        if (FILE* file = std::fopen(argv[2], "w")) {
            std::fprintf(file, "%lu\n", GetCurrentProcessId());
            std::fclose(file);
        }
        Sleep(60000);
        return 0;
    }
    return 2;
}
