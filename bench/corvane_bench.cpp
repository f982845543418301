// Measures what the log wrapper costs: start-up of a trivial command, and throughput of a large output.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/test_files.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs line to its end with stdout and stderr on NUL; the seconds it took, or a negative value on failure.
double TimeRun(const std::string& line) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    std::string writable = line;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const BOOL started = CreateProcessA(nullptr, &writable[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                       nullptr, &startup, &process);
    CloseHandle(nul);
    if (!started) {
        std::fprintf(stderr, "cannot start: %s (error %lu)\n", line.c_str(), GetLastError());
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (exitCode != 0) {
        std::fprintf(stderr, "exit code %lu: %s\n", exitCode, line.c_str());
        return -1;
    }
    return Seconds(start, end);
}

// Total seconds of runs starts of line, or a negative value when one failed.
double TimeRuns(const std::string& line, int runs) {
    double total = 0;
    for (int i = 0; i < runs; ++i) {
        const double seconds = TimeRun(line);
        if (seconds < 0) return -1;
        total += seconds;
    }
    return total;
}

bool WriteTextFile(const std::string& path, unsigned long long size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Lines of a typical TeX log length.
    std::string block;
    while (block.size() < 65536 - 80) {
        block += "Overfull \\hbox (1.2345pt too wide) in paragraph at lines 12--34 []|\r\n";
    }
    bool ok = true;
    for (unsigned long long done = 0; ok && done < size;) {
        const unsigned long long rest = size - done;
        const DWORD chunk = rest < block.size() ? static_cast<DWORD>(rest) : static_cast<DWORD>(block.size());
        DWORD written = 0;
        ok = WriteFile(file, block.data(), chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    CloseHandle(file);
    return ok;
}

unsigned long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// One throughput comparison: the same output written directly and through the wrapper.
void PrintThroughput(const char* title, int runs, unsigned long long bytes, double direct, double wrapped) {
    const double megabytes = static_cast<double>(bytes) / (1 << 20) * runs;
    std::printf("throughput, %d runs of 50 MB %s:\n", runs, title);
    std::printf("  direct, > NUL                    %8.2f s per run, %8.1f MB/s\n", direct / runs, megabytes / direct);
    std::printf("  through corvane, log + NUL       %8.2f s per run, %8.1f MB/s\n", wrapped / runs,
                megabytes / wrapped);
    std::printf("  ratio                            %8.2f\n", wrapped / direct);
}
}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    // Wine's own "type" moves about 1 MB/s, so one 50 MB run already takes a minute there.
    const int bigRuns = argc > 2 ? std::atoi(argv[2]) : 1;
    if (runs < 1 || bigRuns < 1) {
        std::fprintf(stderr, "usage: corvane_bench [RUNS [RUNS-OF-50-MB]]\n");
        return 2;
    }
    const std::string corvane = ShortPath(ExeFolder() + "corvane.exe");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "corvane_bench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string work = ShortPath(folder) + "\\";
    const std::string log = work + "log1.txt";
    const std::string data = work + "data.txt";
    int status = 0;

    const std::string trivial = "cmd /c exit 0";
    const double direct = TimeRuns(trivial, runs);
    const double wrapped = TimeRuns(corvane + " " + log + " " + trivial, runs);
    if (direct < 0 || wrapped < 0) {
        status = 1;
    } else {
        std::printf("start-up, %d runs of \"%s\":\n", runs, trivial.c_str());
        std::printf("  direct           %8.1f ms per run\n", 1000 * direct / runs);
        std::printf("  through corvane  %8.1f ms per run\n", 1000 * wrapped / runs);
        std::printf("  ratio            %8.2f\n", wrapped / direct);
    }

    const unsigned long long size = 50ull << 20;
    if (!WriteTextFile(data, size)) {
        std::fprintf(stderr, "cannot write %s\n", data.c_str());
        status = 1;
    } else {
        const double typed = TimeRuns("cmd /c type " + data + " > NUL", bigRuns);
        const double logged = TimeRuns(corvane + " " + log + " cmd /c type " + data, bigRuns);
        const unsigned long long loggedSize = FileSize(log);
        if (typed < 0 || logged < 0 || loggedSize < size) {
            std::fprintf(stderr, "throughput run failed (log holds %llu bytes)\n", loggedSize);
            status = 1;
        } else {
            PrintThroughput("through \"cmd /c type\"", bigRuns, size, typed, logged);
        }
    }

    // The same 50 MB from a program that writes in large blocks shows the wrapper's own ceiling.
    const std::string writer = "\"" + ExeFolder() + "fixture_child.exe\" --out " + std::to_string(size);
    const double plain = TimeRuns(writer, bigRuns);
    const double through = TimeRuns(corvane + " " + log + " " + writer, bigRuns);
    if (plain < 0 || through < 0 || FileSize(log) < size) {
        std::fprintf(stderr, "block-writer run failed\n");
        status = 1;
    } else {
        PrintThroughput("from fixture_child in 64 KB blocks", bigRuns, size, plain, through);
    }

    DeleteFileA(log.c_str());
    DeleteFileA(data.c_str());
    RemoveDirectoryA(folder.c_str());
    return status;
}
