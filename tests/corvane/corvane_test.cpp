// Runs the built corvane.exe under Wine the way Brisolt does and checks its log, pass-through and exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "corvane/wrapper_args.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

std::string Corvane() { return ShortPath(ExeFolder() + "corvane.exe"); }
std::string Fixture() { return "\"" + ExeFolder() + "fixture_child.exe\""; }

// The wrapper's own first and last lines, as a log holds them.
std::string HeaderLine(const std::string& command) {
    std::vector<char> line(command.size() + corvane::kLineRoom);
    return std::string(corvane::FormatHeaderLine(command, line.data(), line.size()));
}

std::string ExitLine(std::uint32_t exitCode) {
    char line[corvane::kLineRoom];
    return std::string(corvane::FormatExitLine(exitCode, line));
}

// A log taken apart: its first line, its last line and everything between them.
struct LogParts {
    bool ok = false;
    std::string header, body, footer;
};

LogParts SplitLog(const std::string& log) {
    LogParts parts;
    const std::size_t headerEnd = log.find("\r\n");
    if (headerEnd == std::string::npos || log.size() < headerEnd + 4 || log.compare(log.size() - 2, 2, "\r\n") != 0) {
        return parts;
    }
    const std::size_t footerStart = log.rfind("\r\n", log.size() - 3);
    if (footerStart == std::string::npos || footerStart < headerEnd) return parts;
    parts.ok = true;
    parts.header = log.substr(0, headerEnd + 2);
    parts.body = log.substr(headerEnd + 2, footerStart + 2 - (headerEnd + 2));
    parts.footer = log.substr(footerStart + 2);
    return parts;
}

struct RunResult {
    bool finished = false;
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;
    std::string passThrough;  // what corvane wrote on its own stdout
    std::string errors;       // what corvane wrote on its own stderr
};

class CorvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Exists(temp_.path())) << temp_.path();
        folder_ = ShortPath(temp_.path()) + "\\";
        logFile_ = folder_ + "log1.txt";
    }


    // Starts line with its stdout and stderr in files of the test's folder (or none) and waits.
    // A given ownStdout (inheritable) stands in for the stdout file.
    RunResult Run(const std::string& line, DWORD timeoutMs = 60000, bool withStdHandles = true,
                  HANDLE ownStdout = nullptr) {
        RunResult result;
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        // Fresh names each run: Wine may close an ended process's inherited handles a little late.
        const std::string run = std::to_string(++runs_);
        const std::string outPath = folder_ + "stdout" + run + ".bin", errPath = folder_ + "stderr" + run + ".bin";
        HANDLE in = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
        HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(out, INVALID_HANDLE_VALUE) << GetLastError();
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        if (withStdHandles) {
            startup.hStdInput = in;
            startup.hStdOutput = ownStdout != nullptr ? ownStdout : out;
            startup.hStdError = err;
        }
        PROCESS_INFORMATION process = {};
        std::string writable = line;
        const DWORD start = GetTickCount();
        const BOOL started = CreateProcessA(nullptr, &writable[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                           nullptr, &startup, &process);
        CloseHandle(in);
        CloseHandle(out);
        CloseHandle(err);
        EXPECT_TRUE(started) << line;
        if (!started) return result;
        CloseHandle(process.hThread);
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            result.finished = true;
            GetExitCodeProcess(process.hProcess, &result.exitCode);
        } else {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        result.elapsedMs = GetTickCount() - start;
        CloseHandle(process.hProcess);
        result.passThrough = ReadWhole(outPath);
        result.errors = ReadWhole(errPath);
        return result;
    }

    // The line Brisolt composes: wrapper, log file, command.
    std::string Logged(const std::string& command) const { return Corvane() + " " + logFile_ + " " + command; }

    TempFolder temp_{"corvane_test"};
    std::string folder_;  // the short form of temp_, with its backslash
    std::string logFile_;
    int runs_ = 0;
};

TEST_F(CorvaneTest, EchoIsLoggedBetweenHeaderAndExitLineAndPassedThrough) {
    const RunResult run = Run(Logged("cmd /c echo hello"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const LogParts log = SplitLog(ReadWhole(logFile_));
    ASSERT_TRUE(log.ok) << ReadWhole(logFile_);
    EXPECT_EQ(log.header, HeaderLine("cmd /c echo hello"));
    EXPECT_EQ(log.body, "hello\r\n");
    EXPECT_EQ(log.footer, ExitLine(0));
    EXPECT_EQ(run.passThrough, "hello\r\n");
    EXPECT_EQ(run.errors, "");
}

struct ExitCase {
    const char* command;  // "%F" stands for the fixture program
    DWORD exitCode;
};

const ExitCase kExitCases[] = {
    {"cmd /c exit 0", 0},
    {"cmd /c exit 3", 3},
    {"cmd /c exit 255", 255},
    {"%F --exit 1", 1},
    {"%F --exit 70000", 70000},
    {"%F --exit 0xC0000005", 0xC0000005u},
};

std::string WithFixture(const std::string& command) {
    std::string line = command;
    const std::size_t at = line.find("%F");
    if (at != std::string::npos) line.replace(at, 2, Fixture());
    return line;
}

TEST_F(CorvaneTest, ExitCodeOfTheRunIsReturnedAndLogged) {
    for (const ExitCase& c : kExitCases) {
        SCOPED_TRACE(c.command);
        const std::string command = WithFixture(c.command);
        const RunResult run = Run(Logged(command));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, c.exitCode);
        const LogParts log = SplitLog(ReadWhole(logFile_));
        ASSERT_TRUE(log.ok);
        EXPECT_EQ(log.header, HeaderLine(command));
        EXPECT_EQ(log.body, "");
        EXPECT_EQ(log.footer, ExitLine(c.exitCode));
    }
}

struct OutputCase {
    unsigned long outBytes;
    unsigned long errBytes;
};

const OutputCase kOutputCases[] = {
    {0, 0}, {1, 0}, {0, 1}, {5000, 70000}, {65536, 65536}, {4u << 20, 4u << 20},
};

TEST_F(CorvaneTest, StdoutAndStderrAreLoggedWholeWithoutHanging) {
    for (const OutputCase& c : kOutputCases) {
        SCOPED_TRACE(std::to_string(c.outBytes) + " + " + std::to_string(c.errBytes));
        const std::string command =
            Fixture() + " --out " + std::to_string(c.outBytes) + " --err " + std::to_string(c.errBytes) + " --exit 2";
        const RunResult run = Run(Logged(command), 120000);
        ASSERT_TRUE(run.finished) << "corvane hung";
        EXPECT_EQ(run.exitCode, 2u);
        const LogParts log = SplitLog(ReadWhole(logFile_));
        ASSERT_TRUE(log.ok);
        const std::size_t total = c.outBytes + c.errBytes;
        // Output without a final line break gets one before the closing line.
        const std::size_t lineBreak = total > 0 ? 2 : 0;
        ASSERT_EQ(log.body.size(), total + lineBreak);
        EXPECT_EQ(static_cast<std::size_t>(std::count(log.body.begin(), log.body.end(), 'o')), c.outBytes);
        EXPECT_EQ(static_cast<std::size_t>(std::count(log.body.begin(), log.body.end(), 'e')), c.errBytes);
        EXPECT_EQ(log.footer, ExitLine(2));
        EXPECT_EQ(run.passThrough.size(), total);
        EXPECT_TRUE(run.passThrough == log.body.substr(0, total)) << "pass-through differs from the log";
    }
}

TEST_F(CorvaneTest, CommandLineReachesTheRunExactlyAsGiven) {
    const std::string command = Fixture() + " --echo-cmdline --  \"a  b\" \\\"c\\\"\t\"d \"\"e\"\"\"  x";
    const RunResult run = Run(Logged(command));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const LogParts log = SplitLog(ReadWhole(logFile_));
    ASSERT_TRUE(log.ok);
    EXPECT_EQ(log.header, HeaderLine(command));
    EXPECT_EQ(log.body, "<<" + command + ">>\r\n");
}

// The wrapper sizes its header line and its copy of the command by its own command line.
TEST_F(CorvaneTest, CommandLineNearTheSystemLimitComesThroughWhole) {
    const std::string command = Fixture() + " --echo-cmdline -- " + std::string(30000, 'x');
    const RunResult run = Run(Logged(command));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const LogParts log = SplitLog(ReadWhole(logFile_));
    ASSERT_TRUE(log.ok);
    EXPECT_EQ(log.header, HeaderLine(command));
    EXPECT_EQ(log.body, "<<" + command + ">>\r\n");
}

TEST_F(CorvaneTest, QuotedLogFileWithBlanksIsUsed) {
    const std::string sub = folder_ + "my logs";
    ASSERT_TRUE(Exists(MakeFolder(sub)));
    const std::string log = sub + "\\log 1.txt";
    const RunResult run = Run(Corvane() + " \"" + log + "\"   cmd /c echo blanks");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const LogParts parts = SplitLog(ReadWhole(log));
    ASSERT_TRUE(parts.ok);
    EXPECT_EQ(parts.header, HeaderLine("cmd /c echo blanks"));
    EXPECT_EQ(parts.body, "blanks\r\n");
}

TEST_F(CorvaneTest, WaitsForTheRunToEnd) {
    const RunResult run = Run(Logged(Fixture() + " --sleep 1500 --exit 7"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_GE(run.elapsedMs, 1400u);
    EXPECT_EQ(SplitLog(ReadWhole(logFile_)).footer, ExitLine(7));
}

struct OldLogCase {
    const char* name;
    const char* content;
};

const OldLogCase kOldLogCases[] = {
    {"empty, made to hold the name", ""},
    {"longer stale text", "stale stale stale stale stale stale stale stale stale stale stale stale\r\n"},
};

TEST_F(CorvaneTest, ExistingLogFileIsOverwritten) {
    for (const OldLogCase& c : kOldLogCases) {
        SCOPED_TRACE(c.name);
        WriteWhole(logFile_, c.content);
        ASSERT_TRUE(Exists(logFile_));
        const RunResult run = Run(Logged("cmd /c echo fresh"));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(ReadWhole(logFile_),
                  HeaderLine("cmd /c echo fresh") + "fresh\r\n" + ExitLine(0));
    }
}

TEST_F(CorvaneTest, UnstartableCommandFailsAndSaysWhyInTheLog) {
    const std::string command = "no_such_program_4711.exe /x";
    const RunResult run = Run(Logged(command));
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exitCode, 0u);
    EXPECT_EQ(run.exitCode, corvane::kWrapperFailureExitCode);
    const LogParts log = SplitLog(ReadWhole(logFile_));
    ASSERT_TRUE(log.ok);
    EXPECT_EQ(log.header, HeaderLine(command));
    const std::string failurePrefix = "corvane: could not start the command: ";
    EXPECT_EQ(log.body.rfind(failurePrefix, 0), 0u) << log.body;
    EXPECT_NE(log.body.find("(error 2)"), std::string::npos) << log.body;
    EXPECT_EQ(log.footer, ExitLine(corvane::kWrapperFailureExitCode));
    EXPECT_NE(run.errors.find(failurePrefix), std::string::npos);
}

TEST_F(CorvaneTest, MissingCommandFailsAndSaysSo) {
    const RunResult run = Run(Corvane() + " " + logFile_ + "   ");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, corvane::kWrapperFailureExitCode);
    const LogParts log = SplitLog(ReadWhole(logFile_));
    ASSERT_TRUE(log.ok);
    EXPECT_EQ(log.body, corvane::FormatNoCommandLine());
    EXPECT_EQ(log.footer, ExitLine(corvane::kWrapperFailureExitCode));
}

TEST_F(CorvaneTest, MissingLogFileArgumentFails) {
    const RunResult run = Run(Corvane());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, corvane::kWrapperFailureExitCode);
    EXPECT_NE(run.errors.find("usage"), std::string::npos);
}

TEST_F(CorvaneTest, UnwritableLogStillRunsTheCommand) {
    const std::string log = folder_ + "no such folder\\log1.txt";
    const RunResult run = Run(Corvane() + " \"" + log + "\" cmd /c echo still& exit 4");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 4u);
    EXPECT_EQ(run.passThrough, "still\r\n");
    EXPECT_NE(run.errors.find("cannot write the log file"), std::string::npos) << run.errors;
    EXPECT_FALSE(Exists(log));
}

TEST_F(CorvaneTest, LogsWithoutStandardHandlesOfItsOwn) {
    const RunResult run = Run(Logged(Fixture() + " --out 100000 --err 100 --exit 5"), 60000, false);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 5u);
    const LogParts log = SplitLog(ReadWhole(logFile_));
    ASSERT_TRUE(log.ok);
    EXPECT_EQ(log.body.size(), 100100u + 2u);
    EXPECT_EQ(log.footer, ExitLine(5));
}

// A process that the run leaves behind keeps the output pipe open; the wrapper must still end with the run.
TEST_F(CorvaneTest, EndsWithTheRunWhenALeftoverProcessHoldsTheOutput) {
    const RunResult run = Run(Logged(Fixture() + " --spawn-holder 60000 --out 10 --exit 6"));
    const std::string text = ReadWhole(logFile_);
    // The fixture's first output line names the holder; end it so it does not outlive the test.
    const std::size_t at = text.find("\r\nholder ");
    if (at != std::string::npos) {
        const DWORD pid = std::strtoul(text.c_str() + at + 9, nullptr, 10);
        HANDLE holder = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (holder != nullptr) {
            TerminateProcess(holder, 0);
            WaitForSingleObject(holder, 5000);
            CloseHandle(holder);
        }
    }
    ASSERT_TRUE(run.finished);
    EXPECT_LT(run.elapsedMs, 20000u);
    EXPECT_EQ(run.exitCode, 6u);
    const LogParts log = SplitLog(text);
    ASSERT_TRUE(log.ok) << text;
    EXPECT_NE(log.body.find("oooooooooo"), std::string::npos);
    EXPECT_NE(log.body.find(corvane::FormatOutputAbandonedLine()), std::string::npos) << log.body;
    EXPECT_EQ(log.footer, ExitLine(6));
}

// A console that takes no output (a user selecting text in it) may lose its copy, never the log's:
// output that fits in the wrapper's pipe must not be cut, more than that must not stop the run.
TEST_F(CorvaneTest, LogsEverythingWhileItsOwnOutputIsNotTaken) {
    for (const std::size_t bytes : {std::size_t{256} << 10, std::size_t{4} << 20}) {
        SCOPED_TRACE(bytes);
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE unread = nullptr, stuck = nullptr;
        ASSERT_TRUE(CreatePipe(&unread, &stuck, &inherit, 0));
        const RunResult run =
            Run(Logged(Fixture() + " --out " + std::to_string(bytes) + " --exit 3"), 20000, true, stuck);
        CloseHandle(stuck);
        CloseHandle(unread);
        ASSERT_TRUE(run.finished) << "corvane waited for its stdout";
        EXPECT_EQ(run.exitCode, 3u);
        const LogParts log = SplitLog(ReadWhole(logFile_));
        ASSERT_TRUE(log.ok);
        EXPECT_EQ(log.body.size(), bytes + 2);
        EXPECT_EQ(static_cast<std::size_t>(std::count(log.body.begin(), log.body.end(), 'o')), bytes);
        EXPECT_EQ(log.footer, ExitLine(3));
    }
}

}  // namespace
