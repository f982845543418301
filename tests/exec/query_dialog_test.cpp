// The real query dialog, environment and short names behind ExpandPlaceholders, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/handles.h"
#include "exec/expand_command.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/settings_records.h"
#include "support/dialog_watcher.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/window_text.h"

namespace {

constexpr char kQueryTitle[] = "Brisolt Query";
// One dialog as the watcher met it, and what it did there.
struct Step {
    const char* typed;  // nullptr: press Cancel
    std::string name;
    std::string value;
    bool found = false;
    bool readOnlyName = false;
    bool valueHasFocus = false;
    bool hasHelpButton = false;
    HWND owner = nullptr;
    RECT client = {};
    RECT expectedClient = {};
};

// Answers each dialog in turn from another thread, the way a user would; a dialog beyond the script is
// counted and cancelled, so that no test can hang.
class Watcher {
public:
    explicit Watcher(std::vector<Step>& steps) : steps_(steps) {}
    // Ends the watch; the script is complete once the expansion has returned.
    void Join() { watcher_.Stop(); }
    // Dialogs that appeared beyond the script.
    int extra() const { return extra_; }

private:
    void Answer(HWND dialog) {
        if (next_ == steps_.size()) {
            ++extra_;
            PressButton(dialog, IDCANCEL);
            return;
        }
        Step& step = steps_[next_++];
        step.found = true;
        step.name = WindowText(GetDlgItem(dialog, IDC_QUERY_NAME));
        step.value = WindowText(GetDlgItem(dialog, IDC_QUERY_VALUE));
        step.readOnlyName = (GetWindowLongPtrA(GetDlgItem(dialog, IDC_QUERY_NAME), GWL_STYLE) & ES_READONLY) != 0;
        step.hasHelpButton = GetDlgItem(dialog, IDC_HELP_BUTTON) != nullptr;
        step.owner = GetWindow(dialog, GW_OWNER);
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
            step.valueHasFocus = info.hwndFocus == GetDlgItem(dialog, IDC_QUERY_VALUE);
        }
        GetClientRect(dialog, &step.client);
        step.expectedClient = {0, 0, 228, 74};
        MapDialogRect(dialog, &step.expectedClient);
        if (step.typed) SetDlgItemTextA(dialog, IDC_QUERY_VALUE, step.typed);
        PressButton(dialog, step.typed ? IDOK : IDCANCEL);
    }

    std::vector<Step>& steps_;
    std::size_t next_ = 0;
    std::atomic<int> extra_{0};
    DialogWatcher watcher_{{kQueryTitle}, [this](HWND dialog) { Answer(dialog); }};  // last: starts at once
};

class ExpandPlaceholdersTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        owner_ = CreateWindowExA(0, "STATIC", "Brisolt owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, g_app.appInstance, nullptr);
        ASSERT_NE(owner_, nullptr);
        g_app.mainWindow = owner_;
        CopyText(g_paths.mainFile, "C:\\Papers\\Thesis\\chapter1.tex");
    }
    void TearDown() override {
        g_app.mainWindow = nullptr;
        if (owner_) DestroyWindow(owner_);
    }

    struct Outcome {
        int status = -1;
        std::string text;
    };
    Outcome Run(const char* templ, std::size_t capacity = 780) {
        std::vector<char> out(capacity, '\x7f');
        Outcome outcome;
        outcome.status = ExpandPlaceholders(templ, LongNames::kYes, out.data(), out.size()) ? 1 : 0;
        if (outcome.status == 1) outcome.text.assign(out.data(), text::BoundedLength(out.data(), out.size()));
        return outcome;
    }

    HWND owner_ = nullptr;
};

TEST_F(ExpandPlaceholdersTest, DialogShowsNameAndDefaultAndTakesTheTypedValue) {
    struct Case {
        const char* templ;
        const char* name;
        const char* initial;
        const char* typed;
        const char* expected;
    } cases[] = {
        {"--pages=%?Pages=1-10%", "Pages", "1-10", "3-4", "--pages=3-4"},
        {"-o %?Output file% x", "Output file", "", "out.pdf", "-o out.pdf x"},
        {"%?a=b=c%", "a", "b=c", "b=c", "b=c"},
        {"[%?Empty=default%]", "Empty", "default", "", "[]"},
    };
    for (const Case& c : cases) {
        std::vector<Step> steps(1);
        steps[0].typed = c.typed;
        Watcher watcher(steps);
        const Outcome outcome = Run(c.templ);
        watcher.Join();
        ASSERT_TRUE(steps[0].found) << c.templ;
        EXPECT_EQ(outcome.status, 1) << c.templ;
        EXPECT_EQ(outcome.text, c.expected) << c.templ;
        EXPECT_EQ(steps[0].name, c.name) << c.templ;
        EXPECT_EQ(steps[0].value, c.initial) << c.templ;
        EXPECT_EQ(watcher.extra(), 0) << c.templ;
    }
}

TEST_F(ExpandPlaceholdersTest, DialogMatchesItsTemplate) {
    std::vector<Step> steps(1);
    steps[0].typed = "x";
    Watcher watcher(steps);
    Run("%?Look%");
    watcher.Join();
    ASSERT_TRUE(steps[0].found);
    EXPECT_TRUE(steps[0].readOnlyName);
    EXPECT_TRUE(steps[0].valueHasFocus);
    EXPECT_TRUE(steps[0].hasHelpButton);
    EXPECT_EQ(steps[0].owner, owner_);
    EXPECT_EQ(steps[0].client.right, steps[0].expectedClient.right);
    EXPECT_EQ(steps[0].client.bottom, steps[0].expectedClient.bottom);
}

TEST_F(ExpandPlaceholdersTest, TypedValueIsCutToTheRoomLeft) {
    std::vector<Step> steps(1);
    steps[0].typed = "0123456789";
    Watcher watcher(steps);
    const Outcome outcome = Run("ab%?x%", 10);
    watcher.Join();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.text, "ab012345");
}

TEST_F(ExpandPlaceholdersTest, RepeatedNameIsAskedTwiceInOrder) {
    std::vector<Step> steps(3);
    steps[0].typed = "one";
    steps[1].typed = "two";
    steps[2].typed = "three";
    Watcher watcher(steps);
    const Outcome outcome = Run("%?A=1% %?B% %?A=1%");
    watcher.Join();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.text, "one two three");
    EXPECT_EQ(steps[0].name, "A");
    EXPECT_EQ(steps[1].name, "B");
    EXPECT_EQ(steps[2].name, "A");
    EXPECT_EQ(steps[2].value, "1");
    EXPECT_EQ(watcher.extra(), 0);
}

TEST_F(ExpandPlaceholdersTest, CancelReturnsZeroAndAsksNoMore) {
    std::vector<Step> steps(1);
    steps[0].typed = nullptr;
    Watcher watcher(steps);
    const Outcome outcome = Run("%?First% %?Second%");
    watcher.Join();
    ASSERT_TRUE(steps[0].found);
    EXPECT_EQ(steps[0].name, "First");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(watcher.extra(), 0);
}

class SystemValuesTest : public ExpandPlaceholdersTest {
protected:
    void SetUp() override {
        ExpandPlaceholdersTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        file_ = folder_.File("long report name.tex");
        HANDLE handle = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        CloseHandle(handle);
    }
    void TearDown() override {
        SetEnvironmentVariableA("BRISOLT_LONG_VALUE", nullptr);
        ExpandPlaceholdersTest::TearDown();
    }
    TempFolder folder_{"Brisolt Expansion Folder With Blanks"};
    std::string file_;
};

TEST_F(SystemValuesTest, LongEnvironmentValueComesWhole) {
    std::string value;
    for (int k = 0; k < 100; ++k) value += static_cast<char>('a' + k % 26);
    ASSERT_TRUE(SetEnvironmentVariableA("BRISOLT_LONG_VALUE", value.c_str()));
    EXPECT_EQ(Run("<%BRISOLT_LONG_VALUE%>").text, "<" + value + ">");
    EXPECT_EQ(Run("%BRISOLT_LONG_VALUE%", 102).text, value);
    EXPECT_EQ(Run("%BRISOLT_LONG_VALUE%", 101).text, "");
    ASSERT_TRUE(SetEnvironmentVariableA("BRISOLT_LONG_VALUE", ""));
    EXPECT_EQ(Run("%BRISOLT_LONG_VALUE%").text, "%BRISOLT_LONG_VALUE%");
    ASSERT_TRUE(SetEnvironmentVariableA("BRISOLT_LONG_VALUE", nullptr));
    EXPECT_EQ(Run("%BRISOLT_LONG_VALUE%").text, "%BRISOLT_LONG_VALUE%");
}

TEST_F(SystemValuesTest, ShortNamesWhenLongNamesAreOff) {
    const std::string shortName = ShortPath(file_);
    ASSERT_NE(shortName, file_) << "Wine gave no short form for a name with blanks";
    CopyText(g_paths.mainFile, file_);

    char out[520];
    ASSERT_TRUE(ExpandPlaceholders("%@%", LongNames::kNo, out, sizeof out));
    EXPECT_EQ(std::string(out), shortName);
    ASSERT_TRUE(ExpandPlaceholders("%@n%", LongNames::kNo, out, sizeof out));
    const std::size_t slash = shortName.find_last_of('\\');
    const std::size_t dot = shortName.find_last_of('.');
    EXPECT_EQ(std::string(out), shortName.substr(slash + 1, dot - slash - 1));
    ASSERT_TRUE(ExpandPlaceholders("%@%", LongNames::kYes, out, sizeof out));
    EXPECT_EQ(std::string(out), file_);
    ASSERT_TRUE(ExpandPlaceholders("%@n%", LongNames::kYes, out, sizeof out));
    EXPECT_EQ(std::string(out), "long report name");

    // A main file that does not exist has no short form: the path as stored.
    const std::string missing = folder_.File("not written yet.tex");
    CopyText(g_paths.mainFile, missing);
    ASSERT_TRUE(ExpandPlaceholders("%@%", LongNames::kNo, out, sizeof out));
    EXPECT_EQ(std::string(out), missing);
}

TEST_F(SystemValuesTest, DisplayNameComesFromTheStringTable) {
    char out[64];
    ASSERT_TRUE(ExpandPlaceholders("%@t% - %@ne%", LongNames::kYes, out, sizeof out));
    EXPECT_EQ(std::string(out), "Brisolt - chapter1.tex");
}

}  // namespace
