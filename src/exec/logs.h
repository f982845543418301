// The temporary folder with the runs' log files, the shell's view of a log, and the capture console.
#pragma once

#include <windows.h>

// The log file name for a new logged run, made and reserved in the temporary folder (which is made on
// first use), so a second run started before the first one writes gets the next number. Empty when no
// name can be had. Window thread only.
const char* NewLogFileName();
// Gives back a name from NewLogFileName that no log wrapper will write (the run was cancelled or did not
// start through the wrapper): the empty reservation goes, so its number is handed out again.
void ReleaseLogFileName(const char* file);
// The temporary folder, empty until the first logged run.
const char* LogFolder();

// After a logged child has ended: opens its log, asks first, or does nothing, by log mode and exit code.
// Safe on any thread.
void ShowLog(HANDLE process, int logMode, const char* file);

// After a logged run has ended: looks through its log for TeX errors. A log with errors begins with their
// summary, the output below it unchanged, and the program's environment holds the first of them as
// "BrisoltErrorFile" (a full path: relative names are taken in `folder`, a classic error before any file
// was read in `mainFile`) and "BrisoltErrorLine"; a log without errors clears both and stays as it is.
// A log that cannot be read changes nothing. Safe on any thread.
void SummarizeLogErrors(const char* file, const char* folder, const char* mainFile);

// Ends the log of a run the user stopped with a closing line that says so, once its log wrapper has
// ended; `alone` says only the started program was ended. Nothing when the log cannot be opened.
// Safe on any thread.
void AppendStoppedLine(const char* file, bool alone);

// How a log is opened: the shell's "open" by default. A test may put its own opener in its place to see
// where and how logs are opened; null restores the shell's.
using LogOpener = void (*)(const char* file);
void SetLogOpener(LogOpener opener);

// The capture console: opened before a capture child starts, titled with the button's command as stored.
void OpenCaptureConsole(const char* title);
// Takes the console away without asking (the child did not start).
void ReleaseCaptureConsole();
// Asks the user to close the console once the child has ended, then takes it away.
void CloseCaptureConsole();

// At exit: removes the log files this program run handed out and the temporary folder; files still held
// open stay, and so does the folder with them.
void DeleteLogFiles();
