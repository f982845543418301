// A child program for the log wrapper's tests: prints a given amount to stdout and stderr, can echo its
// raw command line, leave a process behind that holds its output, sleep, and exit with a given code.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void WriteRepeated(HANDLE target, char fill, unsigned long long count, unsigned long long& left) {
    static char block[4096];
    std::memset(block, fill, sizeof block);
    const unsigned long long now = count < left ? count : left;
    DWORD written = 0;
    for (unsigned long long done = 0; done < now; done += written) {
        const unsigned long long rest = now - done;
        const DWORD size = rest < sizeof block ? static_cast<DWORD>(rest) : static_cast<DWORD>(sizeof block);
        if (!WriteFile(target, block, size, &written, nullptr) || written == 0) std::exit(90);
    }
    left -= now;
}

void WriteText(HANDLE target, const std::string& text) {
    DWORD written = 0;
    WriteFile(target, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

unsigned long long Number(const char* text) { return std::strtoull(text, nullptr, 0); }

}  // namespace

int main(int argc, char** argv) {
    unsigned long long outBytes = 0, errBytes = 0, sleepMs = 0, holdMs = 0;
    unsigned long exitCode = 0;
    bool echo = false, hold = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue) outBytes = Number(argv[++i]);
        else if (arg == "--err" && hasValue) errBytes = Number(argv[++i]);
        else if (arg == "--sleep" && hasValue) sleepMs = Number(argv[++i]);
        else if (arg == "--exit" && hasValue) exitCode = static_cast<unsigned long>(Number(argv[++i]));
        else if (arg == "--spawn-holder" && hasValue) { hold = true; holdMs = Number(argv[++i]); }
        else if (arg == "--echo-cmdline") echo = true;
        else if (arg == "--") break;  // the rest only shows up in the raw command line
        else return 91;
    }
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);

    if (echo) WriteText(out, std::string("<<") + GetCommandLineA() + ">>");

    if (hold) {
        // The holder inherits our stdout and stderr and outlives us, like a viewer started from a script.
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string line = std::string("\"") + self + "\" --sleep " + std::to_string(holdMs);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            return 92;
        }
        WriteText(out, "holder " + std::to_string(process.dwProcessId) + "\n");
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // Alternate between the two streams so that both are in flight together.
    unsigned long long outLeft = outBytes, errLeft = errBytes;
    while (outLeft > 0 || errLeft > 0) {
        WriteRepeated(out, 'o', 65536, outLeft);
        WriteRepeated(err, 'e', 65536, errLeft);
    }
    if (sleepMs > 0) Sleep(static_cast<DWORD>(sleepMs));
    return static_cast<int>(exitCode);
}
