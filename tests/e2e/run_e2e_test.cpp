// The built Brisolt.exe running commands end to end: presses from outside, watched children and the
// close question, the exit status, "Last file"/"LastDir" and the log folder at exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/brisolt_process.h"
#include "support/dialog_watcher.h"
#include "support/environment.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/wait.h"
#include "support/window_text.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;

// One test's world: its own folder, settings file, main file and temporary folder.
class RunEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        ASSERT_TRUE(Exists(tmp_));
        WriteWhole(mainFile_, "\\relax\n");
    }

    void WriteSettings(const std::string& buttons) {
        WriteWhole(ini_, "[Options]\r\nRows=1\r\nCols=4\r\nLastDir=C:\\old\r\n[Buttons]\r\n" + buttons);
    }

    std::string Sleeper() const { return ExeFolder() + "fixture_sleeper.exe"; }
    std::string Arguments() const { return "/i \"" + ini_ + "\" \"" + mainFile_ + "\""; }
    std::string Option(const char* key) const { return IniValue(ini_, "Options", key); }

    // Presses bar button `index` from outside, as a click does.
    static void Press(const BrisoltProcess& brisolt, int index) {
        brisolt.Post(WM_COMMAND, MAKEWPARAM(500 + index, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(brisolt.MainWindow(), 500 + index)));
    }

    // Answers the close question and returns its text.
    static std::string Answer(const BrisoltProcess& brisolt, int answer) {
        DialogWatcher question({"Brisolt"}, answer, 10000, brisolt.ProcessId());
        return question.Wait(10000) ? question.text() : "<no question>";
    }

    TempFolder folder_{"brisolt_run_e2e"};
    const std::string tmp_ = MakeFolder(folder_.File("tmp"));
    const std::string ini_ = folder_.File("Brisolt.ini");
    const std::string mainFile_ = folder_.File("paper.tex");
    // The started Brisolt.exe inherits TMP and TEMP; both are put back after the test.
    const ScopedVariable tmpVariable_{"TMP", tmp_.c_str()}, tempVariable_{"TEMP", tmp_.c_str()};
};

TEST_F(RunEndToEnd, WaitedRunWorksOnTheMainFileInItsFolder) {
    WriteSettings("Command1=cmd\r\nOptions1=/c echo %@n%> out.txt\r\nWait1=1\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments()));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    Press(brisolt, 0);
    const std::string out = folder_.File("out.txt");
    ASSERT_TRUE(WaitFor([&] { return Exists(out); }, 15000));
    Sleep(300);
    EXPECT_EQ(ReadWhole(out), "paper\r\n");
    brisolt.Post(WM_SYSCOMMAND, SC_CLOSE);
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST_F(RunEndToEnd, OneWatchedChildAsksInTheSingularAndNoKeepsTheBar) {
    // Logged, not waited for, exit code 0 with "On error": watched, and nothing shown afterwards.
    WriteSettings("Command1=" + Sleeper() + "\r\nOptions1=2500 0 finished\r\nLog1=2\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments()));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    Press(brisolt, 0);
    const std::string log = tmp_ + "\\Brisolt1\\log1.txt";
    ASSERT_TRUE(WaitFor([&] { return Exists(log); }, 10000));
    brisolt.Post(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(Answer(brisolt, IDNO), "Waiting for a child process to end.\nOK to leave it unattended?");
    Sleep(500);
    EXPECT_TRUE(brisolt.IsRunning());

    // Once the child has ended the bar closes at once, and its logs and folder go with it.
    ASSERT_TRUE(WaitFor([&] { return LogClosed(log); }, 20000));
    Sleep(500);  // the watch thread's last steps after the wrapper has ended
    brisolt.Post(WM_SYSCOMMAND, SC_CLOSE);
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(Exists(log));
    EXPECT_FALSE(Exists(tmp_ + "\\Brisolt1"));
    EXPECT_EQ(Option("Last file"), mainFile_);
    EXPECT_EQ(Option("LastDir"), "");
}

TEST_F(RunEndToEnd, ThreeWatchedChildrenAreTheExitStatus) {
    WriteSettings("Command1=" + Sleeper() + "\r\nOptions1=12000 0\r\nLog1=2\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments()));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    // Quick repeated presses: every run is counted once and keeps a log of its own.
    for (int i = 0; i < 3; ++i) Press(brisolt, 0);
    for (const char* name : {"log1.txt", "log2.txt", "log3.txt"})
        ASSERT_TRUE(WaitFor([&] { return Exists(tmp_ + "\\Brisolt1\\" + name); }, 10000)) << name;
    brisolt.Post(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(Answer(brisolt, IDYES), "Waiting for 3 child processes to end.\nOK to leave them unattended?");
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 3u);
    EXPECT_EQ(Option("Last file"), mainFile_);
    EXPECT_EQ(Option("LastDir"), "");
    // The wrappers still write their logs: those files are in use and stay behind.
    EXPECT_TRUE(Exists(tmp_ + "\\Brisolt1\\log1.txt"));
    // Let the children finish before the next test.
    for (const char* name : {"log1.txt", "log2.txt", "log3.txt"})
        EXPECT_TRUE(WaitFor([&] { return LogClosed(tmp_ + "\\Brisolt1\\" + name); }, 30000)) << name;
}

TEST_F(RunEndToEnd, TexErrorsGoOnTopOfTheLogAndIntoTheEnvironmentUntilACleanRun) {
    const std::string output = "(./paper.tex\r\n! Undefined control sequence.\r\nl.3 \\foo\r\n"
                               "./sub/ch1.tex:7: Missing $ inserted.\r\n";
    WriteSettings("Command1=" + Sleeper() +
                  "\r\nOptions1=--print 1 \"(./paper.tex\" \"! Undefined control sequence.\" \"l.3 \\foo\" "
                  "\"./sub/ch1.tex:7: Missing $ inserted.\"\r\nLog1=3\r\n"
                  "Command2=cmd\r\nOptions2=/c set BrisoltError> vars.txt\r\nWait2=1\r\n"
                  "Command3=" + Sleeper() + "\r\nOptions3=--print 0 \"all well\"\r\nLog3=3\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments()));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    const std::string vars = folder_.File("vars.txt");
    // A run, its "Show log file?" answered No; then what the programs a button starts are given.
    const auto run = [&](int button) {
        DialogWatcher question({"Brisolt"}, IDNO, 15000, brisolt.ProcessId());
        Press(brisolt, button);
        EXPECT_TRUE(question.Wait(15000)) << button;
        DeleteFileA(vars.c_str());
        Press(brisolt, 1);
        EXPECT_TRUE(WaitFor([&] { return Exists(vars); }, 15000));
        Sleep(300);
        return ReadWhole(vars);
    };

    EXPECT_EQ(run(0), "BrisoltErrorFile=" + mainFile_ + "\r\nBrisoltErrorLine=3\r\n");
    const std::string log = ReadWhole(tmp_ + "\\Brisolt1\\log1.txt");
    const std::string summary = "Errors found in the output: 2\r\n" + mainFile_ + ":3: Undefined control sequence.\r\n" +
                                folder_.File("sub\\ch1.tex") + ":7: Missing $ inserted.\r\n" + std::string(70, '-') + "\r\n";
    ASSERT_EQ(log.substr(0, summary.size()), summary) << log;
    // Below it the log as the wrapper wrote it.
    const std::string written = log.substr(summary.size());
    EXPECT_EQ(written.rfind("corvane: running ", 0), 0u) << written;
    EXPECT_NE(written.find("\r\n" + output + "corvane: exit code 1\r\n"), std::string::npos) << written;

    EXPECT_EQ(run(2).find("BrisoltError"), std::string::npos) << "a clean run clears both";
    EXPECT_EQ(ReadWhole(tmp_ + "\\Brisolt1\\log2.txt").rfind("corvane: running ", 0), 0u) << "and keeps its log as it is";
    EXPECT_EQ(brisolt.Close(kExitTimeoutMs), std::optional<DWORD>(0));
}

}  // namespace

// A main file named with Greek and Cyrillic letters, which the Western code page lacks, given on the
// command line as the shell gives it: in wide characters.
class ForeignMainFile : public RunEndToEnd {
protected:
    // Button 1 reports whether the main file it is given, as stored, opens.
    void WriteOpeningButton(const std::string& options) {
        WriteWhole(ini_, "[Options]\r\nRows=1\r\nCols=4\r\n" + options + "[Buttons]\r\nCommand1=\"" + Sleeper() +
                             "\"\r\nOptions1=--open \"%@%\" \"" + report_ + "\"\r\nUse long names1=1\r\n");
    }
    std::wstring WideArguments(const std::wstring& mainFile) const {
        return L"/i \"" + Widen(ini_) + L"\" \"" + mainFile + L"\"";
    }
    // Presses button 1 and returns the run's report.
    std::string Report(const BrisoltProcess& brisolt) {
        Press(brisolt, 0);
        WaitFor([&] { const std::string text = ReadWhole(report_); return !text.empty() && text.back() == '\n'; },
                15000);
        return ReadWhole(report_);
    }

    const std::string report_ = folder_.File("report.txt");
    const std::wstring foreign_ =
        Widen(folder_.path()) + L"\\\u0394\u03bf\u03ba\u03b9\u03bc\u03ae \u0442\u0435\u0441\u0442.tex";
};

TEST_F(ForeignMainFile, TheRunReceivesANameThatOpensTheFile) {
    ASSERT_TRUE(WriteWholeWide(foreign_, "\\relax\n"));
    const std::string shortForm = ShortPathOf(foreign_);
    ASSERT_FALSE(shortForm.empty());
    WriteOpeningButton("");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.StartWide(WideArguments(foreign_)));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    EXPECT_EQ(WindowTitle(brisolt.MainWindow()), shortForm + " - Brisolt");
    EXPECT_EQ(Report(brisolt), "opened " + shortForm + "\r\n");
    EXPECT_EQ(brisolt.Close(kExitTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(Option("Last file"), shortForm);
}

TEST_F(ForeignMainFile, WithoutAShortFormTheUserIsToldAndTheBarOpensAsWithoutAFile) {
    // The file does not exist, so it has no short form either: the bar opens on the last file.
    WriteOpeningButton("Last file=" + mainFile_ + "\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.StartWide(WideArguments(foreign_)));
    DialogWatcher box({"Error in Brisolt"}, IDOK, kWindowTimeoutMs, brisolt.ProcessId());
    ASSERT_TRUE(box.Wait(kWindowTimeoutMs));
    EXPECT_NE(box.wideText().find(foreign_), std::wstring::npos) << Narrow(box.wideText());
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    EXPECT_EQ(WindowTitle(brisolt.MainWindow()), mainFile_ + " - Brisolt");
    EXPECT_EQ(Report(brisolt), "opened " + mainFile_ + "\r\n");
    EXPECT_EQ(brisolt.Close(kExitTimeoutMs), std::optional<DWORD>(0));
}
