// Fuzzes the log wrapper's reading of its command line: any line splits into a log file and a command
// that is the line's own tail, and a log file quoted by the usual rules comes back exactly; and the lines
// it writes into a log.
#include <string>
#include <vector>

#include "corvane/wrapper_args.h"
#include "fuzz_input.h"

namespace {


// Quotes an argument so the C runtime's rules read it back unchanged: backslashes double only before a
// quote, and a quote inside is escaped.
std::string Quote(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(2 * backslashes, '\\');
    quoted.push_back('"');
    return quoted;
}

// Splits a line with a name buffer of exactly the room the wrapper gives it: the line's length and a zero.
corvane::WrapperArgs Split(std::string_view raw, std::string_view ownPath, std::vector<char>& name) {
    name.assign(raw.size() + 1, '\0');
    return corvane::SplitWrapperCommandLine(raw, ownPath, name.data(), name.size());
}

void CheckAnyLine(std::string_view raw, std::string_view ownPath) {
    std::vector<char> name;
    const corvane::WrapperArgs args = Split(raw, ownPath, name);
    FUZZ_CHECK(args.hasLogFile == !args.logFile.empty());
    FUZZ_CHECK(args.logFile.size() <= raw.size());
    FUZZ_CHECK(args.command.size() <= raw.size() && raw.substr(raw.size() - args.command.size()) == args.command);
    FUZZ_CHECK(args.command.empty() || !IsBlank(args.command.front()));
    if (!args.hasLogFile) FUZZ_CHECK(args.command.empty() || raw.find('"') != std::string_view::npos);
}

// A line the way a caller builds it: the program, the log file quoted or bare, then the command.
void CheckBuiltLine(std::string_view program, bool ownPathGiven, std::string_view logFile, std::string_view command) {
    if (logFile.empty() || command.empty() || IsBlank(command.front())) return;
    if (program.empty() || IsBlank(program.front())) return;
    const bool programHasBlank = program.find_first_of(" \t") != std::string_view::npos;
    if (program.find('"') != std::string_view::npos || (!ownPathGiven && programHasBlank)) return;
    const std::string ownPath = ownPathGiven ? std::string(program) : std::string();

    const std::string quotedLine = std::string(program) + " " + Quote(logFile) + " " + std::string(command);
    std::vector<char> name;
    corvane::WrapperArgs args = Split(quotedLine, ownPath, name);
    FUZZ_CHECK(args.hasLogFile && args.logFile == logFile && args.command == command);

    // A name without blanks or quotes needs no quotes at all.
    if (logFile.find_first_of(" \t\"") != std::string_view::npos) return;
    const std::string bareLine = std::string(program) + "  " + std::string(logFile) + "\t" + std::string(command);
    args = Split(bareLine, ownPath, name);
    FUZZ_CHECK(args.hasLogFile && args.logFile == logFile && args.command == command);
}

void CheckLogLines(std::uint32_t code, std::string_view text) {
    // Each line gets the room the wrapper gives it: the text it names and the line's own words.
    std::vector<char> out(text.size() + corvane::kLineRoom);
    const std::string exitLine(corvane::FormatExitLine(code, out.data(), out.size()));
    FUZZ_CHECK(EndsWith(exitLine, "\r\n"));
    FUZZ_CHECK(exitLine.find(" " + std::to_string(code)) != std::string::npos);
    FUZZ_CHECK((exitLine.find("(0x") != std::string::npos) == ((code & 0x80000000u) != 0));

    const std::string trimmed(corvane::TrimSystemText(text));
    FUZZ_CHECK(text.substr(0, trimmed.size()) == trimmed);
    FUZZ_CHECK(trimmed.empty() || std::string_view("\r\n \t.").find(trimmed.back()) == std::string_view::npos);
    const std::string_view trimmedOff = text.substr(trimmed.size());
    FUZZ_CHECK(trimmedOff.find_first_not_of(std::string_view("\r\n \t.", 5)) == std::string_view::npos);

    const std::string failure(corvane::FormatStartFailureLine(code, text, out.data(), out.size()));
    FUZZ_CHECK(failure.find(trimmed) != std::string::npos);
    const std::string ending = "(error " + std::to_string(code) + ")\r\n";
    FUZZ_CHECK(EndsWith(failure, ending));
    const std::string header(corvane::FormatHeaderLine(text, out.data(), out.size()));
    FUZZ_CHECK(header.find(text) != std::string::npos && EndsWith(header, "\r\n"));
    for (const std::string_view line : {corvane::FormatNoCommandLine(), corvane::FormatOutputAbandonedLine()}) {
        FUZZ_CHECK(line.compare(0, 9, "corvane: ") == 0 && EndsWith(std::string(line), "\r\n"));
    }

    // A closing line starts on a line of its own.
    const bool written = (code & 1) != 0;
    const char lastByte = text.empty() ? '\n' : text.back();
    FUZZ_CHECK(corvane::NeedsLineBreakBefore(written, lastByte) == (written && lastByte != '\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const auto code = static_cast<std::uint32_t>(input.Int());
    const bool ownPathGiven = input.Flag();
    const std::string program = input.Value();
    const std::string logFile = input.Value();
    const std::string command = input.Value();
    const std::string_view raw = input.Rest();

    CheckAnyLine(raw, ownPathGiven ? std::string_view(program) : std::string_view());
    CheckBuiltLine(program, ownPathGiven, logFile, command);
    CheckLogLines(code, command);
    return 0;
}
