// The temporary folder with the runs' log files, the shell's view of a log, and the capture console.
#include "exec/logs.h"

#include <shellapi.h>

#include <new>

#include "base/handles.h"
#include "base/heap_array.h"
#include "exec/error_scan.h"
#include "exec/run_rules.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "settings/settings_records.h"

namespace {

// The program run's temporary folder and the log names handed out in it; window thread only.
struct LogFolderState {
    bool made = false;
    char folder[kPathSize] = "";
    char lastName[kPathSize] = "";
    unsigned highestNumber = 0;
};
LogFolderState g_logs;

bool FileExists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

class SystemLogFiles : public LogFileSystem {
public:
    bool Exists(const char* name) override { return FileExists(name); }
    void Remove(const char* name) override { DeleteFileA(name); }
};

// Without a usable temporary path there is no folder yet; the next logged run tries again, and a
// relative folder in whatever the current folder happens to be is never made.
void MakeFolder() {
    char tempPath[kPathSize] = "";
    const DWORD length = GetTempPathA(sizeof tempPath, tempPath);
    if (length == 0 || length >= sizeof tempPath) return;
    SystemLogFiles files;
    CopyText(g_logs.folder, FieldText(TempFolderName(FieldText(tempPath), files).text));
    if (g_logs.folder[0] == '\0') return;
    if (!CreateDirectoryA(g_logs.folder, nullptr)) {
        g_logs.folder[0] = '\0';
        return;
    }
    g_logs.made = true;
}

// The log wrapper empties an existing log file before it writes, so an empty file holds the name.
void Reserve(const char* name) {
    HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void OpenWithShell(const char* file) {
    ShellExecuteA(g_app.mainWindow, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

// Set before any run starts; read by the watch threads.
struct LogViewer {
    LogOpener open = OpenWithShell;
};
LogViewer g_logViewer;

void OpenLog(const char* file) {
    if (file[0] == '\0') return;  // the shell would open something else for an empty name
    g_logViewer.open(file);
}

}  // namespace

const char* NewLogFileName() {
    g_logs.lastName[0] = '\0';
    // A clean-up of the temporary path may take the folder away while the program runs: a new one is
    // made, as for the first logged run, rather than every later log being lost.
    if (g_logs.made && !FileExists(g_logs.folder)) g_logs = LogFolderState{};
    if (!g_logs.made) MakeFolder();
    if (!g_logs.made) return g_logs.lastName;
    SystemLogFiles files;
    const FreeLogFile free = FirstFreeLogFile(FieldText(g_logs.folder), files);
    if (free.number == 0) return g_logs.lastName;
    CopyText(g_logs.lastName, FieldText(free.name.text));
    if (free.number > g_logs.highestNumber) g_logs.highestNumber = free.number;
    Reserve(g_logs.lastName);
    // The short form keeps a temporary path with blanks in it from splitting the wrapper's arguments.
    char shortName[kPathSize] = "";
    const DWORD length = GetShortPathNameA(g_logs.lastName, shortName, sizeof shortName);
    if (length > 0 && length < sizeof shortName) CopyText(g_logs.lastName, shortName);
    return g_logs.lastName;
}

void ReleaseLogFileName(const char* file) {
    if (file == nullptr || file[0] == '\0') return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data)) return;
    if (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0) DeleteFileA(file);
}

void SetLogOpener(LogOpener opener) {
    g_logViewer.open = opener != nullptr ? opener : OpenWithShell;
}

const char* LogFolder() {
    return g_logs.folder;
}

void ShowLog(HANDLE process, int logMode, const char* file) {
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process, &exitCode)) exitCode = 0;
    switch (LogActionFor(logMode, exitCode)) {
    case LogAction::kOpen:
        OpenLog(file);
        break;
    case LogAction::kAsk: {
        // Buffers of this call's own: the shared loaders may be busy on the window's thread.
        char question[256];
        char caption[64];
        LoadResString(IDS_SHOW_LOG_QUESTION, question);
        LoadResString(IDS_PROGRAM_NAME, caption);
        if (MessageBoxA(g_app.mainWindow, question, caption,
                        MB_YESNO | MB_ICONQUESTION | MB_TOPMOST | MB_SETFOREGROUND) == IDYES) {
            OpenLog(file);
        }
        break;
    }
    case LogAction::kNothing:
        break;
    }
}

void AppendStoppedLine(const char* file, bool alone) {
    if (file[0] == '\0') return;
    HANDLE log = CreateFileA(file, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    // The line starts on a line of its own even when the output did not end with one.
    char last = '\n';
    DWORD read = 0;
    if (SetFilePointer(log, -1, nullptr, FILE_END) != INVALID_SET_FILE_POINTER) ReadFile(log, &last, 1, &read, nullptr);
    char line[kResTextSize + 4] = "";
    if (last != '\n') CopyText(line, "\r\n");
    char text[kResTextSize];
    AppendText(line, LoadResString(alone ? IDS_LOG_STOPPED_ALONE : IDS_LOG_STOPPED, text));
    AppendText(line, "\r\n");
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(FieldText(line).size()), &written, nullptr);
    CloseHandle(log);
}

namespace {

// The first error of the last logged run that ended with errors, for the programs a button starts.
constexpr char kErrorFileVariable[] = "BrisoltErrorFile";
constexpr char kErrorLineVariable[] = "BrisoltErrorLine";

// A log is read and copied in pieces of this size, so that a log of any size needs no more memory.
constexpr DWORD kLogPieceSize = 65536;

OwnedHandle OpenLogFile(const char* name, DWORD access, DWORD disposition) {
    const HANDLE file = CreateFileA(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return OwnedHandle(file != INVALID_HANDLE_VALUE ? file : nullptr);
}

// False when the file could not be read to its end.
bool ScanLog(HANDLE log, ErrorScan& scan, char* piece) {
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(log, piece, kLogPieceSize, &read, nullptr)) return false;
        if (read == 0) break;
        scan.Feed(std::string_view(piece, read));
    }
    scan.Finish();
    return true;
}

bool WriteWhole(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Writes the summary and then the whole log into a new file, which takes the log's place; on any failure
// the new file goes and the log stays as it was.
void PutSummaryOnTop(const char* file, const ErrorSummary& summary, char* piece) {
    char newName[kPathSize + 8];
    if (!FormatText(newName, "%s.new", file)) return;
    OwnedHandle log = OpenLogFile(file, GENERIC_READ, OPEN_EXISTING);
    OwnedHandle copy = log ? OpenLogFile(newName, GENERIC_WRITE, CREATE_ALWAYS) : OwnedHandle();
    if (!copy) return;
    bool whole = WriteWhole(copy.get(), summary.text, static_cast<DWORD>(FieldText(summary.text).size()));
    for (DWORD read = 0; whole && ReadFile(log.get(), piece, kLogPieceSize, &read, nullptr) && read > 0;) {
        whole = WriteWhole(copy.get(), piece, read);
    }
    // The log is replaced only once neither file is open.
    copy.Reset();
    log.Reset();
    if (!whole || !MoveFileExA(newName, file, MOVEFILE_REPLACE_EXISTING)) DeleteFileA(newName);
}

// The printed name of an error's file as a full path; as printed when no full path fits.
void MakeFullName(char (&name)[kPathSize], const char* folder, const char* mainFile) {
    const std::string_view printed = name[0] != '\0' ? FieldText(name) : std::string_view(mainFile);
    const FixedText<kPathSize> joined = ErrorFileName(folder, printed);
    char full[kPathSize];
    const DWORD length = GetFullPathNameA(joined.text, sizeof full, full, nullptr);
    CopyText(name, length > 0 && length < sizeof full ? FieldText(full) : FieldText(joined.text));
}

}  // namespace

void SummarizeLogErrors(const char* file, const char* folder, const char* mainFile) {
    if (file[0] == '\0') return;
    // Off the stack: a watch thread's is small.
    HeapArray<ErrorScan> scan(1);
    HeapArray<char> piece(kLogPieceSize);
    if (!scan || !piece) return;
    new (scan.get()) ErrorScan;
    ErrorScan& errors = scan[0];
    {
        const OwnedHandle log = OpenLogFile(file, GENERIC_READ, OPEN_EXISTING);
        if (!log || !ScanLog(log.get(), errors, piece.get())) return;
    }
    if (errors.count() == 0) {
        SetEnvironmentVariableA(kErrorFileVariable, nullptr);
        SetEnvironmentVariableA(kErrorLineVariable, nullptr);
        return;
    }
    for (std::size_t i = 0; i < errors.kept(); ++i) MakeFullName(errors.error(i).file, folder, mainFile);
    char number[16];
    FormatText(number, "%lu", errors.error(0).line);
    SetEnvironmentVariableA(kErrorFileVariable, errors.error(0).file);
    SetEnvironmentVariableA(kErrorLineVariable, number);
    char format[kResTextSize];
    char heading[kResTextSize];
    FormatText(heading, LoadResString(IDS_LOG_ERRORS, format), errors.count());
    PutSummaryOnTop(file, ComposeErrorSummary(FieldText(heading), errors), piece.get());
}

void OpenCaptureConsole(const char* title) {
    AllocConsole();
    SetConsoleTitleA(title);
}

void ReleaseCaptureConsole() {
    FreeConsole();
}

void CloseCaptureConsole() {
    char prompt[256];
    char caption[64];
    LoadResString(IDS_CLOSE_CAPTURE, prompt);
    LoadResString(IDS_PROGRAM_NAME, caption);
    MessageBoxA(g_app.mainWindow, prompt, caption, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
    FreeConsole();
}

void DeleteLogFiles() {
    if (g_logs.folder[0] == '\0') return;
    SystemLogFiles files;
    RemoveLogFiles(FieldText(g_logs.folder), g_logs.highestNumber, files);
    // Once the folder is gone, a later logged run starts a folder of its own again; a folder that stays
    // with a file in use is kept, so the next call can finish the clean-up.
    if (RemoveDirectoryA(g_logs.folder)) g_logs = LogFolderState{};
}
