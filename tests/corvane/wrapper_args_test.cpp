// Tests for the log wrapper's command-line split and the lines it writes around a run's output.
#include "corvane/wrapper_args.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* name;
    const char* raw;
    bool hasLogFile;
    const char* logFile;
    const char* command;
};

const SplitCase kSplitCases[] = {
    {"short path and plain words", R"(C:\PROG~FBU\corvane.exe C:\TEMP\Brisolt1\log1.txt latex chapter1)", true,
     R"(C:\TEMP\Brisolt1\log1.txt)", "latex chapter1"},
    {"quoted program name with blanks", R"("C:\Program Files\corvane.exe" log.txt cmd /c echo hi)", true,
     "log.txt", "cmd /c echo hi"},
    {"program name ending in a backslash before its quote", R"("C:\x\"  log.txt cmd)", true, "log.txt", "cmd"},
    {"text touching the quoted program name belongs to it", R"("a b"c log.txt cmd)", true, "log.txt", "cmd"},
    {"leading blanks before the program name", "   corvane log.txt cmd", true, "log.txt", "cmd"},
    {"quoted log file with blanks", R"(corvane "C:\my logs\log 1.txt" cmd /c echo hi)", true,
     R"(C:\my logs\log 1.txt)", "cmd /c echo hi"},
    {"quotes inside the log file name only group", R"(corvane "C:\my logs"\l.txt cmd)", true,
     R"(C:\my logs\l.txt)", "cmd"},
    {"even backslashes before a quote are halved", R"(corvane "C:\dir\\" cmd)", true, R"(C:\dir\)", "cmd"},
    {"odd backslashes before a quote give a literal quote", R"(corvane a\"b cmd)", true, R"(a"b)", "cmd"},
    {"backslashes without a quote stay", R"(corvane C:\\a\\\b cmd)", true, R"(C:\\a\\\b)", "cmd"},
    {"doubled quote inside quotes is a quote", R"(corvane "a""b" cmd)", true, R"(a"b)", "cmd"},
    {"tabs and runs of blanks separate", "corvane\t  log.txt \t  cmd /c x", true, "log.txt", "cmd /c x"},
    {"command keeps its quotes and inner blanks", R"(corvane log.txt cmd /c echo "a  b"  \"c\")", true, "log.txt",
     R"(cmd /c echo "a  b"  \"c\")"},
    {"command keeps trailing blanks", "corvane log.txt latex x  ", true, "log.txt", "latex x  "},
    {"quoted command program", R"(corvane log.txt "C:\Program Files\t.exe" -x)", true, "log.txt",
     R"("C:\Program Files\t.exe" -x)"},
    {"log file without command", "corvane log.txt", true, "log.txt", ""},
    {"log file with only blanks after it", "corvane log.txt   \t", true, "log.txt", ""},
    {"no log file", "corvane", false, "", ""},
    {"only blanks after the program name", "corvane  \t ", false, "", ""},
    {"empty quoted log file names nothing", R"(corvane "" cmd)", false, "", "cmd"},
    {"empty command line", "", false, "", ""},
    {"unclosed quote in the log file runs to the end", R"(corvane "log a.txt cmd)", true, "log a.txt cmd", ""},
};

class SplitWrapperCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWrapperCommandLineTest, SplitsLogFileAndCommand) {
    const SplitCase& c = GetParam();
    char name[256];
    const corvane::WrapperArgs args = corvane::SplitWrapperCommandLine(c.raw, {}, name);
    EXPECT_EQ(args.hasLogFile, c.hasLogFile);
    if (c.hasLogFile) {
        EXPECT_EQ(args.logFile, c.logFile);
        EXPECT_EQ(args.command, c.command);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitWrapperCommandLineTest, ::testing::ValuesIn(kSplitCases),
                         [](const ::testing::TestParamInfo<SplitCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

struct OwnPathCase {
    const char* name;
    const char* raw;
    const char* ownPath;
    const char* logFile;
    const char* command;
};

const OwnPathCase kOwnPathCases[] = {
    {"unquoted own path with blanks is skipped whole",
     R"(C:\Program Files\Brisolt\corvane.exe C:\TEMP\log1.txt latex x)", R"(C:\Program Files\Brisolt\corvane.exe)",
     R"(C:\TEMP\log1.txt)", "latex x"},
    {"own path matches without regard to case", R"(c:\PROGRAM FILES\brisolt\CORVANE.EXE log.txt cmd)",
     R"(C:\Program Files\Brisolt\corvane.exe)", "log.txt", "cmd"},
    {"quoted own path follows the usual rule", R"("C:\Program Files\corvane.exe" log.txt cmd)",
     R"(C:\Program Files\corvane.exe)", "log.txt", "cmd"},
    {"short name differing from the own path follows the usual rule", R"(C:\PROGRA~1\corvane.exe log.txt cmd)",
     R"(C:\Program Files\corvane.exe)", "log.txt", "cmd"},
    {"own path as a mere prefix of the first word is no match", R"(C:\bin\corvane.exe2 log.txt cmd)",
     R"(C:\bin\corvane.exe)", "log.txt", "cmd"},
    {"own path without blanks", R"(C:\bin\corvane.exe log.txt cmd)", R"(C:\bin\corvane.exe)", "log.txt", "cmd"},
};

TEST(SplitWrapperCommandLine, SkipsItsOwnUnquotedPath) {
    for (const OwnPathCase& c : kOwnPathCases) {
        SCOPED_TRACE(c.name);
        char name[256];
        const corvane::WrapperArgs args = corvane::SplitWrapperCommandLine(c.raw, c.ownPath, name);
        ASSERT_TRUE(args.hasLogFile);
        EXPECT_EQ(args.logFile, c.logFile);
        EXPECT_EQ(args.command, c.command);
    }
}

TEST(SplitWrapperCommandLine, CommandIsTheUntouchedTailOfTheRawLine) {
    const std::string raw = "corvane \"C:\\a b\\log.txt\"   cmd /c \"echo  \"\"x\"\" \"";
    char name[256];
    const corvane::WrapperArgs args = corvane::SplitWrapperCommandLine(raw, {}, name);
    ASSERT_TRUE(args.hasLogFile);
    EXPECT_EQ(raw.substr(raw.size() - args.command.size()), args.command);
    EXPECT_EQ(args.command.rfind("cmd /c", 0), 0u);
}

struct NameRoomCase {
    const char* raw;
    std::size_t room;  // bytes for the log file's name, its zero included
    bool hasLogFile;
    const char* logFile;
};

const NameRoomCase kNameRoomCases[] = {
    {"corvane 1234567 cmd", 8, true, "1234567"},
    {"corvane 12345678 cmd", 8, false, ""},
    {R"(corvane "12 4567" cmd)", 8, true, "12 4567"},
    {R"(corvane 12\\\"567 cmd)", 8, true, R"(12\"567)"},
    {R"(corvane "12 45678" cmd)", 8, false, ""},
    {"corvane x cmd", 1, false, ""},
    {"corvane x cmd", 0, false, ""},
};

TEST(SplitWrapperCommandLine, NameTooLongForItsBufferIsNoName) {
    for (const NameRoomCase& c : kNameRoomCases) {
        SCOPED_TRACE(c.raw);
        std::vector<char> name(c.room + 1, '#');  // one guard byte after the room
        const corvane::WrapperArgs args = corvane::SplitWrapperCommandLine(c.raw, {}, name.data(), c.room);
        EXPECT_EQ(args.hasLogFile, c.hasLogFile);
        EXPECT_EQ(args.logFile, c.logFile);
        if (c.hasLogFile) {
            EXPECT_EQ(args.logFile.data()[args.logFile.size()], '\0');
        }
        EXPECT_EQ(args.command, "cmd");
        EXPECT_EQ(name[c.room], '#') << "written past the buffer";
    }
}

struct ExitCase {
    std::uint32_t code;
    const char* line;
};

const ExitCase kExitCases[] = {
    {0, "corvane: exit code 0\r\n"},
    {3, "corvane: exit code 3\r\n"},
    {259, "corvane: exit code 259\r\n"},
    {0x7FFFFFFFu, "corvane: exit code 2147483647\r\n"},
    {0x80000000u, "corvane: exit code 2147483648 (0x80000000)\r\n"},
    {0xC0000005u, "corvane: exit code 3221225477 (0xC0000005)\r\n"},
    {0xFFFFFFFFu, "corvane: exit code 4294967295 (0xFFFFFFFF)\r\n"},
};

TEST(FormatExitLine, DecimalAndHexForCrashCodes) {
    for (const ExitCase& c : kExitCases) {
        char line[corvane::kLineRoom];
        EXPECT_EQ(corvane::FormatExitLine(c.code, line), c.line) << c.code;
    }
}

TEST(FormatHeaderLine, NamesTheCommandAsGiven) {
    char line[corvane::kLineRoom];
    EXPECT_EQ(corvane::FormatHeaderLine("cmd /c echo \"a  b\"", line), "corvane: running cmd /c echo \"a  b\"\r\n");
    EXPECT_EQ(corvane::FormatHeaderLine("", line), "corvane: running \r\n");
}

struct FailureCase {
    std::uint32_t error;
    const char* systemText;
    const char* line;
};

const FailureCase kFailureCases[] = {
    {2, "The system cannot find the file specified.\r\n",
     "corvane: could not start the command: The system cannot find the file specified (error 2)\r\n"},
    {5, "Access denied", "corvane: could not start the command: Access denied (error 5)\r\n"},
    {1234, "", "corvane: could not start the command: (error 1234)\r\n"},
    {87, " .\r\n", "corvane: could not start the command: (error 87)\r\n"},
};

TEST(FormatStartFailureLine, SystemTextAndErrorNumber) {
    for (const FailureCase& c : kFailureCases) {
        char line[corvane::kLineRoom + 64];
        EXPECT_EQ(corvane::FormatStartFailureLine(c.error, c.systemText, line), c.line) << c.error;
    }
}

TEST(FormatOtherLines, EndInLineBreaks) {
    for (const std::string_view line : {corvane::FormatNoCommandLine(), corvane::FormatOutputAbandonedLine()}) {
        ASSERT_GE(line.size(), 2u);
        EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
        EXPECT_EQ(line.rfind("corvane: ", 0), 0u);
        EXPECT_EQ(line.find('\n'), line.size() - 1);
    }
}

struct CutCase {
    std::size_t room;
    const char* line;
};

// "corvane: running x\r\n" takes 20 bytes and its zero.
const CutCase kCutCases[] = {
    {21, "corvane: running x\r\n"},
    {20, "corvane: running x\r"},
    {1, ""},
    {0, ""},
};

TEST(FormatHeaderLine, LineTooLongForItsBufferIsCutThere) {
    for (const CutCase& c : kCutCases) {
        SCOPED_TRACE(c.room);
        std::vector<char> out(c.room + 1, '#');
        const std::string_view line = corvane::FormatHeaderLine("x", out.data(), c.room);
        EXPECT_EQ(line, c.line);
        if (c.room > 0) {
            EXPECT_EQ(out[line.size()], '\0');
        }
        EXPECT_EQ(out[c.room], '#') << "written past the buffer";
    }
}

TEST(FormatExitLine, CutLikeEveryLine) {
    char line[12];
    EXPECT_EQ(corvane::FormatExitLine(0xC0000005u, line), "corvane: ex");
}

struct TrimCase {
    const char* text;
    const char* trimmed;
};

const TrimCase kTrimCases[] = {
    {"Access denied.\r\n", "Access denied"},
    {"Bad path.  \r\n\r\n", "Bad path"},
    {"No trailer", "No trailer"},
    {"v1.2 failed", "v1.2 failed"},
    {"...\r\n", ""},
    {"", ""},
};

TEST(TrimSystemText, DropsTrailingBreaksBlanksAndStop) {
    for (const TrimCase& c : kTrimCases) {
        EXPECT_EQ(corvane::TrimSystemText(c.text), c.trimmed) << c.text;
    }
}

struct BreakCase {
    bool anythingWritten;
    char lastByte;
    bool needsBreak;
};

const BreakCase kBreakCases[] = {
    {false, 0, false}, {true, '\n', false}, {true, '\r', true}, {true, 'x', true}, {true, 0, true},
};

TEST(NeedsLineBreakBefore, OnlyAfterAnUnfinishedLine) {
    for (const BreakCase& c : kBreakCases) {
        EXPECT_EQ(corvane::NeedsLineBreakBefore(c.anythingWritten, c.lastByte), c.needsBreak)
            << c.anythingWritten << " " << static_cast<int>(c.lastByte);
    }
}

}  // namespace
