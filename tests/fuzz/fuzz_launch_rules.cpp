// Fuzzes the rules of a run: the working folder, the command lines, the show mode and the log decision;
// and the way back: the log wrapper reads from a logged line the very log file and command put into it.
#include <string>
#include <vector>

#include "corvane/wrapper_args.h"
#include "exec/compose_command_line.h"
#include "exec/log_decision.h"
#include "exec/show_mode.h"
#include "exec/working_folder.h"
#include "fuzz_input.h"
#include "settings/settings_records.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A name Windows can give a file: no quote, no control character.
bool IsFileName(std::string_view name) {
    for (const char c : name) {
        if (c == '"' || (static_cast<unsigned char>(c) < 32)) return false;
    }
    return true;
}

void CheckWorkingFolder(std::string_view directory, std::string_view defaultFolder, std::string_view mainFile) {
    const std::string folder = WorkingFolder(directory, defaultFolder, mainFile);
    if (!directory.empty()) {
        FUZZ_CHECK(folder == directory);
    } else if (!defaultFolder.empty()) {
        FUZZ_CHECK(folder == defaultFolder);
    } else {
        // The main file's folder: up to its last backslash, which stays only for a root folder.
        const std::size_t slash = mainFile.rfind('\\');
        FUZZ_CHECK(mainFile.substr(0, folder.size()) == folder);
        if (slash == std::string_view::npos) {
            FUZZ_CHECK(folder.empty());
        } else {
            const bool root = slash == 0 || mainFile[slash - 1] == ':';
            FUZZ_CHECK(folder.size() == (root ? slash + 1 : slash));
        }
    }
}

void CheckLines(FuzzInput& input) {
    const bool logged = input.Flag();
    const bool ownPathGiven = input.Flag();
    const std::string wrapper = input.Value();
    const std::string logFile = input.Value();
    const std::string command = input.Value();
    const std::string options = input.Value();

    const std::string line = ComposeCommandLine(logged, wrapper, logFile, command, options);
    std::string run = command;
    if (!options.empty()) run += (command.empty() ? "" : " ") + options;
    if (!logged) {
        FUZZ_CHECK(line == run);
    } else {
        FUZZ_CHECK(line.compare(0, wrapper.size() + 1, wrapper + " ") == 0);
        FUZZ_CHECK(line.size() >= run.size() && line.compare(line.size() - run.size(), run.size(), run) == 0);
    }

    // The program and the document, each quoted when it holds a blank, the document without one pair of
    // quotes the user wrote, then the options.
    const auto quoted = [](std::string_view text) {
        const bool blank = text.find_first_of(" \t") != std::string_view::npos;
        return blank ? "\"" + std::string(text) + "\"" : std::string(text);
    };
    const std::string association = ComposeAssociationLine(wrapper, command, options);
    std::string expected = quoted(wrapper) + " " + quoted(AssociationDocument(command));
    if (!options.empty()) expected += " " + options;
    FUZZ_CHECK(association == expected);
    FUZZ_CHECK(AssociationDocument(command).size() + 2 * (AssociationDocument(command) != command) == command.size());

    // The wrapper's own path as the bar names it (no blank in front), and a log file as the bar names it.
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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

    const std::string directory = input.Value();
    const std::string defaultFolder = input.Value();
    const std::string mainFile = input.Value();
    CheckWorkingFolder(directory, defaultFolder, mainFile);
    CheckWorkingFolder("", "", mainFile);

    CheckLines(input);
    return 0;
}
