// The Select icon dialog through the real bar and configuration dialog under Wine: the icons of a real
// file, a typed name, the fast default, full paths, Cancel, the standard icons, and the icons' lifetimes.
#include <windows.h>
#include <htmlhelp.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/bar_test_support.h"
#include "config/button_icons.h"
#include "config/icon_picker.h"
#include "dialog_driver.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "support/help_calls.h"
#include "support/test_files.h"

namespace {

std::string SystemFile(const char* name) {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

int IconsIn(const std::string& file) {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), static_cast<UINT>(-1))));
}

bool SameFile(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

HWND ListOf(HWND picker) {
    return GetDlgItem(picker, IDC_ICON_LIST);
}

int ListCount(HWND picker) {
    return static_cast<int>(SendMessageA(ListOf(picker), LB_GETCOUNT, 0, 0));
}

int ListSelection(HWND picker) {
    return static_cast<int>(SendMessageA(ListOf(picker), LB_GETCURSEL, 0, 0));
}

std::vector<HICON> ListIcons(HWND picker) {
    std::vector<HICON> icons;
    for (int i = 0; i < ListCount(picker); ++i) {
        icons.push_back(reinterpret_cast<HICON>(SendMessageA(ListOf(picker), LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    }
    return icons;
}

int AliveCount(const std::vector<HICON>& icons) {
    int alive = 0;
    for (HICON icon : icons) alive += IconAlive(icon) ? 1 : 0;
    return alive;
}

HICON ImageOf(HWND dialog, int id) {
    return reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, id, BM_GETIMAGE, IMAGE_ICON, 0));
}

bool FileControlsEnabled(HWND picker) {
    return IsEnabled(picker, IDC_ICON_FILE_BUTTON) && IsEnabled(picker, IDC_ICON_FILE) && IsEnabled(picker, IDC_ICON_LIST);
}

bool FileControlsDisabled(HWND picker) {
    return !IsEnabled(picker, IDC_ICON_FILE_BUTTON) && !IsEnabled(picker, IDC_ICON_FILE) && !IsEnabled(picker, IDC_ICON_LIST);
}

// A click on the Use fast default box: the box toggles, then tells the dialog.
void ClickFastDefault(HWND picker) {
    const bool checked = IsChecked(picker, IDC_ICON_FAST_DEFAULT);
    SendDlgItemMessageA(picker, IDC_ICON_FAST_DEFAULT, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageA(picker, WM_COMMAND, MAKEWPARAM(IDC_ICON_FAST_DEFAULT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(picker, IDC_ICON_FAST_DEFAULT)));
}

// OK on a dialog that is to stay open, and its filling done.
void PressOkAndStay(HWND picker) {
    PressNow(picker, IDOK);
}

class IconPicker : public ::testing::Test {
protected:
    void TearDown() override { CancelOpenDialogs(); }

    // The configuration dialog on the first button, then the Select icon dialog from its "<- Change".
    HWND Open(const BarRun& bar) {
        config_ = OpenFromSystemMenu(bar.window());
        if (!config_) return nullptr;
        Press(config_, IDC_CONFIG_CHANGE_ICON);
        return WaitForDialog(kPickerTitle);
    }

    HWND config_ = nullptr;
};

TEST_F(IconPicker, ListsTheIconsOfARealFileAndCancelKeepsTheRecord) {
    const std::string shell32 = SystemFile("shell32.dll");
    const int count = IconsIn(shell32);
    ASSERT_GT(count, 3);
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nTitle1=One\r\nCommand1=" + SystemFile("notepad.exe") +
                     "\r\nUse icon1=1\r\nIcon number1=2\r\nIcon1=" + shell32 + "\r\n");
    BarRun bar(ini.path(), "");
    const HWND picker = Open(bar);
    ASSERT_TRUE(picker);
    EXPECT_EQ(GetWindow(picker, GW_OWNER), config_);
    EXPECT_TRUE(ImageOf(config_, IDC_CONFIG_ICON) != nullptr);  // the configuration dialog shows the own icon

    EXPECT_EQ(ControlText(picker, IDC_ICON_FILE), shell32);
    EXPECT_EQ(ListCount(picker), count);
    EXPECT_EQ(ListSelection(picker), 2);
    EXPECT_FALSE(IsChecked(picker, IDC_ICON_FAST_DEFAULT));
    EXPECT_TRUE(FileControlsEnabled(picker));
    const std::vector<HICON> icons = ListIcons(picker);
    EXPECT_EQ(AliveCount(icons), count);
    // One row of square items, one per column, each as high as the list plus two.
    RECT client = {};
    GetClientRect(ListOf(picker), &client);
    RECT item = {};
    SendMessageA(ListOf(picker), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.bottom - item.top, client.bottom + 2);
    EXPECT_EQ(item.right - item.left, client.bottom + 2);
    EXPECT_EQ(item.top, 0);

    const ButtonDef before = g_settings.buttons[0];
    const HICON tableIcon = ButtonIcons(0).large.get();
    // The shell's icon for the command is the preview; like the list's icons it ends with the dialog.
    const HICON preview = ImageOf(picker, IDC_ICON_PREVIEW);
    EXPECT_TRUE(IconAlive(preview));
    ASSERT_TRUE(PressAndWaitGone(picker, IDCANCEL));
    EXPECT_EQ(AliveCount(icons), 0);
    EXPECT_FALSE(IconAlive(preview));
    const ButtonDef& after = g_settings.buttons[0];
    EXPECT_STREQ(after.iconFile, before.iconFile);
    EXPECT_EQ(after.iconNumber, 2);
    EXPECT_EQ(ButtonIcons(0).large.get(), tableIcon);
    EXPECT_TRUE(IconAlive(tableIcon));
}

TEST_F(IconPicker, TypedNameIsShownFirstAndASecondOkTakesIt) {
    const std::string shell32 = SystemFile("shell32.dll");
    const std::string notepad = SystemFile("notepad.exe");
    const int notepadIcons = IconsIn(notepad);
    ASSERT_GT(notepadIcons, 0);
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nTitle1=One\r\nCommand1=" + notepad +
                     "\r\nUse icon1=1\r\nIcon number1=0\r\nIcon1=" + shell32 + "\r\n");
    BarRun bar(ini.path(), "");
    EXPECT_TRUE(ImageOf(bar.window(), IDC_BAR_FIRST) != nullptr);
    const HWND picker = Open(bar);
    ASSERT_TRUE(picker);
    const std::vector<HICON> first = ListIcons(picker);
    const HICON firstPreview = ImageOf(picker, IDC_ICON_PREVIEW);
    EXPECT_TRUE(IconAlive(firstPreview));

    TypeText(picker, IDC_ICON_FILE, notepad);
    PressOkAndStay(picker);
    EXPECT_TRUE(IsWindow(picker));
    EXPECT_EQ(ListCount(picker), notepadIcons);
    EXPECT_EQ(ListSelection(picker), 0);
    EXPECT_EQ(AliveCount(first), 0);  // the earlier file's icons went with the refilling
    EXPECT_FALSE(IconAlive(firstPreview));  // and so did the preview it replaced
    const HICON secondPreview = ImageOf(picker, IDC_ICON_PREVIEW);
    EXPECT_TRUE(IconAlive(secondPreview));
    SendMessageA(ListOf(picker), LB_SETCURSEL, static_cast<WPARAM>(notepadIcons - 1), 0);
    const std::vector<HICON> second = ListIcons(picker);
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));
    EXPECT_EQ(AliveCount(second), 0);
    EXPECT_FALSE(IconAlive(secondPreview));

    // The configuration dialog shows the choice; the bar keeps its face until the configuration's OK.
    EXPECT_TRUE(IconAlive(ImageOf(config_, IDC_CONFIG_ICON)));
    EXPECT_EQ(std::string(g_settings.buttons[0].iconFile), shell32);
    EXPECT_TRUE(IconAlive(ImageOf(bar.window(), IDC_BAR_FIRST)));
    ASSERT_TRUE(PressAndWaitGone(config_, IDOK));
    const ButtonDef& def = g_settings.buttons[0];
    EXPECT_EQ(std::string(def.iconFile), notepad);
    EXPECT_EQ(def.iconNumber, notepadIcons - 1);
    EXPECT_EQ(ini.Read("Buttons", "Icon1"), notepad);
    EXPECT_EQ(ini.Read("Buttons", "Icon number1"), std::to_string(notepadIcons - 1));
    EXPECT_TRUE(IconAlive(ImageOf(bar.window(), IDC_BAR_FIRST)));
}

TEST_F(IconPicker, FastDefaultStoresMinusOneAndKeepsTheFileName) {
    const std::string notepad = SystemFile("notepad.exe");
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nTitle1=One\r\nCommand1=latex\r\nIcon number1=0\r\n"
                     "Icon1=" + notepad + "\r\n");
    BarRun bar(ini.path(), "");
    HWND picker = Open(bar);
    ASSERT_TRUE(picker);
    EXPECT_FALSE(IsChecked(picker, IDC_ICON_FAST_DEFAULT));
    ClickFastDefault(picker);
    EXPECT_TRUE(FileControlsDisabled(picker));
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));

    // Opened again: the same file's icons, greyed, with the box checked; the preview's click undoes it.
    Press(config_, IDC_CONFIG_ICON);
    picker = WaitForDialog(kPickerTitle);
    ASSERT_TRUE(picker);
    EXPECT_TRUE(IsChecked(picker, IDC_ICON_FAST_DEFAULT));
    EXPECT_TRUE(FileControlsDisabled(picker));
    EXPECT_EQ(ControlText(picker, IDC_ICON_FILE), notepad);
    EXPECT_EQ(ListCount(picker), IconsIn(notepad));
    EXPECT_EQ(ListSelection(picker), 0);
    PressNow(picker, IDC_ICON_PREVIEW);
    EXPECT_FALSE(IsChecked(picker, IDC_ICON_FAST_DEFAULT));
    EXPECT_TRUE(FileControlsEnabled(picker));
    ASSERT_TRUE(PressAndWaitGone(picker, IDCANCEL));
    ASSERT_TRUE(PressAndWaitGone(config_, IDOK));
    EXPECT_EQ(ini.Read("Buttons", "Icon number1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Icon1"), notepad);
    EXPECT_EQ(g_settings.buttons[0].iconNumber, -1);
    EXPECT_EQ(ButtonIcons(0).large.get(), nullptr);
}

// A long folder of the test's own, made the current folder, with a program in it: a bare name finds it
// there with a full path well past 128 characters.
class LongFolder {
public:
    explicit LongFolder(const std::string& parent) : folder_(parent + "\\" + std::string(150, 'd')) {
        GetCurrentDirectoryA(sizeof previous_, previous_);
        CreateDirectoryA(folder_.c_str(), nullptr);
        CopyFileA(SystemFile("notepad.exe").c_str(), file().c_str(), FALSE);
        SetCurrentDirectoryA(folder_.c_str());
    }
    ~LongFolder() {
        SetCurrentDirectoryA(previous_);
        DeleteFileA(file().c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string file() const { return folder_ + "\\long-icons.exe"; }

private:
    std::string folder_;
    char previous_[MAX_PATH] = "";
};

TEST_F(IconPicker, LeadingBlanksAreDroppedAndTheNameResolvesToItsWholePath) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nTitle1=One\r\nCommand1=notepad.exe\r\n");
    const LongFolder folder(ini.folder());
    ASSERT_TRUE(Exists(folder.file()));
    ASSERT_GT(folder.file().size(), 190u);
    BarRun bar(ini.path(), "");
    HWND picker = Open(bar);
    ASSERT_TRUE(picker);
    TypeText(picker, IDC_ICON_FILE, " \t  long-icons.exe");
    PressOkAndStay(picker);
    // Shown as typed without its blanks, with the icons of the file it names.
    EXPECT_EQ(ControlText(picker, IDC_ICON_FILE), "long-icons.exe");
    EXPECT_EQ(ListCount(picker), IconsIn(folder.file()));
    EXPECT_GT(ListCount(picker), 0);
    if (IsChecked(picker, IDC_ICON_FAST_DEFAULT)) ClickFastDefault(picker);
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));
    // The button's draft holds the whole path: the dialog opened again shows it.
    Press(config_, IDC_CONFIG_ICON);
    picker = WaitForDialog(kPickerTitle);
    ASSERT_TRUE(picker);
    EXPECT_TRUE(SameFile(ControlText(picker, IDC_ICON_FILE), folder.file())) << ControlText(picker, IDC_ICON_FILE);
    EXPECT_EQ(ListSelection(picker), 0);

    // A name found in the system folder.
    TypeText(picker, IDC_ICON_FILE, "   notepad.exe");
    PressOkAndStay(picker);
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));
    ASSERT_TRUE(PressAndWaitGone(config_, IDOK));
    EXPECT_TRUE(SameFile(g_settings.buttons[0].iconFile, SystemFile("notepad.exe"))) << g_settings.buttons[0].iconFile;
}

TEST(ResolveFileName, FindsTheFileOrKeepsTheTrimmedName) {
    TempSettings scratch("");
    const LongFolder current(scratch.folder());
    const std::string folder = LongPath(ExeFolder());
    const std::string longName = folder + std::string(200 - folder.size(), 'n') + ".ico";
    WriteWhole(longName, "x");
    const struct {
        std::string typed;
        std::string expected;
    } cases[] = {
        {"   notepad.exe", SystemFile("notepad.exe")},  // the system folder comes before the Windows folder
        {"\t" + longName, longName},
        {"  long-icons.exe", current.file()},  // found in the current folder, its path past 128 characters
        {"  no-such-file-anywhere.ico", "no-such-file-anywhere.ico"},
        {"  " + folder.substr(0, folder.size() - 1), folder.substr(0, folder.size() - 1)},  // a folder is no file
        {"   ", ""},
    };
    for (const auto& c : cases) {
        char name[kPathSize];
        lstrcpynA(name, c.typed.c_str(), sizeof name);
        ResolveFileName(name);
        EXPECT_TRUE(SameFile(name, c.expected)) << "[" << c.typed << "] gave [" << name << "]";
    }
    DeleteFileA(longName.c_str());
}

TEST_F(IconPicker, MovedButtonsLeaveNoBorrowedIconOnTheBar) {
    const std::string shell32 = SystemFile("shell32.dll");
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\nX=20\r\nY=20\r\nWidth=600\r\nHeight=120\r\n[Buttons]\r\n"
                     "Title1=One\r\nUse icon1=1\r\nIcon number1=0\r\nIcon1=" + shell32 +
                     "\r\nTitle2=Two\r\nUse icon2=1\r\nIcon number2=1\r\nIcon2=" + shell32 + "\r\n");
    BarRun bar(ini.path(), "");
    ASSERT_TRUE(ImageOf(bar.window(), IDC_BAR_FIRST) != nullptr);
    ASSERT_TRUE(ImageOf(bar.window(), IDC_BAR_FIRST + 1) != nullptr);
    config_ = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(config_);
    // One moves right: its record, icons and all, now sits in the second cell.
    StepSpin(config_, IDC_CONFIG_POSITION, true);
    EXPECT_EQ(ControlText(config_, IDC_CONFIG_TITLE), "One");
    // A new icon for it destroys the icons it brought along; no bar button may still show them.
    Press(config_, IDC_CONFIG_CHANGE_ICON);
    const HWND picker = WaitForDialog(kPickerTitle);
    ASSERT_TRUE(picker);
    SendMessageA(ListOf(picker), LB_SETCURSEL, 3, 0);
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));
    for (int cell : {0, 1}) {
        const HICON shown = ImageOf(bar.window(), IDC_BAR_FIRST + cell);
        EXPECT_TRUE(shown == nullptr || IconAlive(shown)) << cell;
    }
    ASSERT_TRUE(PressAndWaitGone(config_, IDOK));
    EXPECT_EQ(ini.Read("Buttons", "Title2"), "One");
    EXPECT_EQ(ini.Read("Buttons", "Icon number2"), "3");
    EXPECT_EQ(ini.Read("Buttons", "Icon number1"), "1");
    EXPECT_EQ(g_settings.buttons[1].iconNumber, 3);
    // Laid out again, each bar button shows its own record's icon.
    for (int cell : {0, 1}) {
        const HICON shown = ImageOf(bar.window(), IDC_BAR_FIRST + cell);
        EXPECT_TRUE(shown == ButtonIcons(cell).large.get() || shown == ButtonIcons(cell).small.get()) << cell;
        EXPECT_TRUE(IconAlive(shown)) << cell;
    }
}

// F1 on every control of both dialogs asks the help for that control, with a topic of the shared map.
TEST_F(IconPicker, EveryControlHasAHelpTopic) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nCommand1=" + SystemFile("notepad.exe") + "\r\n");
    BarRun bar(ini.path(), "");
    const HWND picker = Open(bar);
    ASSERT_TRUE(picker);
    HelpRecorder help;
    int checked = 0;
    for (HWND dialog : {config_, picker}) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            if (id == 0xFFFF || id == -1 || id == IDC_CONFIG_FOREGROUND) continue;  // plain labels, the hidden box
            help.Clear();
            HELPINFO info{sizeof info, HELPINFO_WINDOW, id, child, 0, {}};
            SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            const std::vector<HelpCall> calls = help.calls();
            ASSERT_EQ(calls.size(), 1u) << id;
            EXPECT_EQ(calls[0].command, static_cast<UINT>(HH_TP_HELP_WM_HELP)) << id;
            EXPECT_EQ(calls[0].caller, child) << id;
            EXPECT_NE(MappedTopic(calls[0].data, id), 0u) << id;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 31 + 6 + 9);  // 31 controls with ids and 6 spins; the Select icon dialog's 9
    ASSERT_TRUE(PressAndWaitGone(picker, IDCANCEL));
    ASSERT_TRUE(PressAndWaitGone(config_, IDCANCEL));
}

TEST_F(IconPicker, NoIconAnywhereAsksForTheStandardIcons) {
    const std::string shell32 = SystemFile("shell32.dll");
    const std::string notepad = SystemFile("notepad.exe");
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nTitle1=One\r\nIcon number1=0\r\nIcon1=" + notepad +
                     "\r\nTitle2=Two\r\n");
    const std::string text = ini.folder() + "\\plain.txt";
    WriteWhole(text, "no icons here\r\n");
    BarRun bar(ini.path(), "");

    // A typed file without icons, and a command that names no program: the question; No leaves the list
    // empty, and OK stores the empty name without an icon.
    HWND picker = Open(bar);
    ASSERT_TRUE(picker);
    TypeText(picker, IDC_ICON_FILE, text);
    Press(picker, IDOK);
    EXPECT_EQ(AnswerQuestion(bar.window(), IDNO), "This file has no icon.\nDo you want to see some standard icons?");
    SendMessageA(picker, WM_NULL, 0, 0);
    EXPECT_EQ(ListCount(picker), 0);
    EXPECT_EQ(ControlText(picker, IDC_ICON_FILE), "");
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));

    // A button with neither an icon file nor a command asks on opening; Yes shows the standard icons,
    // greyed, the first one selected.
    StepSpin(config_, IDC_CONFIG_COLUMN, true);
    ASSERT_EQ(ControlText(config_, IDC_CONFIG_TITLE), "Two");
    Press(config_, IDC_CONFIG_CHANGE_ICON);
    EXPECT_EQ(AnswerQuestion(bar.window(), IDYES), "This file has no icon.\nDo you want to see some standard icons?");
    picker = WaitForDialog(kPickerTitle);
    ASSERT_TRUE(picker);
    EXPECT_EQ(ControlText(picker, IDC_ICON_FILE), "SHELL32.DLL");
    EXPECT_GT(ListCount(picker), 0);
    EXPECT_EQ(ListCount(picker), IconsIn(shell32));
    EXPECT_EQ(ListSelection(picker), 0);
    EXPECT_TRUE(IsChecked(picker, IDC_ICON_FAST_DEFAULT));
    EXPECT_TRUE(FileControlsDisabled(picker));
    ClickFastDefault(picker);
    EXPECT_TRUE(FileControlsEnabled(picker));
    ASSERT_TRUE(PressAndWaitGone(picker, IDOK));
    EXPECT_TRUE(ImageOf(config_, IDC_CONFIG_ICON) != nullptr);
    ASSERT_TRUE(PressAndWaitGone(config_, IDOK));
    EXPECT_TRUE(SameFile(ini.Read("Buttons", "Icon2"), shell32));
    EXPECT_EQ(ini.Read("Buttons", "Icon number2"), "0");
    EXPECT_EQ(ini.Read("Buttons", "Icon1"), "<missing>");
    EXPECT_EQ(g_settings.buttons[0].iconNumber, -1);
}

}  // namespace
