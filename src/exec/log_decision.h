// What happens to a run's log once its program has ended; no windows.h here.
#pragma once

enum class LogAction {
    kNothing,  // Never, On error after success, or a mode the settings file should not hold
    kOpen,     // open the log with the shell
    kAsk,      // ask the user whether to open it
};

LogAction LogActionFor(int logMode, unsigned long exitCode);

// Whether a run with this log mode goes through the log wrapper at all.
bool IsLogged(int logMode);
