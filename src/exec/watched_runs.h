// The runs that watch threads follow: each logged run that is not waited for gets a thread that waits for
// its end and then shows its log. The runs are kept in one list, which is also their count (the close
// question and the exit status ask for it), so that the user can stop them.
#pragma once

#include <windows.h>

#include <cstddef>

// The room of a log file name: a path with a pair of quotes and its NUL.
constexpr std::size_t kLogFileNameSize = 263;

// The exit status a stopped run ends with, so that it counts as failed.
constexpr UINT kStoppedExitCode = 1;

// How a watched run ended.
enum class RunEnd {
    kByItself,
    kStopped,       // the user stopped it, with every program it had started
    kStoppedAlone,  // the user stopped it, but only the started program could be ended
};

// Puts a process started suspended in a job of its own, so that everything it starts belongs to the job,
// and lets its first thread run. A program in the job may still start one that leaves it, as sandboxed
// viewers and browsers must. Returns the job, or null when none could be made or assigned (before
// Windows 8 a program that runs in a job cannot have another); the process runs in either case.
HANDLE StartInJob(HANDLE process, HANDLE thread);

// Hands a started run to a watch thread of its own, which takes over the process and job handles: it waits
// for the run's end, adds the stop line to its log when the user stopped it, and shows the log as
// `logMode` says. Without a thread the run goes unwatched and the handles are closed.
void WatchRun(HANDLE process, HANDLE job, int logMode, const char* logFile);
// How many runs the watch threads follow: from before their threads start until their logs are shown.
int WatchedRunCount();
// How many of them are still running and not yet stopped.
int RunningWatchedRuns();
// Ends every watched run that is still running with all the programs it started: through its job, or
// without one through the processes it started, found by their parents. Each ends with kStoppedExitCode
// and its watch thread sees how it was stopped.
void StopWatchedRuns();
