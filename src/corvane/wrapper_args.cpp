// The log wrapper's platform-free rules: splitting its raw command line and the lines it adds to a log.
#include "corvane/wrapper_args.h"

#include <cctype>
#include <cstring>

namespace corvane {
namespace {

// Text built in a caller's buffer: what does not fit is cut, and a zero always follows the text.
class TextWriter {
public:
    TextWriter(char* out, std::size_t room) : out_(out), room_(room) {
        if (room_ > 0) out_[0] = '\0';
    }

    void Append(std::string_view text) {
        std::size_t n = text.size();
        const std::size_t free = room_ > size_ ? room_ - size_ - 1 : 0;
        if (n > free) {
            n = free;
            cut_ = true;
        }
        if (n > 0) std::memcpy(out_ + size_, text.data(), n);
        size_ += n;
        if (room_ > 0) out_[size_] = '\0';
    }

    void Append(char c, std::size_t count = 1) {
        for (std::size_t i = 0; i < count; ++i) Append(std::string_view(&c, 1));
    }

    void AppendDecimal(std::uint32_t value) {
        char digits[10];
        std::size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0) Append(digits[--n]);
    }

    void AppendHex8(std::uint32_t value) {
        Append("0x");
        for (int shift = 28; shift >= 0; shift -= 4) Append("0123456789ABCDEF"[(value >> shift) & 0xF]);
    }

    std::string_view Text() const { return std::string_view(out_, size_); }
    bool Cut() const { return cut_; }

private:
    char* out_;
    std::size_t room_;
    std::size_t size_ = 0;
    bool cut_ = false;
};

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
std::size_t ReadArgument(std::string_view raw, std::size_t at, TextWriter& out) {
    bool quoted = false;
    while (at < raw.size()) {
        const char c = raw[at];
        if (!quoted && IsBlank(c)) break;
        if (c == '\\') {
            std::size_t run = 0;
            while (at + run < raw.size() && raw[at + run] == '\\') ++run;
            at += run;
            if (at < raw.size() && raw[at] == '"') {
                out.Append('\\', run / 2);
                if (run % 2 == 1) {
                    out.Append('"');
                    ++at;
                }
            } else {
                out.Append('\\', run);
            }
        } else if (c == '"') {
            if (quoted && at + 1 < raw.size() && raw[at + 1] == '"') {
                out.Append('"');
                at += 2;
            } else {
                quoted = !quoted;
                ++at;
            }
        } else {
            out.Append(c);
            ++at;
        }
    }
    return at;
}

// The text from at on, at lying within it: substr's range check would bring the library's exceptions in.
std::string_view Tail(std::string_view text, std::size_t at) {
    text.remove_prefix(at);
    return text;
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

}  // namespace

WrapperArgs SplitWrapperCommandLine(std::string_view raw, std::string_view ownPath, char* nameBuffer,
                                    std::size_t room) {
    WrapperArgs args;
    std::size_t at = SkipBlanks(raw, 0);
    const std::string_view rest = Tail(raw, at);
    if (!ownPath.empty() && StartsWithIgnoringCase(rest, ownPath) &&
        (rest.size() == ownPath.size() || IsBlank(rest[ownPath.size()]))) {
        at += ownPath.size();
    } else {
        at = SkipProgramName(raw, at);
    }
    at = SkipBlanks(raw, at);
    if (at >= raw.size()) return args;
    TextWriter name(nameBuffer, room);
    at = ReadArgument(raw, at, name);
    // An empty quoted name names no file, and a cut one names another.
    args.hasLogFile = !name.Text().empty() && !name.Cut();
    if (args.hasLogFile) args.logFile = name.Text();
    at = SkipBlanks(raw, at);
    args.command = Tail(raw, at);
    return args;
}

std::string_view FormatHeaderLine(std::string_view command, char* out, std::size_t room) {
    TextWriter line(out, room);
    line.Append("corvane: running ");
    line.Append(command);
    line.Append("\r\n");
    return line.Text();
}

std::string_view FormatExitLine(std::uint32_t exitCode, char* out, std::size_t room) {
    TextWriter line(out, room);
    line.Append("corvane: exit code ");
    line.AppendDecimal(exitCode);
    if (exitCode & 0x80000000u) {
        line.Append(" (");
        line.AppendHex8(exitCode);
        line.Append(")");
    }
    line.Append("\r\n");
    return line.Text();
}

std::string_view FormatStartFailureLine(std::uint32_t errorCode, std::string_view systemText, char* out,
                                        std::size_t room) {
    TextWriter line(out, room);
    line.Append("corvane: could not start the command: ");
    const std::string_view text = TrimSystemText(systemText);
    if (!text.empty()) {
        line.Append(text);
        line.Append(" ");
    }
    line.Append("(error ");
    line.AppendDecimal(errorCode);
    line.Append(")\r\n");
    return line.Text();
}

std::string_view FormatNoCommandLine() { return "corvane: no command was given\r\n"; }

std::string_view FormatOutputAbandonedLine() {
    return "corvane: the command has ended; later output of processes it left running is not logged\r\n";
}

bool NeedsLineBreakBefore(bool anythingWritten, char lastByte) {
    return anythingWritten && lastByte != '\n';
}

std::string_view TrimSystemText(std::string_view text) {
    while (!text.empty()) {
        const char c = text.back();
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '.') {
            text.remove_suffix(1);
        } else {
            break;
        }
    }
    return text;
}

}  // namespace corvane
