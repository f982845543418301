// Fuzzes the rules of a run: the working folder, the command lines, the show mode and the log decision,
// and the way back (the log wrapper reads from a logged line the very log file and command put into
// it); the names of the temporary folder and its logs against a file system the input makes up; and the
// TeX errors found in any output.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "corvane/wrapper_args.h"
#include "exec/error_scan.h"
#include "exec/run_rules.h"
#include "fuzz_input.h"
#include "settings/settings_records.h"

namespace launch_rules_case {
namespace {


// A name Windows can give a file: no quote, no control character.
bool IsFileName(std::string_view name) {
    for (const char c : name) {
        if (c == '"' || (static_cast<unsigned char>(c) < 32)) return false;
    }
    return true;
}

void CheckWorkingFolder(std::string_view directory, std::string_view defaultFolder, std::string_view mainFile) {
    const std::string folder(FieldText(WorkingFolder(directory, defaultFolder, mainFile).text));
    // A folder longer than a path is cut to one.
    if (!directory.empty()) {
        FUZZ_CHECK(folder == text::Part(directory, 0, kPathSize - 1));
    } else if (!defaultFolder.empty()) {
        FUZZ_CHECK(folder == text::Part(defaultFolder, 0, kPathSize - 1));
    } else {
        // The main file's folder: up to its last backslash, which stays only for a root folder.
        const std::size_t slash = mainFile.rfind('\\');
        FUZZ_CHECK(mainFile.substr(0, folder.size()) == folder);
        if (slash == std::string_view::npos) {
            FUZZ_CHECK(folder.empty());
        } else {
            const bool root = slash == 0 || mainFile[slash - 1] == ':';
            FUZZ_CHECK(folder.size() == std::min<std::size_t>(root ? slash + 1 : slash, kPathSize - 1));
        }
    }
}

void CheckLines(FuzzInput& input) {
    const bool logged = input.Flag();
    const bool ownPathGiven = input.Flag();
    const std::string wrapper(UpToNul(input.Value()));
    const std::string logFile(UpToNul(input.Value()));
    const std::string command(UpToNul(input.Value()));
    const std::string options(UpToNul(input.Value()));

    const std::string line(FieldText(ComposeCommandLine(logged, wrapper, logFile, command, options).text));
    // A line longer than its buffer is cut there; the program's own parts always fit.
    std::string run = command;
    if (!options.empty()) run += (command.empty() ? "" : " ") + options;
    const std::string quotedLog = logFile.find(' ') != std::string::npos ? "\"" + logFile + "\"" : logFile;
    const std::string whole = logged ? wrapper + " " + quotedLog + " " + run : run;
    FUZZ_CHECK(line == whole.substr(0, kCommandLineSize - 1));

    // The program and the document, each quoted when it holds a blank, the document without one pair of
    // quotes the user wrote, then the options.
    const auto quoted = [](std::string_view text) {
        const bool blank = text.find_first_of(" \t") != std::string_view::npos;
        return blank ? "\"" + std::string(text) + "\"" : std::string(text);
    };
    const std::string association(FieldText(ComposeAssociationLine(wrapper, command, options).text));
    std::string expected = quoted(wrapper) + " " + quoted(AssociationDocument(command));
    if (!options.empty()) expected += " " + options;
    FUZZ_CHECK(association == expected.substr(0, kCommandLineSize - 1));
    FUZZ_CHECK(AssociationDocument(command).size() + 2 * (AssociationDocument(command) != command) == command.size());

    // The wrapper's own path as the bar names it (no blank in front), and a log file as the bar names it,
    // in a line that was not cut.
    if (whole.size() >= kCommandLineSize) return;
    if (!logged || wrapper.empty() || IsBlank(wrapper.front()) || !IsFileName(wrapper)) return;
    if (logFile.empty() || logFile.back() == '\\' || !IsFileName(logFile)) return;
    // Without its own path the wrapper can only skip a name with no blank in it.
    if (!ownPathGiven && wrapper.find_first_of(" \t") != std::string::npos) return;
    // The wrapper's room for the name: its whole line and a zero.
    std::vector<char> name(line.size() + 1);
    const corvane::WrapperArgs args =
        corvane::SplitWrapperCommandLine(line, ownPathGiven ? wrapper : std::string(), name.data(), name.size());
    FUZZ_CHECK(args.hasLogFile && args.logFile == logFile);
    const std::size_t start = run.find_first_not_of(" \t");
    FUZZ_CHECK(args.command == (start == std::string::npos ? std::string() : run.substr(start)));
}

}  // namespace

int FuzzLaunchRules(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    const int show = input.Int();
    const int window = ShowWindowForMode(show);
    FUZZ_CHECK(window >= 0 && window <= 3);
    FUZZ_CHECK(IsCaptureMode(show) == (show == kShowCapture));
    if (show < kShowNormal || show > kShowCapture) FUZZ_CHECK(window == 1);

    const int logMode = input.Int();
    const auto exitCode = static_cast<unsigned long>(static_cast<std::uint32_t>(input.Int()));
    const LogAction action = LogActionFor(logMode, exitCode);
    if (!IsLogged(logMode)) FUZZ_CHECK(action == LogAction::kNothing);
    if (logMode == kLogOnError) FUZZ_CHECK((action == LogAction::kOpen) == (exitCode != 0));
    if (logMode < kLogNever || logMode > kLogAskUser) FUZZ_CHECK(action == LogAction::kNothing);

    const std::string directory(UpToNul(input.Value()));
    const std::string defaultFolder(UpToNul(input.Value()));
    const std::string mainFile(UpToNul(input.Value()));
    CheckWorkingFolder(directory, defaultFolder, mainFile);
    CheckWorkingFolder("", "", mainFile);

    CheckLines(input);
    return 0;
}
}  // namespace launch_rules_case

namespace log_names_case {
namespace {

std::string Text(const PathText& name) {
    return std::string(FieldText(name.text));
}

// Says whether a name exists from the input's bits; once they run out nothing more exists (the native
// tests cover a search that runs to its last number). Checks on the way that the k-th name asked is the
// k-th name of the sequence that fits a path, and keeps only what the checks after the call need.
class FuzzFiles : public LogFileSystem {
public:
    using NameFunction = std::function<std::string(unsigned)>;

    FuzzFiles(FuzzInput& input, NameFunction expected) : input_(input), expected_(std::move(expected)) {}

    unsigned asked = 0;
    std::string lastName;
    bool lastExists = false;
    bool earlierAllExisted = true;  // every name before the last one existed
    std::vector<std::string> existing;
    std::vector<std::string> removed;

    bool Exists(const char* name) override {
        ++asked;
        FUZZ_CHECK(name == expected_(asked));
        FUZZ_CHECK(std::string_view(name).size() <= kLongestName);
        if (bitsLeft_ == 0 && !input_.Empty()) {
            bits_ = input_.Byte();
            bitsLeft_ = 8;
        }
        bool exists = false;
        if (bitsLeft_ > 0) {
            exists = (bits_ & 1) != 0;
            bits_ >>= 1;
            --bitsLeft_;
        }
        if (asked > 1 && !lastExists) earlierAllExisted = false;
        lastName = name;
        lastExists = exists;
        if (exists) existing.push_back(name);
        return exists;
    }
    void Remove(const char* name) override { removed.push_back(name); }

private:
    FuzzInput& input_;
    NameFunction expected_;
    unsigned bits_ = 0;
    int bitsLeft_ = 0;
};

}  // namespace

int FuzzLogNames(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    // Paths of the system are C strings: no NUL inside.
    const std::string tempPath(UpToNul(input.Value()));
    const std::string folder(UpToNul(input.Value()));
    const unsigned highest = input.Byte();
    const auto logName = [&](const std::string& in, unsigned n) { return in + "\\log" + std::to_string(n) + ".txt"; };

    {
        // Numbers 1, 2, 3, ... are tried in turn; the first that does not exist is the answer.
        FuzzFiles files(input, [&](unsigned n) { return tempPath + "Brisolt" + std::to_string(n); });
        const std::string name = Text(TempFolderName(tempPath, files));
        FUZZ_CHECK(files.earlierAllExisted);
        if (!name.empty()) {
            FUZZ_CHECK(name == files.lastName && !files.lastExists);
        } else {
            FUZZ_CHECK(files.asked == 0 || files.lastExists);
            FUZZ_CHECK(files.asked == kLastNumber ||
                       tempPath.size() + 7 + std::to_string(files.asked + 1).size() > kLongestName);
        }
    }
    {
        FuzzFiles files(input, [&](unsigned n) { return logName(folder, n); });
        const FreeLogFile log = FirstFreeLogFile(folder, files);
        FUZZ_CHECK(files.earlierAllExisted);
        if (log.number == 0) {
            FUZZ_CHECK(Text(log.name).empty() && (files.asked == 0 || files.lastExists));
            FUZZ_CHECK(files.asked == kLastNumber || logName(folder, files.asked + 1).size() > kLongestName);
        } else {
            FUZZ_CHECK(log.number == files.asked && Text(log.name) == files.lastName && !files.lastExists);
            FUZZ_CHECK(Text(log.name) == Text(LogFileName(folder, log.number)));
        }
    }
    {
        // Every name up to the highest number that fits a path is asked about, and the ones that exist are
        // removed in order.
        FuzzFiles files(input, [&](unsigned n) { return logName(folder, n); });
        RemoveLogFiles(folder, highest, files);
        unsigned fitting = 0;
        for (unsigned n = 1; n <= std::min(highest, kLastNumber); ++n) fitting += logName(folder, n).size() <= kLongestName;
        FUZZ_CHECK(files.asked == fitting);
        FUZZ_CHECK(files.removed == files.existing);
    }
    return 0;
}
}  // namespace log_names_case

namespace error_scan_case {
namespace {

// What a scan found, whole: the count and every kept error.
std::string Findings(const ErrorScan& scan) {
    std::string found = std::to_string(scan.count());
    for (std::size_t i = 0; i < scan.kept(); ++i) {
        const TexError& error = scan.error(i);
        found += "|" + std::string(FieldText(error.file)) + ":" + std::to_string(error.line) + ": " +
                 std::string(FieldText(error.message));
    }
    return found;
}

}  // namespace

// Any output, fed whole or in pieces of any sizes, gives the same errors, bounded and printable.
int FuzzErrorScan(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t piece = 1 + input.Byte();
    const std::string output(input.Rest());
    ErrorScan whole;
    whole.Feed(output);
    whole.Finish();
    ErrorScan pieces;
    for (std::size_t at = 0; at < output.size(); at += piece) pieces.Feed(text::Part(output, at, piece));
    pieces.Finish();
    FUZZ_CHECK(Findings(whole) == Findings(pieces));
    FUZZ_CHECK(whole.kept() == std::min<std::size_t>(whole.count(), kErrorsKept));
    for (std::size_t i = 0; i < whole.kept(); ++i) {
        const TexError& error = whole.error(i);
        FUZZ_CHECK(error.line > 0);
        FUZZ_CHECK(text::BoundedLength(error.file, sizeof error.file) < sizeof error.file);
        for (const char c : FieldText(error.message)) FUZZ_CHECK(static_cast<unsigned char>(c) >= 32);
    }
    const ErrorSummary summary = ComposeErrorSummary("Errors", whole);
    const std::string_view text = FieldText(summary.text);
    FUZZ_CHECK(text.size() < kErrorSummarySize && text.substr(0, 8) == "Errors\r\n");
    return 0;
}

}  // namespace error_scan_case

// The first byte chooses the rule; the rest is that rule's input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    switch (data[0] % 3) {
    case 0: return launch_rules_case::FuzzLaunchRules(data + 1, size - 1);
    case 1: return log_names_case::FuzzLogNames(data + 1, size - 1);
    case 2: return error_scan_case::FuzzErrorScan(data + 1, size - 1);
    default: return 0;
    }
}
