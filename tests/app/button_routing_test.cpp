// Buttons that run others in turn, the Stop button and the pressed look of busy buttons, in the real bar
// under Wine with runs through the log wrapper.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "bar_test_support.h"
#include "exec/logs.h"
#include "exec/watched_runs.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "support/test_files.h"

namespace {

// How many logs the bar opened; window and watch threads both count.
std::atomic<int> g_opened{0};
void CountOpenedLog(const char*) { ++g_opened; }

void Press(HWND bar, int index) {
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(IDC_BAR_FIRST + index, BN_CLICKED), 0);
}

bool Pressed(HWND bar, int index) {
    return (SendDlgItemMessageA(bar, IDC_BAR_FIRST + index, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

// What the bar's tooltip would show for button `index`.
std::string TooltipText(HWND bar, int index) {
    NMTTDISPINFOA info = {};
    info.hdr.code = TTN_NEEDTEXTA;
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(bar, IDC_BAR_FIRST + index));
    SendMessageA(bar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.lpszText != nullptr ? info.lpszText : "";
}

// Buttons 1 to 3 are steps A, B and C: each waits, then adds its name to the steps file and exits with
// the code it is given. The steps are logged "On error" and not waited for, so watch threads follow them.
class RunInTurn : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Exists(ExeFolder() + "corvane.exe")) GTEST_SKIP() << "corvane.exe is not built beside the test";
        g_opened = 0;
        SetLogOpener(CountOpenedLog);
        settings_.Write("Options", "Rows", "1");
        settings_.Write("Options", "Cols", "6");
        settings_.Write("Options", "Display tips", "1");
    }
    void TearDown() override {
        SetLogOpener(nullptr);
        DeleteLogFiles();
    }

    void Key(const char* key, int button, const std::string& value) {
        settings_.Write("Buttons", (key + std::to_string(button)).c_str(), value.c_str());
    }
    void Step(int button, const char* title, int milliseconds, int exitCode) {
        Button(button, kTypeExecute, title,
               "--step \"" + steps_ + "\" " + title + " " + std::to_string(milliseconds) + " " + std::to_string(exitCode));
        Key("Command", button, ExeFolder() + "fixture_sleeper.exe");
        Key("Log", button, "2");
    }
    void Button(int button, int type, const char* title, const std::string& options) {
        Key("Type", button, std::to_string(type));
        Key("Title", button, title);
        Key("Options", button, options);
    }
    std::string Steps() const { return ReadWhole(steps_); }

    TempSettings settings_{""};
    const std::string steps_ = settings_.folder() + "\\steps.txt";
};

TEST_F(RunInTurn, EachStepStartsWhenTheOneBeforeHasEndedWell) {
    // A is slow: were B started before A's end, B would come first.
    Step(1, "A", 1500, 0);
    Step(2, "B", 0, 0);
    Step(3, "C", 0, 0);
    Button(4, kTypeRunInTurn, "Build", " a |B|| c ");
    BarRun bar(settings_.path(), "C:\\x.tex");
    Press(bar.window(), 3);
    ASSERT_TRUE(WaitFor([&] { return Pressed(bar.window(), 0); }, 10000));
    EXPECT_TRUE(Pressed(bar.window(), 3)) << "the sequence's own button is busy too";
    EXPECT_EQ(TooltipText(bar.window(), 0), "A (running)");
    ASSERT_TRUE(WaitFor([&] { return Steps() == "A\r\nB\r\nC\r\n"; }, 20000)) << Steps();
    ASSERT_TRUE(WaitFor([&] { return !Pressed(bar.window(), 3) && WatchedRunCount() == 0; }, 10000));
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(Pressed(bar.window(), k)) << k;
    EXPECT_EQ(TooltipText(bar.window(), 0), "");
    EXPECT_EQ(g_opened, 0);
}

TEST_F(RunInTurn, AFailingStepEndsTheSequenceAndAWrongTitleRunsNothing) {
    Step(1, "A", 0, 0);
    Step(2, "B", 0, 3);
    Step(3, "C", 0, 0);
    Button(4, kTypeRunInTurn, "Build", "A | B | C");
    Button(5, kTypeRunInTurn, "Typo", "A | Nope");
    Button(6, kTypeRunInTurn, "Nested", "A | Build");
    BarRun bar(settings_.path(), "C:\\x.tex");
    Press(bar.window(), 3);
    ASSERT_TRUE(WaitFor([&] { return Steps() == "A\r\nB\r\n" && !Pressed(bar.window(), 3); }, 20000)) << Steps();
    EXPECT_TRUE(WaitFor([] { return g_opened == 1; }, 10000)) << "B failed: On error shows its log";
    Sleep(1000);
    EXPECT_EQ(Steps(), "A\r\nB\r\n");

    DeleteFileA(steps_.c_str());
    for (int k : {4, 5}) {
        DialogWatcher box({"Error in Brisolt"}, IDOK, 10000);
        Press(bar.window(), k);
        ASSERT_TRUE(box.Wait(10000)) << k;
        EXPECT_EQ(box.text(), k == 4 ? "\"Typo\" cannot run \"Nope\": no button has that title."
                                     : "\"Nested\" cannot run \"Build\": that button runs buttons in turn itself.");
    }
    Sleep(500);
    EXPECT_FALSE(Exists(steps_)) << "no step ran";
    EXPECT_FALSE(Pressed(bar.window(), 4));
}

TEST_F(RunInTurn, TheStopButtonEndsTheRunAndTheSequenceAndTheButtonsComeUp) {
    Step(1, "Long", 30000, 0);
    Step(2, "After", 0, 0);
    Button(3, kTypeRunInTurn, "Build", "Long | After");
    Button(4, kTypeStopRuns, "Stop", "");
    BarRun bar(settings_.path(), "C:\\x.tex");
    Press(bar.window(), 2);
    ASSERT_TRUE(WaitFor([&] { return Pressed(bar.window(), 0) && RunningWatchedRuns() == 1; }, 10000));
    EXPECT_TRUE(Pressed(bar.window(), 2));
    EXPECT_FALSE(Pressed(bar.window(), 3));

    DialogWatcher question({"Brisolt"}, IDYES, 10000);
    Press(bar.window(), 3);
    ASSERT_TRUE(question.Wait(10000));
    EXPECT_NE(question.text().find(": 1\n"), std::string::npos) << question.text();
    ASSERT_TRUE(WaitFor([&] { return !Pressed(bar.window(), 0) && !Pressed(bar.window(), 2); }, 15000));
    EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 10000));
    Sleep(1000);
    EXPECT_FALSE(Exists(steps_)) << "neither the stopped step nor the next one wrote: " << Steps();
    PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(bar.WaitClosed(5000)) << "nothing runs, so no close question comes";
}

}  // namespace
