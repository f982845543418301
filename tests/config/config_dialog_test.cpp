// The configuration dialog through the real bar under Wine: what it shows, the greyed controls, the moves
// by position, OK and Cancel with the settings file, and a settings file full of bad values.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/button_bar.h"
#include "app/bar_test_support.h"
#include "base/bounded_text.h"
#include "config/button_icons.h"
#include "dialog_driver.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "support/profile_calls.h"
#include "support/test_files.h"
#include "support/wait.h"

namespace {

// The controls that only a command button uses.
constexpr int kCommandControls[] = {
    IDC_CONFIG_SHOW_LABEL, IDC_CONFIG_SHOW,        IDC_CONFIG_LOG_LABEL,  IDC_CONFIG_LOG,
    IDC_CONFIG_COMMAND_BUTTON, IDC_CONFIG_COMMAND, IDC_CONFIG_FOLDER_BUTTON, IDC_CONFIG_DIRECTORY,
    IDC_CONFIG_OPTIONS_LABEL, IDC_CONFIG_OPTIONS,  IDC_CONFIG_EDIT_COMMAND_LINE, IDC_CONFIG_WAIT,
    IDC_CONFIG_USE_LONG_NAMES,
};

std::string Range(HWND dialog, int spinId) {
    const LRESULT range = SendDlgItemMessageA(dialog, spinId, UDM_GETRANGE, 0, 0);
    return std::to_string(static_cast<short>(HIWORD(range))) + ".." + std::to_string(static_cast<short>(LOWORD(range)));
}

std::string Cell(HWND dialog) {
    return ControlText(dialog, IDC_CONFIG_ROW) + "," + ControlText(dialog, IDC_CONFIG_COLUMN) + "," +
           ControlText(dialog, IDC_CONFIG_POSITION);
}

int LimitOf(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, EM_GETLIMITTEXT, 0, 0));
}

class ConfigDialog : public ::testing::Test {
protected:
    void TearDown() override { CancelOpenDialogs(); }
};

TEST_F(ConfigDialog, SystemMenuShowsTheGridAndTheFirstButton) {
    TempSettings ini(
        "[Options]\r\nRows=3\r\nCols=4\r\nSpace=40\r\nOn Top=0\r\nSave File Pos=0\r\nDisplay tips=1\r\n"
        "[Buttons]\r\nType1=0\r\nTitle1=LaTeX\r\nCommand1=latex\r\nOptions1=%@n%\r\nDirectory1=C:\\work\r\n"
        "Tip1=Runs LaTeX\r\nDebug1=1\r\nWait1=0\r\nUse long names1=1\r\nUse icon1=1\r\nShow1=2\r\nLog1=3\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), bar.window());

    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_ROWS), "3");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COLS), "4");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_SPACE), "32");  // a stored 40 is past the spin's range
    EXPECT_FALSE(IsChecked(dialog, IDC_CONFIG_ON_TOP));
    EXPECT_FALSE(IsChecked(dialog, IDC_CONFIG_SAVE_FILE_POS));
    EXPECT_TRUE(IsChecked(dialog, IDC_CONFIG_DISPLAY_TIPS));
    EXPECT_EQ(Cell(dialog), "1,1,1");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_ROWS_SPIN), "1..5");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_COLS_SPIN), "1..10");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_SPACE_SPIN), "0..32");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_ROW_SPIN), "1..3");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_COLUMN_SPIN), "1..4");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_POSITION_SPIN), "1..12");

    EXPECT_EQ(Selection(dialog, IDC_CONFIG_TYPE), 0);
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_SHOW), 2);
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_LOG), 3);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CONFIG_TYPE, CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CONFIG_SHOW, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CONFIG_LOG, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TYPE), "Execute command");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_SHOW), "Maximized");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_LOG), "Ask user");
    EXPECT_TRUE(IsChecked(dialog, IDC_CONFIG_EDIT_COMMAND_LINE));
    EXPECT_FALSE(IsChecked(dialog, IDC_CONFIG_WAIT));
    EXPECT_TRUE(IsChecked(dialog, IDC_CONFIG_USE_LONG_NAMES));
    EXPECT_TRUE(IsChecked(dialog, IDC_CONFIG_USE_ICON));
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "LaTeX");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COMMAND), "latex");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_OPTIONS), "%@n%");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_DIRECTORY), "C:\\work");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TIP), "Runs LaTeX");
    for (int id : kCommandControls) EXPECT_TRUE(IsEnabled(dialog, id)) << id;

    EXPECT_EQ(LimitOf(dialog, IDC_CONFIG_TITLE), 63);
    EXPECT_EQ(LimitOf(dialog, IDC_CONFIG_COMMAND), 259);
    EXPECT_EQ(LimitOf(dialog, IDC_CONFIG_OPTIONS), 259);
    EXPECT_EQ(LimitOf(dialog, IDC_CONFIG_DIRECTORY), 255);
    EXPECT_EQ(LimitOf(dialog, IDC_CONFIG_TIP), 255);
    for (int id : {IDC_CONFIG_ROWS, IDC_CONFIG_COLS, IDC_CONFIG_SPACE, IDC_CONFIG_ROW, IDC_CONFIG_COLUMN,
                   IDC_CONFIG_POSITION}) {
        EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) << id;
    }
    // The Foreground box is never seen; the Icon buttons are no tab stops.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_CONFIG_FOREGROUND)));
    EXPECT_FALSE(IsEnabled(dialog, IDC_CONFIG_FOREGROUND));
    EXPECT_FALSE(GetWindowLongPtrA(GetDlgItem(dialog, IDC_CONFIG_ICON), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongPtrA(GetDlgItem(dialog, IDC_CONFIG_CHANGE_ICON), GWL_STYLE) & WS_TABSTOP);
    // The focus arrives once the dialog is active, which the window manager may take a moment for.
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    EXPECT_TRUE(WaitFor(
        [&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == GetDlgItem(dialog, IDC_CONFIG_ROWS); },
        5000))
        << info.hwndFocus;

    // OK keeps what was shown: the space as 32, the rest as read; and the new on-top choice.
    SendDlgItemMessageA(dialog, IDC_CONFIG_ON_TOP, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(ini.Read("Options", "Space"), "32");
    EXPECT_EQ(ini.Read("Options", "Rows"), "3");
    EXPECT_EQ(ini.Read("Options", "On Top"), "1");
    EXPECT_EQ(ini.Read("Options", "Save File Pos"), "0");
    EXPECT_EQ(ini.Read("Buttons", "Show1"), "2");
    EXPECT_EQ(ini.Read("Buttons", "Log1"), "3");
    EXPECT_EQ(ini.Read("Buttons", "Debug1"), "1");
    EXPECT_NE(ReadWhole(ini.path()).find("Options1=\"%@n%\""), std::string::npos);  // long names: quoted
    EXPECT_EQ(ini.Read("Buttons", "Directory1"), "C:\\work");
    EXPECT_EQ(g_settings.options.onTop, 1);
}

TEST_F(ConfigDialog, PropertiesOpensOnTheRightClickedButton) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nTitle13=Thirteen\r\nCommand13=pdflatex\r\n");
    BarRun bar(ini.path(), "");
    // Row 2, column 3: record 12. The context menu's "&Properties" is chosen with its access key.
    const HWND button = GetDlgItem(bar.window(), IDC_BAR_FIRST + 12);
    PostMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); },
                        5000));
    PostMessageA(menu, WM_CHAR, 'p', 0);
    const HWND dialog = WaitForDialog(kConfigTitle);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Cell(dialog), "2,3,11");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "Thirteen");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COMMAND), "pdflatex");
    ASSERT_TRUE(PressAndWaitGone(dialog, IDCANCEL));
}

TEST_F(ConfigDialog, ValuesOutsideTheListsShowNoSelectionAndStoreMinusOne) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nType1=300\r\nShow1=77\r\nLog1=-5\r\nTitle1=Odd\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_TYPE), -1);
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_SHOW), -1);
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_LOG), -1);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TYPE), "");
    // Not a command button: its command controls are greyed.
    EXPECT_FALSE(IsEnabled(dialog, IDC_CONFIG_COMMAND));
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(ini.Read("Buttons", "Type1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Show1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Log1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Title1"), "Odd");
    EXPECT_FALSE(bar.closed());
}

TEST_F(ConfigDialog, OtherTypesGreyTheCommandControlsAndKeepTheirContents) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nType1=0\r\nTitle1=Run\r\nCommand1=latex\r\n"
                     "Options1=-x %@n%\r\nDirectory1=C:\\d\r\nShow1=1\r\nLog1=2\r\nWait1=1\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    ChooseEntry(dialog, IDC_CONFIG_TYPE, kTypeHelpIndex);
    for (int id : kCommandControls) EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    for (int id : {IDC_CONFIG_TYPE, IDC_CONFIG_TITLE, IDC_CONFIG_TIP, IDC_CONFIG_USE_ICON, IDC_CONFIG_ICON,
                   IDC_CONFIG_CHANGE_ICON, IDC_CONFIG_ROW, IDC_CONFIG_POSITION}) {
        EXPECT_TRUE(IsEnabled(dialog, id)) << id;
    }
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COMMAND), "latex");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_OPTIONS), "-x %@n%");
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_SHOW), 1);
    // A button that runs others in turn takes their titles in the options field, under a label that says so.
    ChooseEntry(dialog, IDC_CONFIG_TYPE, kTypeRunInTurn);
    for (int id : kCommandControls) {
        EXPECT_EQ(IsEnabled(dialog, id), id == IDC_CONFIG_OPTIONS || id == IDC_CONFIG_OPTIONS_LABEL) << id;
    }
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_OPTIONS_LABEL), "&Buttons:");
    ChooseEntry(dialog, IDC_CONFIG_TYPE, kTypeExecute);
    for (int id : kCommandControls) EXPECT_TRUE(IsEnabled(dialog, id)) << id;
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_OPTIONS_LABEL), "&Options:");
    ChooseEntry(dialog, IDC_CONFIG_TYPE, kTypeAbout);

    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(ini.Read("Buttons", "Type1"), "5");
    EXPECT_EQ(ini.Read("Buttons", "Command1"), "latex");
    EXPECT_EQ(ini.Read("Buttons", "Options1"), "-x %@n%");
    EXPECT_EQ(ini.Read("Buttons", "Directory1"), "C:\\d");
    EXPECT_EQ(ini.Read("Buttons", "Show1"), "1");
    EXPECT_EQ(ini.Read("Buttons", "Log1"), "2");
    EXPECT_EQ(ini.Read("Buttons", "Wait1"), "1");
}

TEST_F(ConfigDialog, SteppingThePositionExchangesTwoButtonsAndCancelRestoresThem) {
    TempSettings ini("[Options]\r\nRows=3\r\nCols=4\r\n[Buttons]\r\nTitle1=One\r\nCommand1=first\r\n"
                     "Title2=Two\r\nCommand2=second\r\nTitle11=Eleven\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    TypeText(dialog, IDC_CONFIG_TIP, "typed before the move");
    StepSpin(dialog, IDC_CONFIG_POSITION, true);
    // The moved button is shown at its new place, with what was typed.
    EXPECT_EQ(Cell(dialog), "1,2,2");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "One");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TIP), "typed before the move");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COMMAND), "first");
    EXPECT_STREQ(g_settings.buttons[0].title, "One") << "the dialog edits a draft";
    // From the last column to the first of the next row: position 5 is record 10.
    StepSpin(dialog, IDC_CONFIG_POSITION, true);
    StepSpin(dialog, IDC_CONFIG_POSITION, true);
    StepSpin(dialog, IDC_CONFIG_POSITION, true);
    EXPECT_EQ(Cell(dialog), "2,1,5");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "One");

    ASSERT_TRUE(PressAndWaitGone(dialog, IDCANCEL));
    EXPECT_STREQ(g_settings.buttons[0].title, "One");
    EXPECT_STREQ(g_settings.buttons[0].tip, "");
    EXPECT_STREQ(g_settings.buttons[1].title, "Two");
    EXPECT_STREQ(g_settings.buttons[10].title, "Eleven");
    EXPECT_EQ(ini.Read("Buttons", "Title1"), "One");
    EXPECT_EQ(ini.Read("Buttons", "Type1"), "<missing>");  // Cancel writes nothing
    EXPECT_EQ(WindowText(GetDlgItem(bar.window(), IDC_BAR_FIRST)), "One");
    EXPECT_EQ(WindowText(GetDlgItem(bar.window(), IDC_BAR_FIRST + 1)), "Two");
}

// The dialog edits a draft: Cancel reads nothing again, so a main file the user cleared stays cleared
// and the default folder stays; an OK with nothing changed leaves the file as it was, byte for byte.
TEST_F(ConfigDialog, CancelReadsNothingAgainAndAnUnchangedOkWritesNothing) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\nLast file=C:\\last.tex\r\nLastDir=C:\\last\r\n"
                     "[Buttons]\r\nTitle1=One\r\n");
    BarRun bar(ini.path(), "");
    CopyText(g_paths.mainFile, "");
    CopyText(g_paths.defaultFolder, "C:\\mine");
    HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    TypeText(dialog, IDC_CONFIG_TITLE, "Changed");
    ASSERT_TRUE(PressAndWaitGone(dialog, IDCANCEL));
    EXPECT_STREQ(g_paths.mainFile, "");
    EXPECT_STREQ(g_paths.defaultFolder, "C:\\mine");
    EXPECT_STREQ(g_settings.buttons[0].title, "One");

    dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    const std::string before = ReadWhole(ini.path());
    dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    ProfileCalls calls;
    ASSERT_TRUE(calls.counting());
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(calls.writes(), 0);
    EXPECT_EQ(ReadWhole(ini.path()), before);
}

// OK loads again the icons of the button whose icons changed; every other button keeps its handles.
TEST_F(ConfigDialog, OkLoadsAgainOnlyTheChangedButtonsIcons) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    const std::string shell32 = std::string(system) + "\\shell32.dll";
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nIcon1=" + shell32 + "\r\nIcon number1=0\r\nIcon2=" +
                     shell32 + "\r\nIcon number2=1\r\n");
    BarRun bar(ini.path(), "");
    const HICON changed = ButtonIcons(0).large.get(), kept = ButtonIcons(1).large.get();
    ASSERT_TRUE(IconAlive(changed) && IconAlive(kept));
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    TypeText(dialog, IDC_CONFIG_COMMAND, "latex");
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(ButtonIcons(1).large.get(), kept);
    EXPECT_TRUE(IconAlive(kept));
    EXPECT_NE(ButtonIcons(0).large.get(), changed);
    EXPECT_FALSE(IconAlive(changed));
}

TEST_F(ConfigDialog, OkWritesEveryButtonAndTheBarShowsTheNewGrid) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=3\r\nX=50\r\nY=50\r\nWidth=500\r\nHeight=120\r\n"
                     "[Buttons]\r\nTitle1=One\r\nTitle2=Two\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    StepSpin(dialog, IDC_CONFIG_ROWS, true);
    StepSpin(dialog, IDC_CONFIG_COLS, true);
    EXPECT_EQ(Range(dialog, IDC_CONFIG_POSITION_SPIN), "1..12");
    TypeText(dialog, IDC_CONFIG_TITLE, "First");
    StepSpin(dialog, IDC_CONFIG_POSITION, true);
    StepSpin(dialog, IDC_CONFIG_ROW, true);
    StepSpin(dialog, IDC_CONFIG_ROW, true);
    EXPECT_EQ(Cell(dialog), "3,2,10");
    TypeText(dialog, IDC_CONFIG_TITLE, "Row three");
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));

    EXPECT_EQ(ini.Read("Options", "Rows"), "3");
    EXPECT_EQ(ini.Read("Options", "Cols"), "4");
    EXPECT_EQ(ini.Read("Buttons", "Title1"), "Two");
    EXPECT_EQ(ini.Read("Buttons", "Title2"), "First");
    EXPECT_EQ(ini.Read("Buttons", "Title22"), "Row three");
    for (int n : {1, 25, 50}) {  // every button is written, the hidden ones too
        EXPECT_EQ(ini.Read("Buttons", ("Type" + std::to_string(n)).c_str()), "0") << n;
        EXPECT_EQ(ini.Read("Buttons", ("Icon number" + std::to_string(n)).c_str()), "-1") << n;
    }
    // The bar: a 3 x 4 grid with the new titles.
    EXPECT_EQ(WindowText(GetDlgItem(bar.window(), IDC_BAR_FIRST + 1)), "First");
    EXPECT_EQ(WindowText(GetDlgItem(bar.window(), IDC_BAR_FIRST + 21)), "Row three");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(bar.window(), IDC_BAR_FIRST + 23)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(bar.window(), IDC_BAR_FIRST + 24)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(bar.window(), IDC_BAR_FIRST + 30)));
}

TEST_F(ConfigDialog, ShrinkingTheRowsMovesTheCurrentCellAndKeepsTheHiddenButton) {
    TempSettings ini("[Options]\r\nRows=3\r\nCols=4\r\n[Buttons]\r\nTitle22=Hidden soon\r\nTitle12=Above\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    StepSpin(dialog, IDC_CONFIG_COLUMN, true);
    StepSpin(dialog, IDC_CONFIG_ROW, true);
    StepSpin(dialog, IDC_CONFIG_ROW, true);
    EXPECT_EQ(Cell(dialog), "3,2,10");
    TypeText(dialog, IDC_CONFIG_TITLE, "Hidden now");
    StepSpin(dialog, IDC_CONFIG_ROWS, false);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_ROWS), "2");
    EXPECT_EQ(Cell(dialog), "2,2,6");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "Above");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_ROW_SPIN), "1..2");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_POSITION_SPIN), "1..8");
    // The row that went out of the grid comes back with its button.
    StepSpin(dialog, IDC_CONFIG_ROWS, true);
    StepSpin(dialog, IDC_CONFIG_ROW, true);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "Hidden now");
    StepSpin(dialog, IDC_CONFIG_ROWS, false);
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(ini.Read("Options", "Rows"), "2");
    EXPECT_EQ(ini.Read("Buttons", "Title22"), "Hidden now");
    EXPECT_EQ(ini.Read("Buttons", "Title12"), "Above");
}

TEST_F(ConfigDialog, ConfigurationButtonOpensOnTheFirstButton) {
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nType12=3\r\nTitle12=Setup\r\nTitle1=First\r\n");
    BarRun bar(ini.path(), "");
    const HWND button = GetDlgItem(bar.window(), IDC_BAR_FIRST + 11);
    PostMessageA(bar.window(), WM_COMMAND, MAKEWPARAM(IDC_BAR_FIRST + 11, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    const HWND dialog = WaitForDialog(kConfigTitle);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Cell(dialog), "1,1,1");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), "First");
    TypeText(dialog, IDC_CONFIG_TITLE, "Changed");
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(WindowText(GetDlgItem(bar.window(), IDC_BAR_FIRST)), "Changed");
}

TEST_F(ConfigDialog, IconButtonShowsEachButtonsFaceAndReleasesTheShellsIcons) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    const std::string shell32 = std::string(system) + "\\shell32.dll";
    const std::string notepad = std::string(system) + "\\notepad.exe";
    TempSettings ini("[Options]\r\nRows=2\r\nCols=8\r\n[Buttons]\r\nIcon1=" + shell32 + "\r\nIcon number1=0\r\n"
                     "Command2=" + notepad + "\r\nCommand3=latex\r\n");
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    const auto face = [&] {
        return reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_CONFIG_ICON, BM_GETIMAGE, IMAGE_ICON, 0));
    };
    const HICON own = face();  // its own icon, large, the dialog's to release
    EXPECT_TRUE(IconAlive(own));
    EXPECT_NE(own, ButtonIcons(0).large.get());
    StepSpin(dialog, IDC_CONFIG_COLUMN, true);
    const HICON shellIcon = face();  // no own icon: the shell's icon for the command
    EXPECT_TRUE(IconAlive(shellIcon));
    StepSpin(dialog, IDC_CONFIG_COLUMN, true);
    EXPECT_EQ(face(), nullptr);  // neither: blank
    EXPECT_FALSE(IconAlive(shellIcon));
    StepSpin(dialog, IDC_CONFIG_COLUMN, false);
    const HICON again = face();
    EXPECT_TRUE(IconAlive(again));
    ASSERT_TRUE(PressAndWaitGone(dialog, IDCANCEL));
    EXPECT_FALSE(IconAlive(again));
    EXPECT_FALSE(IconAlive(own));
    EXPECT_TRUE(IconAlive(ButtonIcons(0).large.get())) << "the bar's own icons are the table's";
}

TEST_F(ConfigDialog, BadSettingsShowSoundValuesAndOkWritesOnlyItsOwnKeys) {
    const std::string long255(255, 'w');
    const std::string tail = "[Files]\r\nFile0=C:\\a.tex\r\n[Positions]\r\nPos0=1,2,3,4\r\n[Directories]\r\nDirectory0=C:\\d\r\n";
    TempSettings ini("[Options]\r\nRows=9\r\nCols=-3\r\nSpace=1000000\r\nX=40\r\nY=40\r\nWidth=300\r\nHeight=400\r\nCaption=%n - mine\r\nFilter1=Texts\r\n"
                     "[Buttons]\r\nType1=300\r\nShow1=77\r\nIcon number1=2147483647\r\n"
                     "Title1=" + long255 + "\r\nCommand1=" + long255 + "\r\nOptions1=" + long255 + "\r\nDirectory1=" +
                     long255 + "\r\nTip1=" + long255 + "\r\nUse long names1=0\r\n" + tail);
    const std::string notAnImage = ini.folder() + "\\not-an-icon.ico";
    WriteWhole(notAnImage, "plain text, not an icon\r\n");
    ini.Write("Buttons", "Icon1", notAnImage.c_str());
    BarRun bar(ini.path(), "");
    const HWND dialog = OpenFromSystemMenu(bar.window());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_ROWS), "5");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COLS), "1");
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_SPACE), "32");
    EXPECT_EQ(Range(dialog, IDC_CONFIG_POSITION_SPIN), "1..5");
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_TYPE), -1);
    EXPECT_EQ(Selection(dialog, IDC_CONFIG_SHOW), -1);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TITLE), std::string(63, 'w'));
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_COMMAND), long255);
    EXPECT_EQ(ControlText(dialog, IDC_CONFIG_TIP), long255);
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));

    EXPECT_EQ(ini.Read("Options", "Rows"), "5");
    EXPECT_EQ(ini.Read("Options", "Cols"), "1");
    EXPECT_EQ(ini.Read("Options", "Space"), "32");
    EXPECT_EQ(ini.Read("Buttons", "Type1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Show1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Log1"), "0");
    EXPECT_EQ(ini.Read("Buttons", "Title1"), std::string(63, 'w'));
    for (const char* key : {"Command1", "Options1", "Directory1", "Tip1"}) EXPECT_EQ(ini.Read("Buttons", key), long255) << key;
    // The icon could not be loaded: no own icon any more, the file name kept.
    EXPECT_EQ(ini.Read("Buttons", "Icon number1"), "-1");
    EXPECT_EQ(ini.Read("Buttons", "Icon1"), notAnImage);
    // What the dialog does not own is left as it was.
    EXPECT_EQ(ini.Read("Options", "Caption"), "%n - mine");
    EXPECT_EQ(ini.Read("Options", "Filter1"), "Texts");
    EXPECT_EQ(ini.Read("Files", "File0"), "C:\\a.tex");
    EXPECT_EQ(ini.Read("Positions", "Pos0"), "1,2,3,4");
    EXPECT_EQ(ini.Read("Directories", "Directory0"), "C:\\d");
    // The bar lives on, laid out as a 5 x 1 grid.
    EXPECT_FALSE(bar.closed());
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(bar.window(), IDC_BAR_FIRST + 40)) != FALSE; }, 5000));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(bar.window(), IDC_BAR_FIRST + 1)));
}

}  // namespace
