// The runs that watch threads follow, kept so that the user can stop them.
#include "exec/watched_runs.h"

namespace {

// Shared by the window's thread (adds, stops) and the watch threads (remove).
struct WatchedRunList {
    SRWLOCK lock = SRWLOCK_INIT;
    WatchedRun* first = nullptr;
};
WatchedRunList g_watched;

bool StillRunning(const WatchedRun& run) {
    return !run.stopped && WaitForSingleObject(run.process, 0) == WAIT_TIMEOUT;
}

}  // namespace

// No kill-on-close: the programs outlive the bar when it closes without stopping them.
HANDLE StartInJob(HANDLE process, HANDLE thread) {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job != nullptr && !AssignProcessToJobObject(job, process)) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(thread);
    return job;
}

void AddWatchedRun(WatchedRun& run) {
    AcquireSRWLockExclusive(&g_watched.lock);
    run.next = g_watched.first;
    g_watched.first = &run;
    ReleaseSRWLockExclusive(&g_watched.lock);
}

bool RemoveWatchedRun(WatchedRun& run) {
    AcquireSRWLockExclusive(&g_watched.lock);
    for (WatchedRun** link = &g_watched.first; *link != nullptr; link = &(*link)->next) {
        if (*link == &run) {
            *link = run.next;
            break;
        }
    }
    const bool stopped = run.stopped;
    ReleaseSRWLockExclusive(&g_watched.lock);
    return stopped;
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
        run->stopped = true;
        if (run->job == nullptr || !TerminateJobObject(run->job, kStoppedExitCode)) {
            TerminateProcess(run->process, kStoppedExitCode);
        }
    }
    ReleaseSRWLockExclusive(&g_watched.lock);
}
