// The log wrapper's platform-free rules: splitting its raw command line and the lines it adds to a log.
// They need nothing of the C++ library beyond views: text goes into the caller's buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvane {

// Exit code of the wrapper itself when it has no run to report: no log file, no command, or a
// command that could not be started. Any nonzero value tells the caller that the run failed.
constexpr std::uint32_t kWrapperFailureExitCode = 127;

// Room that one of the wrapper's own lines needs besides the command or system text it names,
// its terminating zero included.
constexpr std::size_t kLineRoom = 64;

// A raw command line taken apart: the log file (first argument, usual quoting rules applied)
// and everything after it exactly as typed, so the command runs as the caller wrote it.
struct WrapperArgs {
    bool hasLogFile = false;
    std::string_view logFile;  // in the caller's buffer, followed by a zero
    std::string_view command;  // the tail of the raw line
};

// Splits the wrapper's whole command line, program name included. ownPath is the wrapper's own
// path: a line that starts with it unquoted skips it whole, blanks and all, since a caller whose short
// path came back in long form (no 8.3 names on the volume) puts it at the head of the line as it is.
// The log file's name goes into nameBuffer (room bytes); it is never longer than raw, and a name that
// does not fit is left out whole: the line then has no log file.
WrapperArgs SplitWrapperCommandLine(std::string_view raw, std::string_view ownPath, char* nameBuffer,
                                    std::size_t room);

// The lines a log gets, each written into out (room bytes, a zero after it) and returned; a line that
// does not fit is cut at the end of out.
// The first line of a log: what is run.
std::string_view FormatHeaderLine(std::string_view command, char* out, std::size_t room);
// The last line of a log: how the run ended. Codes with the top bit set (crashes) also show in hex.
std::string_view FormatExitLine(std::uint32_t exitCode, char* out, std::size_t room);
// The line that stands in a log instead of the run's output when the command could not be started.
std::string_view FormatStartFailureLine(std::uint32_t errorCode, std::string_view systemText, char* out,
                                        std::size_t room);
// The line that stands in a log when the wrapper was given no command.
std::string_view FormatNoCommandLine();
// The note added when the run has ended but a process it left behind keeps the output open.
std::string_view FormatOutputAbandonedLine();
// True when a closing line written after text ending in lastByte needs a line break first
// (nothing written yet counts as a line start).
bool NeedsLineBreakBefore(bool anythingWritten, char lastByte);
// A system message without its trailing line break, blanks and full stop.
std::string_view TrimSystemText(std::string_view text);

template <std::size_t N>
WrapperArgs SplitWrapperCommandLine(std::string_view raw, std::string_view ownPath, char (&nameBuffer)[N]) {
    return SplitWrapperCommandLine(raw, ownPath, nameBuffer, N);
}

template <std::size_t N>
std::string_view FormatHeaderLine(std::string_view command, char (&out)[N]) {
    return FormatHeaderLine(command, out, N);
}

template <std::size_t N>
std::string_view FormatExitLine(std::uint32_t exitCode, char (&out)[N]) {
    return FormatExitLine(exitCode, out, N);
}

template <std::size_t N>
std::string_view FormatStartFailureLine(std::uint32_t errorCode, std::string_view systemText, char (&out)[N]) {
    return FormatStartFailureLine(errorCode, systemText, out, N);
}

}  // namespace corvane
