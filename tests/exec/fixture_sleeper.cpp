// A child program for the launch tests: sleeps, prints, records its command line, exits with a given code.
// fixture_sleeper MS CODE [TEXT [BYTES]]   sleep MS, print TEXT, print BYTES more bytes, exit CODE
// fixture_sleeper --cmdline FILE ...       write the raw command line into FILE, exit 0
// fixture_sleeper --open FILE OUT          write "opened FILE" or "not opened FILE" and a line end into OUT
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

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--cmdline") == 0) return WriteCommandLine(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "--open") == 0) return ReportOpen(argv[2], argv[3]);
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
