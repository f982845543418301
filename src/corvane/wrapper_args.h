// The log wrapper's platform-free rules: splitting its raw command line and the lines it adds to a log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Exit code of the wrapper itself when it has no run to report: no log file, no command, or a
// command that could not be started. Any nonzero value tells the caller that the run failed.
constexpr std::uint32_t kWrapperFailureExitCode = 127;

// A raw command line taken apart: the log file (first argument, usual quoting rules applied)
// and everything after it exactly as typed, so the command runs as the caller wrote it.
struct WrapperArgs {
    bool hasLogFile = false;
    std::string logFile;
    std::string command;
};

// Splits the wrapper's whole command line, program name included. ownPath is the wrapper's own
// path: a line that starts with it unquoted skips it whole, blanks and all, since a caller whose short
// path came back in long form (no 8.3 names on the volume) puts it at the head of the line as it is.
WrapperArgs SplitWrapperCommandLine(std::string_view raw, std::string_view ownPath = {});

// The first line of a log: what is run.
std::string FormatHeaderLine(std::string_view command);
// The last line of a log: how the run ended. Codes with the top bit set (crashes) also show in hex.
std::string FormatExitLine(std::uint32_t exitCode);
// The line that stands in a log instead of the run's output when the command could not be started.
std::string FormatStartFailureLine(std::uint32_t errorCode, std::string_view systemText);
// The line that stands in a log when the wrapper was given no command.
std::string FormatNoCommandLine();
// The note added when the run has ended but a process it left behind keeps the output open.
std::string FormatOutputAbandonedLine();
// True when a closing line written after text ending in lastByte needs a line break first
// (nothing written yet counts as a line start).
bool NeedsLineBreakBefore(bool anythingWritten, char lastByte);
// A system message without its trailing line break, blanks and full stop.
std::string TrimSystemText(std::string_view text);

}  // namespace corvane
