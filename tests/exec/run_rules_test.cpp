// The platform-free rules of a run: working folder, command lines, log names, show mode, log decision and
// the processes a stop ends.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "exec/run_rules.h"

namespace {

template <std::size_t N>
std::string Text(const FixedText<N>& text) {
    return std::string(FieldText(text.text));
}

struct FolderCase {
    const char* directory;
    const char* defaultFolder;
    const char* mainFile;
    const char* expected;
};

const FolderCase kFolderCases[] = {
    {"D:\\Build", "C:\\Default", "C:\\Papers\\Thesis\\chapter1.tex", "D:\\Build"},
    {"%TEMP%", "", "", "%TEMP%"},  // the button's folder is not expanded
    {"", "C:\\Default", "C:\\Papers\\Thesis\\chapter1.tex", "C:\\Default"},
    {"", "", "C:\\Papers\\Thesis\\chapter1.tex", "C:\\Papers\\Thesis"},
    {"", "", "C:\\main.tex", "C:\\"},
    {"", "", "\\main.tex", "\\"},
    {"", "", "\\\\server\\share\\main.tex", "\\\\server\\share"},
    {"", "", "Papers\\main.tex", "Papers"},
    {"", "", "main.tex", ""},
    {"", "", "C:main.tex", ""},
    {"", "", "", ""},
};

TEST(WorkingFolder, FirstMatchWins) {
    for (const FolderCase& c : kFolderCases) {
        EXPECT_EQ(Text(WorkingFolder(c.directory, c.defaultFolder, c.mainFile)), c.expected)
            << "directory '" << c.directory << "' default '" << c.defaultFolder << "' main '" << c.mainFile << "'";
    }
}

TEST(WorkingFolder, LongestMainFileKeepsItsFolder) {
    const std::string folder = "C:\\" + std::string(240, 'f');
    const std::string main = folder + "\\" + std::string(259 - folder.size() - 1, 'n');
    ASSERT_EQ(main.size(), 259u);
    EXPECT_EQ(Text(WorkingFolder("", "", main)), folder);
}

struct LineCase {
    bool logged;
    const char* command;
    const char* options;
    const char* expected;
};

const LineCase kLineCases[] = {
    {false, "latex", "chapter1", "latex chapter1"},
    {false, "latex", "", "latex"},
    {false, "", "latex chapter1", "latex chapter1"},
    {false, "", "", ""},
    {true, "latex", "chapter1", "C:\\BIN\\corvane.exe C:\\TEMP\\Brisolt1\\log1.txt latex chapter1"},
    {true, "latex", "", "C:\\BIN\\corvane.exe C:\\TEMP\\Brisolt1\\log1.txt latex"},
    {true, "", "latex chapter1", "C:\\BIN\\corvane.exe C:\\TEMP\\Brisolt1\\log1.txt latex chapter1"},
    {true, "", "", "C:\\BIN\\corvane.exe C:\\TEMP\\Brisolt1\\log1.txt "},
    {false, "\"C:\\Program Files\\x.exe\"", "-a  -b", "\"C:\\Program Files\\x.exe\" -a  -b"},
};

TEST(ComposeCommandLine, CommandOptionsAndLogPrefix) {
    for (const LineCase& c : kLineCases) {
        EXPECT_EQ(Text(ComposeCommandLine(c.logged, "C:\\BIN\\corvane.exe", "C:\\TEMP\\Brisolt1\\log1.txt", c.command,
                                          c.options)),
                  c.expected)
            << "logged " << c.logged << " command '" << c.command << "' options '" << c.options << "'";
    }
}

TEST(ComposeCommandLine, LogFileWithABlankStaysOneArgument) {
    EXPECT_EQ(Text(ComposeCommandLine(true, "C:\\BIN\\corvane.exe", "C:\\My Temp\\Brisolt1\\log1.txt", "latex", "paper")),
              "C:\\BIN\\corvane.exe \"C:\\My Temp\\Brisolt1\\log1.txt\" latex paper");
}

TEST(ComposeCommandLine, LargestLineFitsTheBuffer) {
    const std::string wrapper(259, 'w'), log(259, 'l'), command(519, 'c'), options(779, 'o');
    const std::string line = Text(ComposeCommandLine(true, wrapper, log, command, options));
    EXPECT_EQ(line.size(), 259u + 1 + 259 + 1 + 519 + 1 + 779);
    EXPECT_LT(line.size(), kCommandLineSize);
    EXPECT_EQ(line.substr(260, 259), log);
    EXPECT_EQ(line.substr(line.size() - 779), options);
}

struct AssociationCase {
    const char* program;
    const char* document;
    const char* options;
    const char* expected;
};

const AssociationCase kAssociationCases[] = {
    {"C:\\viewer.exe", "C:\\Papers\\chapter1.dvi", "", "C:\\viewer.exe C:\\Papers\\chapter1.dvi"},
    {"C:\\viewer.exe", "C:\\Papers\\chapter1.dvi", "-p 3", "C:\\viewer.exe C:\\Papers\\chapter1.dvi -p 3"},
    {"", "", "", " "},
    {"C:\\Program Files\\View\\v.exe", "C:\\OneDrive - Uni\\my paper.pdf", "-p 3",
     "\"C:\\Program Files\\View\\v.exe\" \"C:\\OneDrive - Uni\\my paper.pdf\" -p 3"},
    // A name the user quoted is quoted once.
    {"C:\\v.exe", "\"C:\\My Papers\\a.pdf\"", "", "C:\\v.exe \"C:\\My Papers\\a.pdf\""},
    {"C:\\v.exe", "\"C:\\Papers\\a.pdf\"", "", "C:\\v.exe C:\\Papers\\a.pdf"},
};

TEST(ComposeAssociationLine, ProgramDocumentOptions) {
    for (const AssociationCase& c : kAssociationCases) {
        EXPECT_EQ(Text(ComposeAssociationLine(c.program, c.document, c.options)), c.expected) << c.document;
    }
}

TEST(AssociationDocument, OnePairOfQuotesGoes) {
    EXPECT_EQ(AssociationDocument("\"C:\\a b\\x.pdf\""), "C:\\a b\\x.pdf");
    EXPECT_EQ(AssociationDocument("C:\\x.pdf"), "C:\\x.pdf");
    EXPECT_EQ(AssociationDocument("\"\""), "");
    EXPECT_EQ(AssociationDocument("\""), "\"");
}

TEST(IsProgramItself, ABareProgramNameFoundAsADocumentIsRefused) {
    const struct {
        const char* document;
        const char* program;
        bool itself;
    } cases[] = {
        {"bibtex", "C:\\Papers\\bibtex.exe", true},
        {"BibTeX.exe", "C:\\Papers\\bibtex.EXE", true},
        {"build.bat", "C:\\Papers\\build.bat", true},
        {"\"make\"", "C:\\Papers\\make.cmd", true},
        {"notes.txt", "C:\\Windows\\notepad.exe", false},
        {"bib", "C:\\Papers\\bibtex.exe", false},
        {".\\bibtex", "C:\\Papers\\bibtex.exe", false},  // written with its folder
        {"C:\\Tools\\tool.exe", "C:\\Tools\\tool.exe", false},
        {"", "C:\\x.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsProgramItself(c.document, c.program), c.itself) << c.document;
}

// The processes a stop ends: through their parents, never one that took a finished parent's id.
TEST(FindDescendants, ChildrenThroughTheirParents) {
    const ProcessEntry table[] = {
        {10, 1, 100},   // the run
        {11, 10, 110},  // what it started
        {12, 11, 120},  // and that started
        {13, 10, 90},   // older than the run: another process with a reused parent id
        {14, 13, 130},  // below the impostor
        {15, 12, 0},    // start time unknown
        {16, 15, 160},  // below the unknown
        {17, 2, 170},   // not the run's
        {10, 12, 100},  // a parent id that would close a circle
    };
    unsigned long found[8] = {};
    ASSERT_EQ(FindDescendants(table, 9, 10, 100, found, 8), 2u);
    EXPECT_EQ(found[0], 11u);
    EXPECT_EQ(found[1], 12u);
    EXPECT_EQ(FindDescendants(table, 9, 10, 100, found, 1), 1u) << "never more than the room";
    EXPECT_EQ(FindDescendants(table, 9, 99, 1, found, 8), 0u);
}

// A made-up file system: the names that exist, and those removed.
struct Files : LogFileSystem {
    std::set<std::string> names;
    std::vector<std::string> removed;
    bool all = false;  // every name exists
    explicit Files(std::set<std::string> existing = {}, bool everything = false)
        : names(std::move(existing)), all(everything) {}
    bool Exists(const char* name) override { return all || names.count(name) != 0; }
    void Remove(const char* name) override { removed.push_back(name); }
};

struct TempFolderCase {
    std::set<std::string> existing;
    const char* expected;
};

TEST(TempFolderName, FirstFreeNumber) {
    const TempFolderCase cases[] = {
        {{}, "C:\\TEMP\\Brisolt1"},
        {{"C:\\TEMP\\Brisolt1"}, "C:\\TEMP\\Brisolt2"},
        {{"C:\\TEMP\\Brisolt1", "C:\\TEMP\\Brisolt2", "C:\\TEMP\\Brisolt3"}, "C:\\TEMP\\Brisolt4"},
        {{"C:\\TEMP\\Brisolt2"}, "C:\\TEMP\\Brisolt1"},
    };
    for (const TempFolderCase& c : cases) {
        Files files(c.existing);
        EXPECT_EQ(Text(TempFolderName("C:\\TEMP\\", files)), c.expected);
    }
}

TEST(TempFolderName, NameThatDoesNotFitIsNeverHandedOut) {
    Files nothing;
    const std::string fits(259 - 8, 't');  // "Brisolt1" fills the name to exactly 259 characters
    EXPECT_EQ(Text(TempFolderName(fits, nothing)), fits + "Brisolt1");
    EXPECT_EQ(Text(TempFolderName(fits + "t", nothing)), "");
    // With Brisolt1..9 taken the next number needs one more digit than there is room for.
    std::set<std::string> taken;
    for (int n = 1; n <= 9; ++n) taken.insert(fits + "Brisolt" + std::to_string(n));
    Files takenFiles(taken);
    EXPECT_EQ(Text(TempFolderName(fits, takenFiles)), "");
}

TEST(TempFolderName, EverythingTakenGivesNoName) {
    Files everything({}, true);
    EXPECT_EQ(Text(TempFolderName("C:\\T\\", everything)), "");
}

struct LogFileCase {
    std::set<std::string> existing;
    const char* expected;
    unsigned number;
};

TEST(FirstFreeLogFile, FirstFreeNumber) {
    const LogFileCase cases[] = {
        {{}, "C:\\TEMP\\Brisolt1\\log1.txt", 1},
        {{"C:\\TEMP\\Brisolt1\\log1.txt"}, "C:\\TEMP\\Brisolt1\\log2.txt", 2},
        {{"C:\\TEMP\\Brisolt1\\log1.txt", "C:\\TEMP\\Brisolt1\\log3.txt"}, "C:\\TEMP\\Brisolt1\\log2.txt", 2},
        {{"C:\\TEMP\\Brisolt1\\log2.txt"}, "C:\\TEMP\\Brisolt1\\log1.txt", 1},
    };
    for (const LogFileCase& c : cases) {
        Files files(c.existing);
        const FreeLogFile free = FirstFreeLogFile("C:\\TEMP\\Brisolt1", files);
        EXPECT_EQ(Text(free.name), c.expected);
        EXPECT_EQ(free.number, c.number);
    }
}

TEST(FirstFreeLogFile, NameThatDoesNotFitIsNeverHandedOut) {
    const std::string folder(259 - 9, 'f');  // "\log1.txt" fills it to exactly 259
    Files nothing, everything({}, true);
    EXPECT_EQ(Text(FirstFreeLogFile(folder, nothing).name), folder + "\\log1.txt");
    const FreeLogFile none = FirstFreeLogFile(folder + "f", nothing);
    EXPECT_EQ(Text(none.name), "");
    EXPECT_EQ(none.number, 0u);
    EXPECT_EQ(FirstFreeLogFile("C:\\T", everything).number, 0u);
}

TEST(RemoveLogFiles, EveryExistingNumberUpToTheHighest) {
    const std::string f = "C:\\T\\Brisolt1";
    const auto l = [&](unsigned n) { return Text(LogFileName(f, n)); };
    const auto removed = [&](unsigned highest, std::set<std::string> existing) {
        Files files(std::move(existing));
        RemoveLogFiles(f, highest, files);
        return files.removed;
    };
    EXPECT_TRUE(removed(0, {l(1)}).empty());
    EXPECT_EQ(removed(3, {l(1), l(2), l(3)}), (std::vector<std::string>{l(1), l(2), l(3)}));
    // A gap left by a hand-deleted file does not strand the later logs.
    EXPECT_EQ(removed(3, {l(1), l(3)}), (std::vector<std::string>{l(1), l(3)}));
    // A file past the highest number handed out is not ours.
    EXPECT_EQ(removed(2, {l(1), l(2), l(3)}), (std::vector<std::string>{l(1), l(2)}));
}

struct ShowCase {
    int show;
    int showWindow;
    bool capture;
};

TEST(ShowMode, TableAndOutOfRange) {
    const ShowCase cases[] = {
        {0, 1, false}, {1, 2, false}, {2, 3, false}, {3, 0, false}, {4, 1, true},
        {5, 1, false}, {-1, 1, false}, {127, 1, false}, {-128, 1, false},
    };
    for (const ShowCase& c : cases) {
        EXPECT_EQ(ShowWindowForMode(c.show), c.showWindow) << "show " << c.show;
        EXPECT_EQ(IsCaptureMode(c.show), c.capture) << "show " << c.show;
    }
}

struct LogCase {
    int mode;
    unsigned long exitCode;
    LogAction action;
    bool logged;
};

TEST(LogDecision, ModeAndExitCode) {
    const LogCase cases[] = {
        {0, 0, LogAction::kNothing, false}, {0, 3, LogAction::kNothing, false},
        {1, 0, LogAction::kOpen, true},     {1, 3, LogAction::kOpen, true},
        {2, 0, LogAction::kNothing, true},  {2, 3, LogAction::kOpen, true},
        {2, 0xC0000005ul, LogAction::kOpen, true},
        {3, 0, LogAction::kAsk, true},      {3, 3, LogAction::kAsk, true},
        {4, 3, LogAction::kNothing, true},  {-1, 3, LogAction::kNothing, true},
        {127, 0, LogAction::kNothing, true},
    };
    for (const LogCase& c : cases) {
        EXPECT_EQ(LogActionFor(c.mode, c.exitCode), c.action) << "mode " << c.mode << " exit " << c.exitCode;
        EXPECT_EQ(IsLogged(c.mode), c.logged) << "mode " << c.mode;
    }
}

// ---- Paths

struct SplitExtensionRow {
    const char* path;
    const char* base;
    const char* extension;
};

const SplitExtensionRow kSplitExtensionRows[] = {
    {"C:\\Tools\\Brisolt.exe", "C:\\Tools\\Brisolt", ".exe"},
    {"paper.tex", "paper", ".tex"},
    {"archive.tar.gz", "archive.tar", ".gz"},
    {"C:\\Tools.d\\Brisolt", "C:\\Tools.d\\Brisolt", ""},
    {"C:\\Tools\\Brisolt", "C:\\Tools\\Brisolt", ""},
    {"noextension", "noextension", ""},
    {"C:\\dir\\.hidden", "C:\\dir\\", ".hidden"},
    {"name.", "name", "."},
    {"", "", ""},
};

TEST(SplitExtension, Table) {
    for (const SplitExtensionRow& row : kSplitExtensionRows) {
        SCOPED_TRACE(row.path);
        char base[64] = "stale";
        char extension[16] = "stale";
        SplitExtension(row.path, base, sizeof base, extension, sizeof extension);
        EXPECT_STREQ(base, row.base);
        EXPECT_STREQ(extension, row.extension);
    }
}

TEST(SplitExtension, BaseMayBeThePathItself) {
    for (const SplitExtensionRow& row : kSplitExtensionRows) {
        SCOPED_TRACE(row.path);
        char path[64];
        std::snprintf(path, sizeof path, "%s", row.path);
        char extension[16] = "stale";
        SplitExtension(path, path, sizeof path, extension, sizeof extension);
        EXPECT_STREQ(path, row.base);
        EXPECT_STREQ(extension, row.extension);
    }
}

TEST(SplitExtension, EitherOutputMayBeLeftOut) {
    char base[32] = "stale";
    SplitExtension("a\\b.c", base, sizeof base, nullptr, 0);
    EXPECT_STREQ(base, "a\\b");
    char extension[8] = "stale";
    SplitExtension("a\\b.c", nullptr, 0, extension, sizeof extension);
    EXPECT_STREQ(extension, ".c");
}

TEST(SplitExtension, OutputsAreCutToTheirRoom) {
    char base[6];
    char extension[4];
    SplitExtension("abcdefgh.html", base, sizeof base, extension, sizeof extension);
    EXPECT_STREQ(base, "abcde");
    EXPECT_STREQ(extension, ".ht");
}

struct ReplaceRow {
    const char* path;
    const char* name;
    const char* expected;
};

const ReplaceRow kReplaceRows[] = {
    {"C:\\Tools\\Brisolt", "corvane.exe", "C:\\Tools\\corvane.exe"},
    {"Z:\\work\\main\\build\\bin\\Brisolt", "corvane.exe", "Z:\\work\\main\\build\\bin\\corvane.exe"},
    {"C:\\Tools\\", "corvane.exe", "C:\\Tools\\corvane.exe"},
    {"Brisolt", "corvane.exe", "corvane.exe"},
    {"", "corvane.exe", "corvane.exe"},
};

TEST(ReplaceFileName, Table) {
    for (const ReplaceRow& row : kReplaceRows) {
        SCOPED_TRACE(row.path);
        char path[64];
        std::snprintf(path, sizeof path, "%s", row.path);
        ReplaceFileName(path, sizeof path, row.name);
        EXPECT_STREQ(path, row.expected);
    }
}

TEST(ReplaceFileName, CutToTheRoom) {
    char path[16] = "C:\\longdir\\x";
    ReplaceFileName(path, sizeof path, "corvane.exe");
    EXPECT_STREQ(path, "C:\\longdir\\corv");
}

TEST(ReplaceFileName, UnterminatedPathStaysInsideItsRoom) {
    char block[12];
    std::memset(block, '#', sizeof block);
    std::memcpy(block, "ab\\cdefg", 8);  // 8 bytes of room, no NUL
    ReplaceFileName(block, 8, "xy");
    EXPECT_STREQ(block, "ab\\xy");
    for (std::size_t i = 8; i < sizeof block; ++i) EXPECT_EQ(block[i], '#') << "byte " << i;
}

}  // namespace
