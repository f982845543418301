// The log wrapper's platform-free rules: splitting its raw command line and the lines it adds to a log.
#include "corvane/wrapper_args.h"

#include <cctype>

namespace corvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t SkipBlanks(std::string_view raw, std::size_t at) {
    while (at < raw.size() && IsBlank(raw[at])) ++at;
    return at;
}

// The program name follows the C runtime's rule: quotes only group, backslashes are plain
// characters (a path may end in one), and the name ends at the first blank outside quotes.
std::size_t SkipProgramName(std::string_view raw, std::size_t at) {
    bool quoted = false;
    for (; at < raw.size(); ++at) {
        if (raw[at] == '"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(raw[at])) {
            break;
        }
    }
    return at;
}

// One ordinary argument: 2n backslashes before a quote give n backslashes and a grouping quote,
// 2n+1 give n backslashes and a literal quote, other backslashes stay; "" inside quotes is a quote.
std::size_t ReadArgument(std::string_view raw, std::size_t at, std::string& out) {
    bool quoted = false;
    while (at < raw.size()) {
        const char c = raw[at];
        if (!quoted && IsBlank(c)) break;
        if (c == '\\') {
            std::size_t run = 0;
            while (at + run < raw.size() && raw[at + run] == '\\') ++run;
            at += run;
            if (at < raw.size() && raw[at] == '"') {
                out.append(run / 2, '\\');
                if (run % 2 == 1) {
                    out.push_back('"');
                    ++at;
                }
            } else {
                out.append(run, '\\');
            }
        } else if (c == '"') {
            if (quoted && at + 1 < raw.size() && raw[at + 1] == '"') {
                out.push_back('"');
                at += 2;
            } else {
                quoted = !quoted;
                ++at;
            }
        } else {
            out.push_back(c);
            ++at;
        }
    }
    return at;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

void AppendDecimal(std::string& out, std::uint32_t value) { out += std::to_string(value); }

void AppendHex8(std::string& out, std::uint32_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += "0x";
    for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

}  // namespace

WrapperArgs SplitWrapperCommandLine(std::string_view raw, std::string_view ownPath) {
    WrapperArgs args;
    std::size_t at = SkipBlanks(raw, 0);
    const std::string_view rest = raw.substr(at);
    if (!ownPath.empty() && StartsWithIgnoringCase(rest, ownPath) &&
        (rest.size() == ownPath.size() || IsBlank(rest[ownPath.size()]))) {
        at += ownPath.size();
    } else {
        at = SkipProgramName(raw, at);
    }
    at = SkipBlanks(raw, at);
    if (at >= raw.size()) return args;
    at = ReadArgument(raw, at, args.logFile);
    // An empty quoted name names no file.
    args.hasLogFile = !args.logFile.empty();
    at = SkipBlanks(raw, at);
    args.command.assign(raw.substr(at));
    return args;
}

std::string FormatHeaderLine(std::string_view command) {
    std::string line = "corvane: running ";
    line.append(command);
    line += "\r\n";
    return line;
}

std::string FormatExitLine(std::uint32_t exitCode) {
    std::string line = "corvane: exit code ";
    AppendDecimal(line, exitCode);
    if (exitCode & 0x80000000u) {
        line += " (";
        AppendHex8(line, exitCode);
        line += ")";
    }
    line += "\r\n";
    return line;
}

std::string FormatStartFailureLine(std::uint32_t errorCode, std::string_view systemText) {
    std::string line = "corvane: could not start the command: ";
    const std::string text = TrimSystemText(systemText);
    if (!text.empty()) {
        line += text;
        line += " ";
    }
    line += "(error ";
    AppendDecimal(line, errorCode);
    line += ")\r\n";
    return line;
}

std::string FormatNoCommandLine() { return "corvane: no command was given\r\n"; }

std::string FormatOutputAbandonedLine() {
    return "corvane: the command has ended; later output of processes it left running is not logged\r\n";
}

bool NeedsLineBreakBefore(bool anythingWritten, char lastByte) {
    return anythingWritten && lastByte != '\n';
}

std::string TrimSystemText(std::string_view text) {
    while (!text.empty()) {
        const char c = text.back();
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '.') {
            text.remove_suffix(1);
        } else {
            break;
        }
    }
    return std::string(text);
}

}  // namespace corvane
