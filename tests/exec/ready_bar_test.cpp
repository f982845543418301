// The TeX bar that ships with Brisolt, read as the program reads its settings file and run for a main
// file whose path holds blanks: every file name must reach its program as one whole argument.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "corvane/wrapper_args.h"
#include "exec/compose_command_line.h"
#include "exec/expansion.h"
#include "settings/profile_section.h"
#include "settings/settings_records.h"

namespace {

constexpr char kMainFile[] = "C:\\Users\\Anna Maria\\OneDrive - Uni\\my paper.tex";
constexpr char kWrapper[] = "C:\\Users\\ANNAMA~1\\AppData\\Local\\Programs\\Brisolt\\corvane.exe";
constexpr char kLogFile[] = "C:\\Users\\Anna Maria\\AppData\\Local\\Temp\\Brisolt1\\log1.txt";
constexpr char kViewer[] = "C:\\Program Files\\Viewer\\viewer.exe";
// Room enough for any value, so that a value cut by its field shows as too long rather than as changed.
constexpr std::size_t kWholeValue = 4096;

// One section of a settings file as the system hands it over: every line ended by a NUL.
std::string SectionBlock(const std::string& name) {
    std::ifstream file(BRISOLT_READY_BAR, std::ios::binary);
    std::string block, line;
    bool inside = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + name + "]";
        } else if (inside && !line.empty()) {
            block += line + '\0';
        }
    }
    return block;
}

// The arguments a program built with Microsoft's C runtime takes from its command line: the program's
// own name runs to the next quote or blank; after it, 2n backslashes before a quote give n backslashes
// and the quote opens or closes, 2n+1 give n and a quote, and "" within quotes gives one quote.
std::vector<std::string> SplitArguments(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        args.emplace_back(line.substr(1, close - 1));
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        i = std::min(line.find_first_of(" \t"), line.size());
        args.emplace_back(line.substr(0, i));
    }
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) return args;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                const std::size_t run = line.find_first_not_of('\\', i) - i;
                i += run;
                const bool beforeQuote = i < line.size() && line[i] == '"';
                arg.append(beforeQuote ? run / 2 : run, '\\');
                if (beforeQuote && run % 2 == 1) arg += line[i++];
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg += line[i++];
            }
        }
        args.push_back(arg);
    }
}

// A system with nothing set: the ready bar must need no variable and ask nothing.
class BareHost : public ExpansionHost {
public:
    bool Environment(std::string_view, std::string&) override { return false; }
    bool ShortPath(std::string_view, std::string&) override { return false; }
    bool Query(std::string_view name, std::string_view, std::string&) override {
        ADD_FAILURE() << "asks for " << name;
        return false;
    }
    std::string_view DisplayName() override { return "Brisolt"; }
};

struct ReadyButton {
    int number;
    unsigned type, show, log, longNames;
    std::string title, command, options, tip;
};

class ReadyBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(buttonsBlock_.empty()) << "no [Buttons] in " << BRISOLT_READY_BAR;
        for (int n = 1; n <= kButtonCount; ++n) {
            if (!buttons_.Has(Key("Type", n))) continue;
            bar_.push_back({n, Int("Type", n, 0), Int("Show", n, 0), Int("Log", n, 0), Int("Use long names", n, 0),
                            Text("Title", n), Text("Command", n), Text("Options", n), Text("Tip", n)});
        }
        ASSERT_GE(bar_.size(), 12u);
    }

    static std::string Key(const char* name, int n) { return name + std::to_string(n); }
    unsigned Int(const char* name, int n, int fallback) const {
        std::string_view stored;
        return buttons_.Find(Key(name, n), stored) ? ProfileIntValue(stored, fallback) : fallback;
    }
    std::string Text(const char* name, int n) const {
        std::string_view stored;
        return buttons_.Find(Key(name, n), stored) ? std::string(ProfileStringValue(stored, kWholeValue)) : "";
    }
    // The expanded text of a template, for the main file with blanks.
    static std::string Expand(const std::string& templ, bool longNames) {
        BareHost host;
        char out[kCommandLineSize];
        EXPECT_EQ(ExpandTemplate(templ.c_str(), longNames, kMainFile, out, sizeof out, host), 1) << templ;
        return out;
    }

    const std::string optionsBlock_ = SectionBlock("Options");
    const std::string buttonsBlock_ = SectionBlock("Buttons");
    const ProfileSection options_{optionsBlock_};
    const ProfileSection buttons_{buttonsBlock_};
    std::vector<ReadyButton> bar_;
};

TEST_F(ReadyBar, EveryFileNameReachesItsProgramWhole) {
    // The main file, a file named after it, with or without its folder; nothing else names a piece of it.
    const std::regex whole(R"(^(C:\\Users\\Anna Maria\\OneDrive - Uni\\)?my paper(\.[a-z]+)?$)");
    const std::regex piece("Anna|Maria|OneDrive|Uni\\\\|paper|\"");
    for (const ReadyButton& b : bar_) {
        if (b.type != kTypeExecute) continue;
        SCOPED_TRACE(b.title);
        const std::string options = Expand(b.options, b.longNames != 0), command = Expand(b.command, b.longNames != 0);
        std::vector<std::string> args;
        if (b.command.find("%@") != std::string::npos) {
            // A document opens through its associated program, which runs only without the log wrapper.
            EXPECT_EQ(b.log, unsigned{kLogNever});
            args = SplitArguments(ComposeAssociationLine(kViewer, AssociationDocument(command), options));
            EXPECT_EQ(args[0], kViewer);
        } else {
            const bool logged = b.log != kLogNever;
            const std::string line = ComposeCommandLine(logged, kWrapper, kLogFile, command, options);
            char logName[kPathSize];
            const corvane::WrapperArgs wrapped = corvane::SplitWrapperCommandLine(line, kWrapper, logName);
            if (logged) {
                EXPECT_EQ(wrapped.logFile, kLogFile);
            }
            args = SplitArguments(logged ? wrapped.command : line);
            EXPECT_EQ(args[0], command);
        }
        int names = 0;
        for (std::size_t k = 1; k < args.size(); ++k) {
            if (!std::regex_search(args[k], piece)) continue;
            EXPECT_TRUE(std::regex_match(args[k], whole)) << "argument " << k << ": " << args[k];
            ++names;
        }
        EXPECT_GE(names, 1) << "names no file";
    }
}

TEST_F(ReadyBar, EveryValueReadsBackAfterASave) {
    // A save writes the options of a button with long names between one more pair of quotes and every
    // other value as it is; the next reading drops one pair of surrounding quotes.
    for (const ReadyButton& b : bar_) {
        SCOPED_TRACE(b.title);
        const std::string savedOptions = b.longNames != 0 && !b.options.empty() ? '"' + b.options + '"' : b.options;
        EXPECT_EQ(ProfileStringValue(savedOptions, kWholeValue), b.options);
        for (const std::string* value : {&b.title, &b.command, &b.tip}) {
            EXPECT_EQ(ProfileStringValue(*value, kWholeValue), *value);
        }
        EXPECT_LT(b.title.size(), sizeof(ButtonDef::title));
        EXPECT_LT(b.command.size(), sizeof(ButtonDef::command));
        EXPECT_LT(b.options.size(), sizeof(ButtonDef::options));
        EXPECT_LT(b.tip.size(), sizeof(ButtonDef::tip));
    }
}

TEST_F(ReadyBar, EveryButtonLiesInTheVisibleGrid) {
    std::string_view rows, cols;
    ASSERT_TRUE(options_.Find("Rows", rows) && options_.Find("Cols", cols));
    for (const ReadyButton& b : bar_) {
        EXPECT_LT((b.number - 1) / kButtonsPerRow, static_cast<int>(ProfileIntValue(rows, 0))) << b.title;
        EXPECT_LT((b.number - 1) % kButtonsPerRow, static_cast<int>(ProfileIntValue(cols, 0))) << b.title;
    }
}

TEST_F(ReadyBar, TeXRunsStartMinimizedAndNeverStopAtAPrompt) {
    // A logged run is a console program: minimized, it neither flashes up nor hides a question that
    // MiKTeX asks before it installs a package.
    for (const ReadyButton& b : bar_) {
        if (b.type == kTypeExecute && b.log != kLogNever) {
            EXPECT_EQ(b.show, unsigned{kShowMinimized}) << b.title;
        }
        EXPECT_NE(b.show, unsigned{kShowInvisible}) << b.title;
    }
    const struct {
        const char* title;
        const char* flags;
    } engines[] = {
        {"pdfLaTeX", "-synctex=1 -interaction=nonstopmode -file-line-error "},
        {"XeLaTeX", "-synctex=1 -interaction=nonstopmode -file-line-error "},
        {"LuaLaTeX", "-synctex=1 -interaction=nonstopmode -file-line-error "},
        {"latexmk", "-pdf -synctex=1 -interaction=nonstopmode -file-line-error "},
        {"LaTeX", "-interaction=nonstopmode -file-line-error "},
    };
    for (const auto& engine : engines) {
        const auto found =
            std::find_if(bar_.begin(), bar_.end(), [&](const ReadyButton& b) { return b.title == engine.title; });
        ASSERT_NE(found, bar_.end()) << engine.title;
        EXPECT_EQ(found->options.rfind(engine.flags, 0), 0u) << engine.title << ": " << found->options;
    }
}

}  // namespace
