// A child program for the launch tests: sleeps, prints, records its command line, exits with a given code.
// fixture_sleeper MS CODE [TEXT [BYTES]]   sleep MS, print TEXT, print BYTES more bytes, exit CODE
// fixture_sleeper --cmdline FILE ...       write the raw command line into FILE, exit 0
// fixture_sleeper --open FILE OUT          write "opened FILE" or "not opened FILE" and a line end into OUT
// fixture_sleeper --breakaway FILE         start a program outside its job; write whether that worked into FILE
// fixture_sleeper --where FILE             write its own path and whether the search variable is set into FILE
// fixture_sleeper --print CODE LINE...      print each LINE with a line end, exit CODE
// fixture_sleeper --step FILE NAME MS CODE  sleep MS, add the line NAME to FILE, exit CODE
// fixture_sleeper DOCUMENT.brisoltdoc ...  a document's associated program: writes its command line
//                                          into DOCUMENT.brisoltdoc.seen
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void WriteAll(HANDLE target, const char* data, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > 65536 ? 65536 : static_cast<DWORD>(size);
        if (!WriteFile(target, data, chunk, &written, nullptr) || written == 0) return;
        data += written;
        size -= written;
    }
}

int WriteCommandLine(const std::string& file) {
    HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 91;
    const char* line = GetCommandLineA();
    WriteAll(out, line, std::strlen(line));
    CloseHandle(out);
    return 0;
}

int ReportOpen(const char* file, const char* report) {
    HANDLE opened = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::string text = std::string(opened != INVALID_HANDLE_VALUE ? "opened " : "not opened ") + file + "\r\n";
    if (opened != INVALID_HANDLE_VALUE) CloseHandle(opened);
    HANDLE out = CreateFileA(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 91;
    WriteAll(out, text.data(), text.size());
    CloseHandle(out);
    return 0;
}

int WriteText(const char* file, const std::string& text) {
    HANDLE out = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 91;
    WriteAll(out, text.data(), text.size());
    CloseHandle(out);
    return 0;
}

int StartOutsideJob(const char* report) {
    char line[] = "cmd.exe /c exit 0";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    const BOOL ok = CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_BREAKAWAY_FROM_JOB, nullptr,
                                   nullptr, &startup, &started);
    if (ok) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return WriteText(report, ok ? "started outside the job\r\n" : "refused\r\n");
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--cmdline") == 0) return WriteCommandLine(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "--open") == 0) return ReportOpen(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "--breakaway") == 0) return StartOutsideJob(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "--where") == 0) {
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        const bool set = GetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", nullptr, 0) != 0;
        return WriteText(argv[2], std::string(self) + (set ? ", variable set\r\n" : ", variable not set\r\n"));
    }
    if (argc >= 3 && std::strcmp(argv[1], "--print") == 0) {
        for (int i = 3; i < argc; ++i) {
            WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), argv[i], std::strlen(argv[i]));
            WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), "\r\n", 2);
        }
        return static_cast<int>(std::strtol(argv[2], nullptr, 10));
    }
    if (argc >= 6 && std::strcmp(argv[1], "--step") == 0) {
        Sleep(static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)));
        HANDLE out = CreateFileA(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) return 91;
        const std::string line = std::string(argv[3]) + "\r\n";
        WriteAll(out, line.data(), line.size());
        CloseHandle(out);
        return static_cast<int>(std::strtol(argv[5], nullptr, 10));
    }
    if (argc >= 2 && EndsWith(argv[1], ".brisoltdoc")) return WriteCommandLine(std::string(argv[1]) + ".seen");
    if (argc < 3) return 92;
    Sleep(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (argc >= 4) {
        WriteAll(out, argv[3], std::strlen(argv[3]));
        WriteAll(out, "\r\n", 2);
    }
    if (argc >= 5) {
        std::string block(4096, 'x');
        block.replace(block.size() - 2, 2, "\r\n");
        for (unsigned long long left = std::strtoull(argv[4], nullptr, 10); left > 0;) {
            const std::size_t now = left < block.size() ? static_cast<std::size_t>(left) : block.size();
            WriteAll(out, block.data(), now);
            left -= now;
        }
    }
    return static_cast<int>(std::strtol(argv[2], nullptr, 10));
}
