// The runs that watch threads follow, kept so that the user can stop them: each run's process, the job
// that holds it with everything it starts, and whether the user stopped it.
#pragma once

#include <windows.h>

// One watched run, kept by its watch thread from before the thread starts until the run's process has
// ended. The watch thread owns the handles; the registry only borrows them while the run is in it.
struct WatchedRun {
    HANDLE process = nullptr;
    HANDLE job = nullptr;  // null when the run has no job of its own: a stop ends `process` alone
    bool stopped = false;  // the user stopped the run
    WatchedRun* next = nullptr;
};

// The exit status a stopped run ends with, so that it counts as failed.
constexpr UINT kStoppedExitCode = 1;

// Puts a process started suspended in a job of its own, so that everything it starts belongs to the job,
// and lets its first thread run. Returns the job, or null when none could be made or assigned (the
// program itself may run in a job that forbids it); the process runs in either case.
HANDLE StartInJob(HANDLE process, HANDLE thread);

void AddWatchedRun(WatchedRun& run);
// Takes the run out once its process has ended; true when the user had stopped it.
bool RemoveWatchedRun(WatchedRun& run);
// How many watched runs are still running and not yet stopped.
int RunningWatchedRuns();
// Ends every watched run that is still running, with all its job's programs; each ends with
// kStoppedExitCode and its watch thread sees that it was stopped.
void StopWatchedRuns();
