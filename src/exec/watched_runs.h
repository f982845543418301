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

// Posted to the bar when a watched run has ended, before its log is shown: wParam is the tag WatchRun was
// given, lParam the run's exit status.
constexpr UINT kRunEndedMessage = WM_APP + 1;

// What a watch thread needs of a run besides its handles.
struct WatchedRunInfo {
    int logMode = 0;
    const char* logFile = "";
    const char* folder = "";    // the working folder, for the names of the files its errors are in
    const char* mainFile = "";  // the file a classic TeX error is in when no other was read
    WPARAM tag = 0;             // handed back with kRunEndedMessage
};

// Hands a started run to a watch thread of its own, which takes over the process and job handles: it waits
// for the run's end, adds the stop line to its log when the user stopped it, puts the summary of its
// errors on top, tells the bar, and shows the log as its log mode says. False when no thread could be
// had: the run then goes unwatched and the handles are closed.
bool WatchRun(HANDLE process, HANDLE job, const WatchedRunInfo& info);
// How many runs the watch threads follow: from before their threads start until their logs are shown.
int WatchedRunCount();
// How many of them are still running and not yet stopped.
int RunningWatchedRuns();
// Ends every watched run that is still running with all the programs it started: through its job, or
// without one through the processes it started, found by their parents. Each ends with kStoppedExitCode
// and its watch thread sees how it was stopped.
void StopWatchedRuns();
