// What the log wrapper costs: start-up of a trivial command, and throughput of a large output, each
// against the same command run directly.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "support/test_files.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Where a timed run's stdout and stderr go.
enum class Output { kNul, kFile, kPipe };

// Runs line to its end with stdin on NUL and stdout and stderr on NUL, on the file `file` (made anew) or
// into one pipe that is read and dropped, as the log wrapper's pipe is read; the seconds it took, or a
// negative value on failure.
double TimeRun(const std::string& line, Output output = Output::kNul, const std::string& file = "") {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    HANDLE out = nul, readEnd = nullptr;
    if (output == Output::kFile) {
        out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (output == Output::kPipe) {
        if (!CreatePipe(&readEnd, &out, &inherit, 1 << 20)) out = INVALID_HANDLE_VALUE;
        if (readEnd) SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    std::string writable = line;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const BOOL started = out != INVALID_HANDLE_VALUE &&
                         CreateProcessA(nullptr, &writable[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(nul);
    if (out != nul && out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (started && readEnd) {
        static char chunk[65536];
        DWORD got = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr)) {
        }
    }
    if (readEnd) CloseHandle(readEnd);
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

// Runs direct (its output redirected to directOutput, or to NUL) and wrapped in turn, `runs` times each,
// into row as medians; `check` after each wrapped run says whether it did all its work.
template <typename Check>
void Interleave(const std::string& direct, const std::string& wrapped, int runs, double scale, BenchRow& row,
                Check check, const std::string& directOutput = "") {
    std::vector<double> plain, through;
    for (int i = 0; i < runs; ++i) {
        const double a = TimeRun(direct, directOutput.empty() ? Output::kNul : Output::kFile, directOutput);
        const double b = TimeRun(wrapped);
        if (a < 0 || b < 0 || !check()) {
            row.failure = "a run failed";
            return;
        }
        plain.push_back(a * scale);
        through.push_back(b * scale);
    }
    row.ours = Median(through);
    row.baseline = Median(plain);
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

}  // namespace

void AddCorvaneRows(int runs, int bigRuns, std::vector<BenchRow>& rows) {
    const std::string corvane = ShortPath(ExeFolder() + "corvane.exe");
    const std::string work = ShortPath(BenchFolder());
    const std::string log = work + "log1.txt";
    // The direct runs of the throughput rows write to a file too, as a user's own redirect would.
    const std::string redirect = work + "direct.txt";
    const std::string data = work + "data.txt";

    // What the wrapper adds to a trivial command, against what one empty process start costs: the
    // wrapper is one more process, so 1.0 is the floor.
    BenchRow startup{"corvane's added time on \"cmd /c exit 0\" / one empty start"};
    const std::string trivial = "cmd /c exit 0";
    const std::string empty = "\"" + ExeFolder() + "fixture_child.exe\"";
    startup.target = 1.1;
    std::vector<double> added, starts;
    for (int i = 0; i < runs && startup.failure.empty(); ++i) {
        const double direct = TimeRun(trivial);
        const double wrapped = TimeRun(corvane + " " + log + " " + trivial);
        const double bare = TimeRun(empty);
        if (direct < 0 || wrapped < 0 || bare < 0) startup.failure = "a run failed";
        added.push_back((wrapped - direct) * 1000);
        starts.push_back(bare * 1000);
    }
    startup.ours = Median(added);
    startup.baseline = Median(starts);
    rows.push_back(startup);
    if (bigRuns == 0) return;

    const unsigned long long size = 50ull << 20;
    BenchRow typed{"corvane throughput, 50 MB through \"cmd /c type\""};
    // The same 50 MB from a program of our own, without cmd in between, shows the wrapper's own ceiling.
    BenchRow blocks{"corvane throughput, 50 MB in 4 KB writes"};
    typed.unit = blocks.unit = "s";
    // A throughput of at least 0.8 times the direct redirect is a time of at most 1.25 times.
    typed.target = blocks.target = 1.25;
    const auto logWhole = [&] { return FileSize(log) >= size; };
    if (!WriteTextFile(data, size)) {
        typed.failure = "cannot write " + data;
    } else {
        Interleave("cmd /c type " + data, corvane + " " + log + " cmd /c type " + data, bigRuns, 1, typed, logWhole,
                   redirect);
    }
    const std::string writer = "\"" + ExeFolder() + "fixture_child.exe\" --out " + std::to_string(size);
    Interleave(writer, corvane + " " + log + " " + writer, bigRuns, 1, blocks, logWhole, redirect);
    // The floor under the wrapper: the same writer into a pipe that the benchmark only reads and drops.
    BenchRow piped{"  the same writer into a bare pipe / direct to a file"};
    piped.unit = "s";
    std::vector<double> pipe, file;
    for (int i = 0; i < bigRuns && piped.failure.empty(); ++i) {
        const double direct = TimeRun(writer, Output::kFile, redirect);
        const double bare = TimeRun(writer, Output::kPipe);
        if (direct < 0 || bare < 0) piped.failure = "a run failed";
        file.push_back(direct);
        pipe.push_back(bare);
    }
    piped.ours = Median(pipe);
    piped.baseline = Median(file);
    rows.push_back(typed);
    rows.push_back(blocks);
    rows.push_back(piped);
    DeleteFileA(log.c_str());
    DeleteFileA(redirect.c_str());
    DeleteFileA(data.c_str());
}
