// corvane: runs a command line, copies everything it prints into a log file and passes it through.
#include <windows.h>

#include <string_view>

#include "base/search_order.h"
#include "corvane/console_copy.h"
#include "corvane/wrapper_args.h"

namespace {

// Output shared by the thread that drains the child's pipe and the main thread that closes the log.
struct OutputSink {
    CRITICAL_SECTION lock;
    HANDLE log = INVALID_HANDLE_VALUE;
    HANDLE pipe = nullptr;          // read end of the child's stdout and stderr
    bool closed = false;            // set once the closing line is written: later output is dropped
    bool anythingWritten = false;
    char lastByte = 0;
    volatile LONG progress = 0;     // bumped after every chunk, so the main thread sees the pipe move
};

OutputSink g_sink;

// A roomy pipe lets a chatty command run ahead while the log is being written.
constexpr DWORD kPipeBufferBytes = 1 << 20;

// How long the pipe may stay silent after the command has ended before we stop waiting for EOF:
// a process the command left running may hold the pipe open for as long as it lives.
constexpr DWORD kQuietAfterExitMs = 1000;

// One read of the pipe, in a record without initialisers so that it takes no room in the program file.
struct Buffers {
    char chunk[65536];
};

Buffers g_buffers;

void WriteLog(std::string_view text) {
    if (g_sink.log == INVALID_HANDLE_VALUE || text.empty()) return;
    WriteAll(g_sink.log, text.data(), text.size());
    g_sink.anythingWritten = true;
    g_sink.lastByte = text.back();
}

// A closing line starts on a line of its own even when the output did not end with one.
void WriteLogLine(std::string_view line) {
    if (corvane::NeedsLineBreakBefore(g_sink.anythingWritten, g_sink.lastByte)) WriteLog("\r\n");
    WriteLog(line);
}

void WriteStderr(std::string_view text) {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err != nullptr && err != INVALID_HANDLE_VALUE) WriteAll(err, text.data(), text.size());
}

// Room for a system message; a longer one is left out, the error number still says what went wrong.
constexpr std::size_t kSystemTextRoom = 1024;

// Room for a start failure line, system message included.
constexpr std::size_t kFailureLineRoom = kSystemTextRoom + corvane::kLineRoom;

std::string_view SystemText(DWORD error, char (&text)[kSystemTextRoom]) {
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                        0, text, kSystemTextRoom, nullptr);
    return std::string_view(text, length < kSystemTextRoom ? length : 0);
}

std::string_view StartFailureLine(DWORD error, char (&line)[kFailureLineRoom]) {
    char text[kSystemTextRoom];
    return corvane::FormatStartFailureLine(error, SystemText(error, text), line);
}

// A text buffer of size bytes from the process heap, or null when memory is short.
char* AllocateText(std::size_t size) { return static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size)); }

// Reads the pipe into the log; the console gets its copy through the console copy, so it never holds the log up.
DWORD WINAPI DrainPipe(LPVOID) {
    char* const chunk = g_buffers.chunk;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(g_sink.pipe, chunk, sizeof g_buffers.chunk, &got, nullptr)) break;  // EOF: every writer closed
        EnterCriticalSection(&g_sink.lock);
        const bool closed = g_sink.closed;
        if (!closed) {
            WriteLog(std::string_view(chunk, got));
            QueueConsoleCopy(chunk, got);
        }
        LeaveCriticalSection(&g_sink.lock);
        if (closed) break;
        InterlockedIncrement(&g_sink.progress);
    }
    return 0;
}

// Ctrl+C in a shared console is meant for the command; we stay to log how it ended.
BOOL WINAPI IgnoreInterrupt(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

HANDLE InheritableCopy(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return copy;
}

// Waits for the pipe's EOF, giving up only when it stays silent although the command has ended.
void WaitForDrain(HANDLE drainThread) {
    LONG seen = g_sink.progress;
    while (WaitForSingleObject(drainThread, kQuietAfterExitMs) == WAIT_TIMEOUT) {
        const LONG now = g_sink.progress;
        if (now == seen) {
            EnterCriticalSection(&g_sink.lock);
            const bool quiet = !ConsoleCopyWaitsForRoom();
            if (quiet) {
                g_sink.closed = true;
                WriteLogLine(corvane::FormatOutputAbandonedLine());
            }
            LeaveCriticalSection(&g_sink.lock);
            if (quiet) return;
        }
        seen = now;
    }
}

DWORD Finish(DWORD exitCode) {
    EnterCriticalSection(&g_sink.lock);
    g_sink.closed = true;
    char line[corvane::kLineRoom];
    WriteLogLine(corvane::FormatExitLine(exitCode, line));
    if (g_sink.log != INVALID_HANDLE_VALUE) CloseHandle(g_sink.log);
    g_sink.log = INVALID_HANDLE_VALUE;
    LeaveCriticalSection(&g_sink.lock);
    return exitCode;
}

// Runs the command; room (roomSize bytes) holds its header line and then its copy.
DWORD Run(const corvane::WrapperArgs& args, char* room, std::size_t roomSize) {
    WriteLog(corvane::FormatHeaderLine(args.command, room, roomSize));
    if (args.command.empty()) {
        WriteLogLine(corvane::FormatNoCommandLine());
        WriteStderr(corvane::FormatNoCommandLine());
        return Finish(corvane::kWrapperFailureExitCode);
    }

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&g_sink.pipe, &writeEnd, &inherit, kPipeBufferBytes)) {
        char failure[kFailureLineRoom];
        WriteLogLine(StartFailureLine(GetLastError(), failure));
        return Finish(corvane::kWrapperFailureExitCode);
    }
    SetHandleInformation(g_sink.pipe, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = InheritableCopy(GetStdHandle(STD_INPUT_HANDLE));

    // The command gets the show mode we were given, so a logged window program opens as asked.
    STARTUPINFOA own = {};
    own.cb = sizeof own;
    GetStartupInfoA(&own);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | (own.dwFlags & STARTF_USESHOWWINDOW);
    startup.wShowWindow = own.wShowWindow;
    startup.hStdInput = input;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;

    // CreateProcessA may write into the line it is given, so it gets a copy.
    CopyMemory(room, args.command.data(), args.command.size());
    room[args.command.size()] = '\0';
    PROCESS_INFORMATION process = {};
    const ChildEnvironment environment;
    const BOOL started = CreateProcessA(nullptr, room, nullptr, nullptr, TRUE, environment.flags(),
                                        environment.block(), nullptr, &startup, &process);
    const DWORD startError = started ? 0 : GetLastError();
    // Only the child may hold the write end now, so EOF comes when it and its heirs are done.
    CloseHandle(writeEnd);
    if (input != nullptr) CloseHandle(input);

    if (!started) {
        char line[kFailureLineRoom];
        const std::string_view failure = StartFailureLine(startError, line);
        WriteLogLine(failure);
        WriteStderr(failure);
        return Finish(corvane::kWrapperFailureExitCode);
    }
    CloseHandle(process.hThread);

    StartConsoleCopy(GetStdHandle(STD_OUTPUT_HANDLE), g_sink.lock);
    HANDLE drainThread = CreateThread(nullptr, 0, DrainPipe, nullptr, 0, nullptr);
    if (drainThread == nullptr) {
        DrainPipe(nullptr);  // no thread: read here, the process ends when the pipe does
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = corvane::kWrapperFailureExitCode;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (drainThread != nullptr) WaitForDrain(drainThread);
    Finish(exitCode);
    EndConsoleCopy();
    return exitCode;
}

}  // namespace

int main() {
    RestrictDllSearch();
    KeepCurrentFolderOutOfProgramSearch();
    InitializeCriticalSection(&g_sink.lock);
    SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);

    char ownPath[MAX_PATH];
    const DWORD ownLength = GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
    const std::string_view own(ownPath, ownLength < MAX_PATH ? ownLength : 0);
    const std::string_view raw = GetCommandLineA();
    // The log file's name, the header line and the command's copy each fit in the length of the raw line
    // and a line of the log's own.
    const std::size_t roomSize = raw.size() + corvane::kLineRoom;
    char* const name = AllocateText(roomSize);
    char* const room = AllocateText(roomSize);
    if (name == nullptr || room == nullptr) {
        WriteStderr("corvane: not enough memory\r\n");
        return static_cast<int>(corvane::kWrapperFailureExitCode);
    }
    const corvane::WrapperArgs args = corvane::SplitWrapperCommandLine(raw, own, name, roomSize);
    if (!args.hasLogFile) {
        WriteStderr("usage: corvane LOGFILE COMMAND-LINE...\r\n");
        return static_cast<int>(corvane::kWrapperFailureExitCode);
    }

    // CREATE_ALWAYS empties a log file that the caller made beforehand to hold the name.
    g_sink.log = CreateFileA(args.logFile.data(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_sink.log == INVALID_HANDLE_VALUE) {
        // The command still runs: the caller still learns from the exit code how it went.
        const DWORD error = GetLastError();
        char text[kSystemTextRoom];
        WriteStderr("corvane: cannot write the log file ");
        WriteStderr(args.logFile);
        WriteStderr(": ");
        WriteStderr(corvane::TrimSystemText(SystemText(error, text)));
        WriteStderr("\r\n");
    }
    return static_cast<int>(Run(args, room, roomSize));
}
