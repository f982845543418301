// The TeX bar that ships with Brisolt, read as the program reads its settings file and run for a main
// file whose path holds blanks: every file name must reach its program as one whole argument.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/bar_rules.h"
#include "exec/run_rules.h"
#include "exec/expansion.h"
#include "settings/profile_section.h"
#include "settings/settings_records.h"

namespace {

constexpr char kMainFile[] = "C:\\Users\\Anna Maria\\OneDrive - Uni\\my paper.tex";
constexpr char kViewer[] = "C:\\Program Files\\Viewer\\viewer.exe";

// The [Buttons] section as the system hands it over: every line ended by a NUL.
std::string ButtonsBlock() {
    std::ifstream file(BRISOLT_READY_BAR, std::ios::binary);
    std::string block, line;
    bool inside = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') inside = line == "[Buttons]";
        else if (inside && !line.empty()) block += line + '\0';
    }
    return block;
}

// The arguments a program built with Microsoft's C runtime takes from its line: its own name runs to
// the next quote or blank; after it, 2n backslashes and a quote give n backslashes and open or close,
// 2n+1 give n and a quote, and "" within quotes gives a quote.
std::vector<std::string> SplitArguments(std::string_view line) {
    const bool quotedName = !line.empty() && line[0] == '"';
    std::size_t i = std::min(quotedName ? line.find('"', 1) : line.find_first_of(" \t"), line.size());
    std::vector<std::string> args{std::string(line.substr(quotedName, i - quotedName))};
    i += quotedName;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) return args;
        std::string arg;
        for (bool quoted = false; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'));) {
            const std::size_t run = std::min(line.find_first_not_of('\\', i), line.size()) - i;
            const bool escapes = run > 0 && i + run < line.size() && line[i + run] == '"';
            if (run > 0) {
                arg.append(escapes ? run / 2 : run, '\\');
                i += run;
                if (escapes && run % 2 == 1) arg += line[i++];
            } else if (line[i] != '"') {
                arg += line[i++];
            } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                arg += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        }
        args.push_back(arg);
    }
}

// A system with nothing set: the ready bar needs no variable and asks nothing.
class BareHost : public ExpansionHost {
public:
    std::size_t Environment(std::string_view, char*, std::size_t) override { return 0; }
    bool ShortPath(std::string_view, char*, std::size_t) override { return false; }
    bool Query(std::string_view, std::string_view, char*, std::size_t) override { return false; }
    std::string_view DisplayName() override { return "Brisolt"; }
};

TEST(ReadyBar, EveryCommandButtonHandsItsProgramTheWholeFileName) {
    const std::string block = ButtonsBlock();
    const ProfileSection buttons{std::string_view(block)};
    const auto text = [&](const char* key, int n) {
        std::string_view stored;
        return buttons.Find(key + std::to_string(n), stored) ? std::string(ProfileStringValue(stored, 4096)) : "";
    };
    const auto number = [&](const char* key, int n) { return static_cast<int>(ProfileIntValue(text(key, n), 0)); };
    const auto expand = [&](const std::string& templ) {
        BareHost host;
        char out[kCommandLineSize];
        EXPECT_EQ(ExpandTemplate(templ.c_str(), LongNames::kYes, kMainFile, out, sizeof out, host), 1) << templ;
        return std::string(out);
    };
    // The main file or a file named after it, with or without its folder; nothing names a piece of it.
    const std::regex whole(R"(^(C:\\Users\\Anna Maria\\OneDrive - Uni\\)?my paper(\.[a-z]+)?$)");
    const std::regex piece("Anna|Maria|OneDrive|Uni\\\\|paper|\"");
    int commands = 0;
    for (int n = 1; n <= kButtonCount; ++n) {
        const std::string title = text("Title", n), command = text("Command", n), options = text("Options", n);
        SCOPED_TRACE(title);
        // Within the 2 x 8 cells of the grid, and nothing a save would change: a save puts the options
        // of a button with long names between one more pair of quotes, and the reading drops one pair.
        EXPECT_TRUE(title.empty() || ((n - 1) / kButtonsPerRow < 2 && (n - 1) % kButtonsPerRow < 8));
        EXPECT_EQ(ProfileStringValue(options.empty() ? "" : '"' + options + '"', 4096), options);
        EXPECT_EQ(ProfileStringValue(command, 4096), command);
        EXPECT_LT(options.size(), sizeof(ButtonDef::options));
        EXPECT_LT(text("Tip", n).size(), sizeof(ButtonDef::tip));
        // Build runs command buttons of the bar, by their titles.
        std::string_view step;
        for (int s = 0; number("Type", n) == kTypeRunInTurn && StepTitle(options, s, step); ++s) {
            int found = 0;
            for (int k = 1; k <= kButtonCount; ++k) {
                if (text("Title", k) == step && number("Type", k) == kTypeExecute) ++found;
            }
            EXPECT_EQ(found, 1) << step;
        }
        if (command.empty() || number("Type", n) != kTypeExecute) continue;
        ++commands;
        EXPECT_EQ(number("Use long names", n), 1);
        // A logged run is a console program: minimized, it neither flashes up nor hides MiKTeX's question.
        EXPECT_EQ(number("Show", n), number("Log", n) == kLogNever ? kShowNormal : kShowMinimized);
        std::vector<std::string> args;
        if (command.find("%@") != std::string::npos) {
            // A document opens through its associated program, which runs only without the log wrapper.
            EXPECT_EQ(number("Log", n), kLogNever);
            const std::string document(AssociationDocument(expand(command)));
            args = SplitArguments(FieldText(ComposeAssociationLine(kViewer, document, expand(options)).text));
            EXPECT_EQ(args[0], kViewer);
        } else {
            // The log wrapper runs the line as it would run without it.
            args = SplitArguments(FieldText(ComposeCommandLine(false, "", "", expand(command), expand(options)).text));
            EXPECT_EQ(args[0], command);
        }
        int names = 0;
        for (std::size_t k = 1; k < args.size(); ++k) {
            if (!std::regex_search(args[k], piece)) continue;
            EXPECT_TRUE(std::regex_match(args[k], whole)) << "argument " << k << ": " << args[k];
            ++names;
        }
        EXPECT_GE(names, 1) << "names no file";
        // The engines write SyncTeX for inverse search, and never stop at TeX's prompt in a hidden console.
        if (std::regex_match(command, std::regex("pdflatex|xelatex|lualatex|latexmk")) && options.find("-c ") != 0) {
            EXPECT_NE(options.find("-synctex=1 -interaction=nonstopmode -file-line-error "), std::string::npos);
        }
    }
    EXPECT_GE(commands, 12);
}

}  // namespace
