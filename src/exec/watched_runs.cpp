// The runs that watch threads follow, kept so that the user can stop them.
#include "exec/watched_runs.h"

#include <objbase.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <new>

#include "base/bounded_text.h"
#include "base/handles.h"
#include "base/heap_array.h"
#include "exec/logs.h"
#include "exec/run_rules.h"

namespace {

// One watched run, from before its watch thread starts until its log has been shown. The thread owns the
// handles; the list only borrows them while the run is in it.
struct WatchedRun {
    HANDLE process = nullptr;
    HANDLE job = nullptr;  // null when the run has no job of its own: a stop ends its process tree
    int logMode = 0;
    char logFile[kLogFileNameSize] = "";
    char folder[kPathSize] = "";
    char mainFile[kPathSize] = "";
    WPARAM tag = 0;
    RunEnd end = RunEnd::kByItself;
    WatchedRun* next = nullptr;
};

// Shared by the window's thread (adds, stops, counts) and the watch threads (remove).
struct WatchedRunList {
    SRWLOCK lock = SRWLOCK_INIT;
    WatchedRun* first = nullptr;
    int count = 0;
};
WatchedRunList g_watched;

// The stack a watch thread starts with: it waits, then shows a log, and its stack grows as a message
// box needs; many runs may be watched at once.
constexpr DWORD kWatchStackSize = 12000;

// Far more programs than one TeX run starts at a time.
constexpr std::size_t kMostDescendants = 256;

bool StillRunning(const WatchedRun& run) {
    return run.end == RunEnd::kByItself && WaitForSingleObject(run.process, 0) == WAIT_TIMEOUT;
}

unsigned long long CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

unsigned long long CreationTimeOf(DWORD id) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return 0;
    const unsigned long long created = CreationTime(process);
    CloseHandle(process);
    return created;
}

// Every process of the system with its parent and start time; empty when the list cannot be had.
HeapArray<ProcessEntry> ListProcesses(std::size_t& count) {
    count = 0;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return HeapArray<ProcessEntry>();
    std::size_t room = 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) ++room;
    HeapArray<ProcessEntry> entries(room > 0 ? room : 1);
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); entries && more && count < room;
         more = Process32Next(snapshot, &entry)) {
        entries[count++] = {entry.th32ProcessID, entry.th32ParentProcessID, CreationTimeOf(entry.th32ProcessID)};
    }
    CloseHandle(snapshot);
    return entries;
}

// Ends the run's process and the programs it started, the last started first. False when the programs
// it started could not be looked for: the process alone was ended.
bool EndProcessTree(HANDLE process) {
    std::size_t count = 0;
    const HeapArray<ProcessEntry> entries = ListProcesses(count);
    unsigned long descendants[kMostDescendants];
    const std::size_t found =
        entries ? FindDescendants(entries.get(), count, GetProcessId(process), CreationTime(process), descendants,
                                  kMostDescendants)
                : 0;
    for (std::size_t i = found; i > 0; --i) {
        const HANDLE descendant = OpenProcess(PROCESS_TERMINATE, FALSE, descendants[i - 1]);
        if (descendant == nullptr) continue;
        TerminateProcess(descendant, kStoppedExitCode);
        CloseHandle(descendant);
    }
    TerminateProcess(process, kStoppedExitCode);
    return static_cast<bool>(entries);
}

}  // namespace

// No kill-on-close: the programs outlive the bar when it closes without stopping them.
HANDLE StartInJob(HANDLE process, HANDLE thread) {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        if (!AssignProcessToJobObject(job, process)) {
            CloseHandle(job);
            job = nullptr;
        }
    }
    ResumeThread(thread);
    return job;
}

namespace {

void AddWatchedRun(WatchedRun& run) {
    AcquireSRWLockExclusive(&g_watched.lock);
    run.next = g_watched.first;
    g_watched.first = &run;
    ++g_watched.count;
    ReleaseSRWLockExclusive(&g_watched.lock);
}

void RemoveWatchedRun(WatchedRun& run) {
    AcquireSRWLockExclusive(&g_watched.lock);
    for (WatchedRun** link = &g_watched.first; *link != nullptr; link = &(*link)->next) {
        if (*link == &run) {
            *link = run.next;
            --g_watched.count;
            break;
        }
    }
    ReleaseSRWLockExclusive(&g_watched.lock);
}

RunEnd EndOf(const WatchedRun& run) {
    AcquireSRWLockShared(&g_watched.lock);
    const RunEnd end = run.end;
    ReleaseSRWLockShared(&g_watched.lock);
    return end;
}

void CloseRunHandles(const WatchedRun& run) {
    CloseHandle(run.process);
    if (run.job != nullptr) CloseHandle(run.job);
}

DWORD WINAPI WatchChild(LPVOID parameter) {
    WatchedRun* run = static_cast<WatchedRun*>(parameter);
    // The shell may hand the log to an extension that needs COM on the calling thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    WaitForSingleObject(run->process, INFINITE);
    // The log wrapper has ended with the run, so its log is free for the closing line.
    const RunEnd end = EndOf(*run);
    if (end != RunEnd::kByItself) AppendStoppedLine(run->logFile, end == RunEnd::kStoppedAlone);
    SummarizeLogErrors(run->logFile, run->folder, run->mainFile);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(run->process, &exitCode)) exitCode = kStoppedExitCode;
    PostMessageA(g_app.mainWindow, kRunEndedMessage, run->tag, static_cast<LPARAM>(exitCode));
    ShowLog(run->process, run->logMode, run->logFile);
    if (SUCCEEDED(com)) CoUninitialize();
    RemoveWatchedRun(*run);
    CloseRunHandles(*run);
    std::free(run);
    return 0;
}

}  // namespace

// The run is counted before its thread exists, so no reader sees it uncounted while the thread starts.
bool WatchRun(HANDLE process, HANDLE job, const WatchedRunInfo& info) {
    void* const memory = std::malloc(sizeof(WatchedRun));
    WatchedRun* const run = memory != nullptr ? new (memory) WatchedRun : nullptr;
    if (run != nullptr) {
        run->process = process;
        run->job = job;
        run->logMode = info.logMode;
        CopyText(run->logFile, info.logFile);
        CopyText(run->folder, info.folder);
        CopyText(run->mainFile, info.mainFile);
        run->tag = info.tag;
        AddWatchedRun(*run);
        const HANDLE thread = CreateThread(nullptr, kWatchStackSize, WatchChild, run, 0, nullptr);
        if (thread != nullptr) {
            CloseHandle(thread);
            return true;
        }
        RemoveWatchedRun(*run);
        std::free(run);
    }
    CloseHandle(process);
    if (job != nullptr) CloseHandle(job);
    return false;
}

int WatchedRunCount() {
    AcquireSRWLockShared(&g_watched.lock);
    const int count = g_watched.count;
    ReleaseSRWLockShared(&g_watched.lock);
    return count;
}

int RunningWatchedRuns() {
    int running = 0;
    AcquireSRWLockExclusive(&g_watched.lock);
    for (const WatchedRun* run = g_watched.first; run != nullptr; run = run->next) {
        if (StillRunning(*run)) ++running;
    }
    ReleaseSRWLockExclusive(&g_watched.lock);
    return running;
}

// A run whose process has ended by itself but whose watch thread has not taken it out yet is left as it
// is: its log gets no stop line and its status stays its own.
void StopWatchedRuns() {
    AcquireSRWLockExclusive(&g_watched.lock);
    for (WatchedRun* run = g_watched.first; run != nullptr; run = run->next) {
        if (!StillRunning(*run)) continue;
        if (run->job != nullptr && TerminateJobObject(run->job, kStoppedExitCode)) {
            run->end = RunEnd::kStopped;
        } else {
            run->end = EndProcessTree(run->process) ? RunEnd::kStopped : RunEnd::kStoppedAlone;
        }
    }
    ReleaseSRWLockExclusive(&g_watched.lock);
}
