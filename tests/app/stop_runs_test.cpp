// The bar's "Stop running commands" item under Wine: a watched run and everything it started end when the
// user says Yes, the log says so, the count falls and closing no longer asks; No and ended runs are left be.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar_test_support.h"
#include "exec/launch.h"
#include "exec/watched_runs.h"
#include "exec/logs.h"
#include "res/resource.h"
#include "support/process_family.h"
#include "support/test_files.h"

namespace {

// The logs the bar opened, as the shell would have been asked to.
struct OpenedLogs {
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<std::string> files;
};
OpenedLogs g_opened;

void RecordOpenedLog(const char* file) {
    AcquireSRWLockExclusive(&g_opened.lock);
    g_opened.files.push_back(file);
    ReleaseSRWLockExclusive(&g_opened.lock);
}

std::vector<std::string> LogsOpened() {
    AcquireSRWLockExclusive(&g_opened.lock);
    std::vector<std::string> files = g_opened.files;
    ReleaseSRWLockExclusive(&g_opened.lock);
    return files;
}

// The log in the bar's log folder that holds `text`, or an empty name.
std::string LogHolding(const std::string& text) {
    const std::string folder = LogFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\log*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    std::string name;
    do {
        const std::string candidate = folder + "\\" + found.cFileName;
        if (ReadWhole(candidate).find(text) != std::string::npos) name = candidate;
    } while (name.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return name;
}

bool StopItemGreyed(HWND bar) {
    HMENU menu = GetSystemMenu(bar, FALSE);
    // What opening the system menu sends the bar.
    SendMessageA(bar, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    return (GetMenuState(menu, IDM_STOP_RUNS, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

void PressBarButton(HWND bar, int index) {
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(IDC_BAR_FIRST + index, BN_CLICKED), 0);
}

// Button 1 runs the family logged "On error" and unwaited; button 2 a program that ends at once.
class StopRuns : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Exists(ExeFolder() + "corvane.exe")) GTEST_SKIP() << "corvane.exe is not built beside the test";
        pidFile_ = settings_.folder() + "\\pids.txt";
        settings_.Write("Options", "Rows", "1");
        settings_.Write("Options", "Cols", "2");
        settings_.Write("Buttons", "Command1", (ExeFolder() + "fixture_family.exe").c_str());
        settings_.Write("Buttons", "Options1", pidFile_.c_str());
        settings_.Write("Buttons", "Log1", "2");
        settings_.Write("Buttons", "Command2", (ExeFolder() + "fixture_sleeper.exe").c_str());
        settings_.Write("Buttons", "Options2", "0 0 done");
        settings_.Write("Buttons", "Log2", "2");
        g_opened.files.clear();
        SetLogOpener(RecordOpenedLog);
    }
    void TearDown() override {
        SetLogOpener(nullptr);
        DeleteLogFiles();
    }

    TempSettings settings_{""};
    std::string pidFile_;
};

TEST_F(StopRuns, YesEndsTheRunAndAllItStartedLogsItAndClosingNoLongerAsks) {
    BarRun bar(settings_.path(), "C:\\x.tex");
    EXPECT_TRUE(StopItemGreyed(bar.window())) << "nothing is watched yet";

    // A run that has ended by itself before the stop.
    PressBarButton(bar.window(), 1);
    std::string ended;
    ASSERT_TRUE(WaitFor([&] { return !(ended = LogHolding("done")).empty() && WatchedRunCount() == 0; }, 20000));

    PressBarButton(bar.window(), 0);
    ProcessFamily family;
    ASSERT_TRUE(family.Open(pidFile_));
    ASSERT_TRUE(WaitFor([] { return !LogHolding("waiting").empty(); }, 20000));
    EXPECT_EQ(WatchedRunCount(), 1);
    EXPECT_FALSE(StopItemGreyed(bar.window()));

    DialogWatcher question({"Brisolt"}, IDYES, 10000);
    PostMessageA(bar.window(), WM_SYSCOMMAND, IDM_STOP_RUNS, 0);
    ASSERT_TRUE(question.Wait(10000));
    EXPECT_NE(question.text().find(": 1\n"), std::string::npos) << question.text();

    EXPECT_TRUE(family.Ended(10000)) << "child and grandchild end with the run's job";
    ASSERT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 10000));
    const std::string log = LogHolding("waiting");
    EXPECT_NE(ReadWhole(log).find("waiting\r\nstopped by the user\r\n"), std::string::npos) << ReadWhole(log);
    ASSERT_EQ(LogsOpened().size(), 1u) << "a stopped run failed: On error shows its log, and only its";
    EXPECT_EQ(ShortPath(LogsOpened()[0]), ShortPath(log));
    EXPECT_EQ(ReadWhole(ended).find("stopped"), std::string::npos) << "the run that had ended is untouched";
    EXPECT_TRUE(StopItemGreyed(bar.window()));

    PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(bar.WaitClosed(5000)) << "no close question comes";
    EXPECT_EQ(question.answered(), 1);
}

TEST_F(StopRuns, NoStopsNothing) {
    BarRun bar(settings_.path(), "C:\\x.tex");
    PressBarButton(bar.window(), 0);
    ProcessFamily family;
    ASSERT_TRUE(family.Open(pidFile_));

    DialogWatcher question({"Brisolt"}, IDNO, 10000);
    PostMessageA(bar.window(), WM_SYSCOMMAND, IDM_STOP_RUNS, 0);
    ASSERT_TRUE(question.Wait(10000));
    Sleep(500);
    EXPECT_TRUE(family.Running());
    EXPECT_EQ(WatchedRunCount(), 1);
    EXPECT_FALSE(StopItemGreyed(bar.window()));
    const std::string log = LogHolding("waiting");
    EXPECT_EQ(ReadWhole(log).find("stopped"), std::string::npos);
    EXPECT_TRUE(LogsOpened().empty());

    // Ended from outside, the run is no stopped one: its log gets no line.
    TerminateProcess(family.child, 3);
    TerminateProcess(family.grandchild, 3);
    EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 10000));
    EXPECT_EQ(ReadWhole(log).find("stopped"), std::string::npos);
}

}  // namespace
