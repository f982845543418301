// The runs that watch threads follow, kept so that the user can stop them: each run's process, the job
// that holds it with everything it starts, and whether the user stopped it.
#pragma once

#include <windows.h>

// How a watched run ended.
enum class RunEnd {
    kByItself,
    kStopped,       // the user stopped it, with every program it had started
    kStoppedAlone,  // the user stopped it, but only the started program could be ended
};

// One watched run, kept by its watch thread from before the thread starts until the run's process has
// ended. The watch thread owns the handles; the registry only borrows them while the run is in it.
struct WatchedRun {
    HANDLE process = nullptr;
    HANDLE job = nullptr;  // null when the run has no job of its own: a stop ends its process tree
    RunEnd end = RunEnd::kByItself;
    WatchedRun* next = nullptr;
};

// The exit status a stopped run ends with, so that it counts as failed.
constexpr UINT kStoppedExitCode = 1;

// Puts a process started suspended in a job of its own, so that everything it starts belongs to the job,
// and lets its first thread run. A program in the job may still start one that leaves it, as sandboxed
// viewers and browsers must. Returns the job, or null when none could be made or assigned (before
// Windows 8 a program that runs in a job cannot have another); the process runs in either case.
HANDLE StartInJob(HANDLE process, HANDLE thread);

void AddWatchedRun(WatchedRun& run);
// Takes the run out once its process has ended, and tells how it ended.
RunEnd RemoveWatchedRun(WatchedRun& run);
// How many watched runs are still running and not yet stopped.
int RunningWatchedRuns();
// Ends every watched run that is still running with all the programs it started: through its job, or
// without one through the processes it started, found by their parents. Each ends with kStoppedExitCode
// and its watch thread sees how it was stopped.
void StopWatchedRuns();
