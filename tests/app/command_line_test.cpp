// The command-line scanner: argument splitting, the /i and /d options, the main file, and path pieces.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Every argument of one scan, as text.
std::vector<std::string> Arguments(std::string line) {
    std::vector<std::string> result;
    ArgumentScanner scanner;
    for (char* argument = NextArgument(scanner, line.data()); argument; argument = NextArgument(scanner, nullptr)) {
        result.emplace_back(argument);
        if (result.size() > 64) break;  // a scanner that never ends fails below instead of hanging
    }
    return result;
}

struct SplitRow {
    const char* name;
    std::string line;
    std::vector<std::string> expected;
};

const SplitRow kSplitRows[] = {
    {"empty line", "", {}},
    {"only white space", " \t  \r\n", {}},
    {"one argument", "paper.tex", {"paper.tex"}},
    {"blanks around and between", "   a   b  ", {"a", "b"}},
    {"quoted with a blank", "\"my paper.tex\"", {"my paper.tex"}},
    {"quoted then touching text", "\"a b\"c", {"a b", "c"}},
    {"empty quotes", "\"\" x", {"", "x"}},
    {"quote without partner", "\"my paper.tex", {"\"my", "paper.tex"}},
    {"a blank further on wins over an earlier tab", "a\tb c", {"a\tb", "c"}},
    {"a tab only when no blank follows", "a\tb", {"a", "b"}},
    {"quote inside an argument is kept", "a\"b c", {"a\"b", "c"}},
    {"quoted after plain", "/i \"C:\\My Files\\b.ini\" x.tex", {"/i", "C:\\My Files\\b.ini", "x.tex"}},
};

TEST(NextArgument, SplitTable) {
    for (const SplitRow& row : kSplitRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Arguments(row.line), row.expected);
    }
}

// The same line in wide characters (the rows are plain ASCII).
std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::vector<std::wstring> WideArguments(std::wstring line) {
    std::vector<std::wstring> result;
    WideArgumentScanner scanner;
    for (wchar_t* argument = NextArgument(scanner, line.data()); argument; argument = NextArgument(scanner, nullptr)) {
        result.emplace_back(argument);
        if (result.size() > 64) break;
    }
    return result;
}

TEST(NextArgument, TheWideLineSplitsAsTheNarrowOne) {
    for (const SplitRow& row : kSplitRows) {
        SCOPED_TRACE(row.name);
        std::vector<std::wstring> expected;
        for (const std::string& argument : row.expected) expected.push_back(Widen(argument));
        EXPECT_EQ(WideArguments(Widen(row.line)), expected);
    }
    // Letters beyond ASCII are plain letters; white space beyond ASCII separates nothing, as a byte
    // of the ANSI line with the high bit set does not.
    EXPECT_EQ(WideArguments(L"\"C:\\\u0394\u043e\u043a \u03b1.tex\" \u03b2\u00a0\u3000x"),
              (std::vector<std::wstring>{L"C:\\\u0394\u043e\u043a \u03b1.tex", L"\u03b2\u00a0\u3000x"}));
}

TEST(NextArgument, ArgumentsPointIntoTheTextItself) {
    char line[] = "ab cd";
    ArgumentScanner scanner;
    char* first = NextArgument(scanner, line);
    char* second = NextArgument(scanner, nullptr);
    EXPECT_EQ(first, line);
    EXPECT_EQ(second, line + 3);
    EXPECT_EQ(line[2], '\0');
    EXPECT_EQ(NextArgument(scanner, nullptr), nullptr);
    EXPECT_EQ(NextArgument(scanner, nullptr), nullptr);
}

TEST(NextArgument, NullBeforeAnyText) {
    ArgumentScanner scanner;
    EXPECT_EQ(NextArgument(scanner, nullptr), nullptr);
}

struct ScanRow {
    const char* name;
    std::string line;
    const char* settingsFile;
    const char* defaultFolder;
    const char* mainFile;
};

const ScanRow kScanRows[] = {
    {"empty", "", "", "", ""},
    {"settings and main file", "/i c:\\a.ini paper.tex", "c:\\a.ini", "", "paper.tex"},
    {"upper-case option", "/I c:\\a.ini paper.tex", "c:\\a.ini", "", "paper.tex"},
    {"dash option", "-i c:\\a.ini paper.tex", "c:\\a.ini", "", "paper.tex"},
    {"upper-case dash option", "-I c:\\a.ini", "c:\\a.ini", "", ""},
    {"default folder", "/d C:\\Work x.tex", "", "C:\\Work", "x.tex"},
    {"both options after the main file", "x.tex -D C:\\W /i b.ini", "b.ini", "C:\\W", "x.tex"},
    {"a second /i is an ordinary argument", "/i one.ini /i two.ini", "one.ini", "", "/i"},
    {"a second /d is an ordinary argument", "/d A /d B", "", "A", "/d"},
    {"an option at the end is the main file", "/i", "", "", "/i"},
    {"an option at the end after a main file is ignored", "x.tex /d", "", "", "x.tex"},
    {"more than one main file", "x.tex y.tex", "", "", "x.tex"},
    {"quoted values", "/i \"my settings.ini\" \"my paper.tex\"", "my settings.ini", "", "my paper.tex"},
    {"/i takes whatever follows", "/i /d x", "/d", "", "x"},
    {"lookalikes are plain arguments", "/ii a /dd b", "", "", "/ii"},
};

// Each row also finds the main file's argument in the wide command line, where a name the code page
// cannot write is taken from.
TEST(ScanCommandLine, OptionTable) {
    for (const ScanRow& row : kScanRows) {
        SCOPED_TRACE(row.name);
        std::string line = row.line;
        StartupArguments arguments;
        ScanCommandLine(line.data(), arguments);
        EXPECT_STREQ(arguments.settingsFile, row.settingsFile);
        EXPECT_STREQ(arguments.defaultFolder, row.defaultFolder);
        EXPECT_STREQ(arguments.mainFile, row.mainFile);
        std::wstring wide = Widen(row.line);
        const wchar_t* found = ArgumentAt(wide.data(), arguments.mainFileArgument);
        if (row.mainFile[0] == '\0') {
            EXPECT_EQ(arguments.mainFileArgument, -1);
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(std::wstring(found), Widen(row.mainFile));
        }
    }
}

TEST(ScanCommandLine, TheMainFilesNumberCountsEveryArgument) {
    // An empty quoted argument does not fill the main file; the next one does.
    std::string line = "\"\" /d x y.tex";
    StartupArguments arguments;
    ScanCommandLine(line.data(), arguments);
    EXPECT_EQ(arguments.mainFileArgument, 3);
    std::wstring tooFew = L"a b";
    EXPECT_EQ(ArgumentAt(tooFew.data(), 2), nullptr);
}

struct ProgramNameRow {
    const char* name;
    std::wstring line;
    std::wstring rest;
};

const ProgramNameRow kProgramNameRows[] = {
    {"quoted with blanks", L"\"C:\\My Tools\\Brisolt.exe\"  /i a.ini x.tex", L"/i a.ini x.tex"},
    {"plain", L"C:\\Tools\\Brisolt.exe x.tex", L"x.tex"},
    {"letters beyond ASCII in the plain name", L"C:\\\u0394\\Brisolt.exe \u03b1.tex", L"\u03b1.tex"},
    {"quote touching the next argument", L"\"Brisolt.exe\"x.tex", L"x.tex"},
    {"quote without partner", L"\"C:\\My Tools\\Brisolt.exe x.tex", L""},
    {"name alone", L"Brisolt.exe", L""},
    {"name and white space", L"Brisolt.exe \t ", L""},
};

TEST(SkipProgramName, Table) {
    for (const ProgramNameRow& row : kProgramNameRows) {
        SCOPED_TRACE(row.name);
        std::wstring line = row.line;
        EXPECT_EQ(std::wstring(SkipProgramName(line.data())), row.rest);
    }
}

TEST(ScanCommandLine, LongArgumentsAreCutToTheField) {
    const std::string ini(1000, 'i');
    const std::string folder(1000, 'd');
    const std::string main(1000, 'm');
    std::string line = "/i " + ini + " /d " + folder + " " + main;
    StartupArguments arguments;
    ScanCommandLine(line.data(), arguments);
    EXPECT_EQ(std::string(arguments.settingsFile), ini.substr(0, 259));
    EXPECT_EQ(std::string(arguments.defaultFolder), folder.substr(0, 259));
    EXPECT_EQ(std::string(arguments.mainFile), main.substr(0, 259));
    EXPECT_TRUE(arguments.settingsFileTooLong);
}

struct TooLongRow {
    const char* name;
    std::string line;
    bool tooLong;
};

const std::string kName259 = "C:\\" + std::string(252, 's') + ".ini";
const std::string kName260 = "C:\\" + std::string(253, 's') + ".ini";
const std::string kBlanks300 = "C:\\My Settings\\" + std::string(281, 'b') + ".ini";

const TooLongRow kTooLongRows[] = {
    {"no settings file", "x.tex", false},
    {"a settings name of 259 characters fits", "/i " + kName259 + " x.tex", false},
    {"one of 260 does not", "/i " + kName260 + " x.tex", true},
    {"the dash form, quoted with blanks", "-I \"" + kBlanks300 + "\"", true},
    {"after the main file", "x.tex /i " + kName260, true},
    {"a long default folder is only cut", "/d " + kName260 + " x.tex", false},
    {"a long main file is only cut", kName260, false},
    {"a second /i is the main file, however long", "/i a.ini /i " + kName260, false},
    {"a long name after a second /i is ignored", "/i a.ini x.tex /i " + kName260, false},
};

TEST(ScanCommandLine, SettingsNameTooLong) {
    ASSERT_EQ(kName259.size(), 259u);
    for (const TooLongRow& row : kTooLongRows) {
        SCOPED_TRACE(row.name);
        std::string line = row.line;
        StartupArguments arguments;
        ScanCommandLine(line.data(), arguments);
        EXPECT_EQ(arguments.settingsFileTooLong, row.tooLong);
    }
}

TEST(ScanCommandLine, ArgumentOfExactlyTheFieldWidthFits) {
    const std::string main(259, 'm');
    std::string line = main;
    StartupArguments arguments;
    ScanCommandLine(line.data(), arguments);
    EXPECT_EQ(std::string(arguments.mainFile), main);
}

TEST(TakeOptionValue, KeepsAFilledTarget) {
    char line[] = "/i a.ini";
    ArgumentScanner scanner;
    char* argument = NextArgument(scanner, line);
    char target[16] = "set";
    EXPECT_FALSE(TakeOptionValue(scanner, target, sizeof target, argument, "/i", "-i"));
    EXPECT_STREQ(target, "set");
    // Nothing was consumed: the value is still the next argument.
    EXPECT_STREQ(NextArgument(scanner, nullptr), "a.ini");
}

TEST(TakeOptionValue, TellsWhetherTheValueWasCut) {
    struct Row {
        const char* line;
        bool taken;
        bool cut;
    };
    const Row rows[] = {{"/i abc", true, false}, {"/i abcd", true, true}, {"/i", false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::string line = row.line;
        ArgumentScanner scanner;
        char* argument = NextArgument(scanner, line.data());
        char target[4] = "";
        bool cut = false;
        EXPECT_EQ(TakeOptionValue(scanner, target, sizeof target, argument, "/i", "-i", &cut), row.taken);
        EXPECT_EQ(cut, row.cut);
    }
}

TEST(TakeOptionValue, OptionAtTheEndConsumesNothing) {
    char line[] = "-d";
    ArgumentScanner scanner;
    char* argument = NextArgument(scanner, line);
    char target[16] = "";
    EXPECT_FALSE(TakeOptionValue(scanner, target, sizeof target, argument, "/d", "-d"));
    EXPECT_STREQ(target, "");
    EXPECT_EQ(NextArgument(scanner, nullptr), nullptr);
}

}  // namespace
