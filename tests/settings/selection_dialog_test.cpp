// The selection dialog on the real button bar, and the system's file dialog and folder browser behind it,
// under Wine: the bar's thread runs the dialogs while the test thread answers them as a user would.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "app/bar_test_support.h"
#include "app/startup.h"
#include "base/handles.h"
#include "base/bounded_text.h"
#include "res/resource.h"
#include "settings/selection.h"
#include "settings/settings_records.h"
#include "support/help_calls.h"
#include "support/test_files.h"

namespace {

using Texts = std::vector<std::string>;
constexpr DWORD kWaitMs = 10000;
constexpr char kMainTitle[] = "Brisolt Main File";
constexpr char kFolderTitle[] = "Brisolt Default Folder";
// The open-file dialog's file-type list and file-name field; the folder browser's title line and tree.
constexpr int kFileTypes = 0x470, kFileName = 0x47c, kBrowserTitle = 0x3742, kBrowserTree = 0x3741;

// Button 1 chooses the main file, button 2 the default folder, button 3 writes its working folder.
std::string Ini(const std::string& options = "") {
    return "[Options]\r\nRows=1\r\nCols=4\r\n" + options +
           "[Buttons]\r\nType1=1\r\nType2=2\r\nCommand3=cmd\r\nOptions3=/c cd > wf.txt\r\nWait3=1\r\n";
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchOwned(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible window that `owner` opened (a picker, a message box), waiting for it.
HWND WaitForOwned(HWND owner) {
    OwnedSearch search{owner, nullptr};
    WaitFor(
        [&] {
            EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        kWaitMs);
    return search.found;
}

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool ClickAndWaitGone(HWND dialog, int id) {
    Click(dialog, id);
    return WaitFor([&] { return !IsWindow(dialog); }, kWaitMs);
}

Texts ComboItems(HWND combo) {
    Texts items;
    for (LRESULT k = 0, count = SendMessageA(combo, CB_GETCOUNT, 0, 0); k < count; ++k) {
        std::string text(static_cast<std::size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, k, 0)) + 1, '\0');
        text.resize(static_cast<std::size_t>(SendMessageA(combo, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(&text[0]))));
        items.push_back(text);
    }
    return items;
}

// Types text key by key over what the edit field held.
void Type(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

HWND Field(HWND dialog) { return GetDlgItem(dialog, IDC_SELECTION_COMBO); }
HWND FieldEdit(HWND dialog) { return FindWindowExA(Field(dialog), nullptr, "Edit", nullptr); }

// Presses bar button `index` (0-based) with a click and waits for the dialog it opens.
HWND Press(const BarRun& bar, int index) {
    PostMessageA(GetDlgItem(bar.window(), IDC_BAR_FIRST + index), BM_CLICK, 0, 0);
    return WaitForOwned(bar.window());
}

Texts RecentKeys(const TempSettings& ini, const char* section, const char* pattern) {
    Texts values;
    for (int k = 0; k < kRecentCount; ++k) {
        char key[32];
        FormatText(key, pattern, k);
        values.push_back(ini.Read(section, key));
    }
    return values;
}

LONG TextWidth(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// ---- Main-file and folder modes ---------------------------------------------------------------------------------

TEST(SelectionMainFile, OffersTheRecentFilesAndTakesATypedNameOnOkOnly) {
    TempSettings ini(Ini() + "[Files]\r\nFile0=C:\\a.tex\r\nFile1=C:\\b.tex\r\nFile2=C:\\c.tex\r\n"
                             "[Positions]\r\nPos2=30,40,500,90\r\n");
    BarRun bar(ini.path(), "C:\\b.tex");
    // Another instance adds an entry after a gap while the bar is open: the dialog reads the file again.
    const std::string longName = "C:\\Papers\\" + std::string(60, 'x') + "\\d.tex";
    ini.Write("Files", "File4", longName.c_str());
    const Texts filesBefore = RecentKeys(ini, "Files", "File%d");

    HWND dialog = Press(bar, 0);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(dialog), kMainTitle);
    EXPECT_EQ(WindowText(Field(dialog)), "C:\\b.tex");
    EXPECT_EQ(ComboItems(Field(dialog)), Texts({"C:\\b.tex", "C:\\a.tex", "C:\\c.tex", longName}));
    EXPECT_GE(SendMessageA(Field(dialog), CB_GETDROPPEDWIDTH, 0, 0), TextWidth(Field(dialog), longName));
    Type(FieldEdit(dialog), "C:\\not\\taken.tex");
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));
    EXPECT_EQ(std::string(g_paths.mainFile), "C:\\b.tex");
    EXPECT_EQ(WindowText(bar.window()), "C:\\b.tex - Brisolt");
    EXPECT_EQ(RecentKeys(ini, "Files", "File%d"), filesBefore);

    // A recent entry typed in another case moves to the front with its position, in the new spelling.
    dialog = Press(bar, 0);
    ASSERT_TRUE(dialog);
    Type(FieldEdit(dialog), "c:\\C.TEX");
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_TRUE(WaitFor([&] { return WindowText(bar.window()) == "c:\\C.TEX - Brisolt"; }, kWaitMs));
    EXPECT_EQ(RecentKeys(ini, "Files", "File%d"),
              Texts({"c:\\C.TEX", "C:\\b.tex", "C:\\a.tex", longName, "", "", "", "", "", ""}));
    EXPECT_EQ(ini.Read("Positions", "Pos0"), "30,40,500,90");

    // Typing stops at the end of the field.
    const std::string overlong = "C:\\" + std::string(297, 'n');
    dialog = Press(bar, 0);
    ASSERT_TRUE(dialog);
    Type(FieldEdit(dialog), overlong);
    EXPECT_EQ(WindowText(Field(dialog)), overlong.substr(0, kPathSize - 1));
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_EQ(std::string(g_paths.mainFile), overlong.substr(0, kPathSize - 1));
}

TEST(SelectionFolder, OkSetsTheFolderOfTheNextRunAndAnEmptyFieldIsPushedToo) {
    TempSettings ini(Ini() + "[Directories]\r\nDirectory0=C:\\old\r\n");
    const std::string work = ini.folder() + "\\work", documents = ini.folder() + "\\documents";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(documents.c_str(), nullptr);
    {
        BarRun bar(ini.path(), documents + "\\main.tex");
        HWND dialog = Press(bar, 1);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(WindowText(dialog), kFolderTitle);
        EXPECT_EQ(WindowText(Field(dialog)), "");
        EXPECT_EQ(ComboItems(Field(dialog)), Texts({"C:\\old"}));
        ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
        EXPECT_EQ(RecentKeys(ini, "Directories", "Directory%d"), Texts({"", "C:\\old", "", "", "", "", "", "", "", ""}));

        dialog = Press(bar, 1);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(ComboItems(Field(dialog)), Texts({"C:\\old"})) << "the empty entry is dropped when read again";
        Type(FieldEdit(dialog), work);
        ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
        EXPECT_EQ(RecentKeys(ini, "Directories", "Directory%d"), Texts({work, "C:\\old", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(WindowText(bar.window()), documents + "\\main.tex - Brisolt");

        // A button without a folder of its own now starts in the default folder, not the main file's.
        PostMessageA(GetDlgItem(bar.window(), IDC_BAR_FIRST + 2), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return ReadWhole(work + "\\wf.txt").find('\n') != std::string::npos; }, kWaitMs));
        std::string started = ReadWhole(work + "\\wf.txt");
        started.erase(started.find_last_not_of("\r\n ") + 1);
        EXPECT_EQ(Lower(LongPath(started)), Lower(LongPath(work)));
        EXPECT_FALSE(Exists(documents + "\\wf.txt"));
        PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(bar.WaitClosed(kWaitMs));
    }
    SaveOnExit();
    EXPECT_EQ(ini.Read("Options", "LastDir"), work);
}

// ---- Browse: the system's pickers -------------------------------------------------------------------------------

HWND PickerNameEdit(HWND picker) {
    return reinterpret_cast<HWND>(SendMessageA(GetDlgItem(picker, kFileName), CBEM_GETEDITCONTROL, 0, 0));
}

TEST(SelectionBrowse, TheOpenFileDialogOffersTheUserFiltersFirstAndItsChoiceBecomesTheMainFile) {
    TempSettings ini(Ini("Filter1=BibTeX files\r\nFilter2=*.bib\r\n"));
    const std::string chosen = ini.folder() + "\\Refs.bib";
    WriteWhole(chosen, "@book{x}\n");
    BarRun bar(ini.path(), "C:\\start.tex");
    HWND dialog = Press(bar, 0);
    ASSERT_TRUE(dialog);

    SetWindowTextA(Field(dialog), "C:\\kept.tex");
    Click(dialog, IDC_SELECTION_BROWSE);
    HWND picker = WaitForOwned(dialog);
    ASSERT_TRUE(picker);
    ASSERT_TRUE(ClickAndWaitGone(picker, IDCANCEL));
    Sleep(200);
    EXPECT_EQ(WindowText(Field(dialog)), "C:\\kept.tex") << "cancelled";

    Click(dialog, IDC_SELECTION_BROWSE);
    picker = WaitForOwned(dialog);
    ASSERT_TRUE(picker);
    EXPECT_EQ(WindowText(picker), "Select file");
    EXPECT_EQ(ComboItems(GetDlgItem(picker, kFileTypes)),
              Texts({"BibTeX files", "TeX and LaTeX files", "C and C++ files", "All files"}));
    EXPECT_EQ(SendMessageA(GetDlgItem(picker, kFileTypes), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(PickerNameEdit(picker)), "kept.tex") << "the field's text is where the dialog starts";
    SetWindowTextA(PickerNameEdit(picker), chosen.c_str());
    ASSERT_TRUE(ClickAndWaitGone(picker, IDOK));
    EXPECT_TRUE(WaitFor([&] { return Lower(WindowText(Field(dialog))) == Lower(chosen); }, kWaitMs));

    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_TRUE(WaitFor([&] { return Lower(WindowText(bar.window())) == Lower(chosen + " - Brisolt"); }, kWaitMs));
    EXPECT_EQ(Lower(ini.Read("Files", "File0")), Lower(chosen));
    char recent[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, FALSE));
    // The shell hears of the file from a thread of its own.
    EXPECT_TRUE(WaitFor(
        [&] { return Exists(std::string(recent) + "\\Refs.bib.lnk") || Exists(std::string(recent) + "\\Refs.lnk"); },
        kWaitMs));
}

// Opens the folder browser from the dialog, selects the root of its tree or the root's child named `child`,
// and answers with `button`.
void BrowseFolder(HWND dialog, const char* child, int button) {
    Click(dialog, IDC_SELECTION_BROWSE);
    HWND browser = WaitForOwned(dialog);
    ASSERT_TRUE(browser);
    EXPECT_EQ(WindowText(GetDlgItem(browser, kBrowserTitle)), "Select Default Folder");
    HWND tree = GetDlgItem(browser, kBrowserTree);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (child) {
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        for (char text[MAX_PATH] = ""; item; item = TreeView_GetNextSibling(tree, item)) {
            TVITEMA info{TVIF_TEXT, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
            if (std::string(text) == child) break;
        }
    }
    ASSERT_TRUE(item) << (child ? child : "the root");
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ASSERT_TRUE(ClickAndWaitGone(browser, button));
    Sleep(200);
}

TEST(SelectionBrowse, TheFolderBrowserFillsTheFieldOnlyWithAFolderOnDisk) {
    TempSettings ini(Ini());
    BarRun bar(ini.path(), "");
    HWND dialog = Press(bar, 1);
    ASSERT_TRUE(dialog);
    SetWindowTextA(Field(dialog), "C:\\kept");
    BrowseFolder(dialog, nullptr, IDCANCEL);
    EXPECT_EQ(WindowText(Field(dialog)), "C:\\kept") << "cancelled";
    // The computer has no folder on disk: its display name must not stand in for one.
    BrowseFolder(dialog, "My Computer", IDOK);
    EXPECT_EQ(WindowText(Field(dialog)), "C:\\kept") << "the computer";
    char desktop[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    BrowseFolder(dialog, nullptr, IDOK);
    EXPECT_EQ(Lower(WindowText(Field(dialog))), Lower(desktop)) << "the desktop";
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));
}

// ---- The pickers of the configuration dialog and the icon picker, called directly ------------------------------

struct PickerSeen {
    std::string title;
    Texts types;
    LRESULT selected = -1;
    bool refused = false;  // the name typed was answered with a message box
};

// Answers the next open-file dialog of this process: types `name` and presses Open, or cancels when it is
// empty or refused.
std::thread AnswerPicker(const char* title, const std::string& name, PickerSeen& seen) {
    return std::thread([=, &seen] {
        HWND picker = nullptr;
        if (!WaitFor([&] { return (picker = FindOwnWindow(title)) != nullptr; }, kWaitMs)) return;
        seen = PickerSeen{WindowText(picker), ComboItems(GetDlgItem(picker, kFileTypes)),
                          SendMessageA(GetDlgItem(picker, kFileTypes), CB_GETCURSEL, 0, 0), false};
        if (!name.empty()) {
            SetWindowTextA(PickerNameEdit(picker), name.c_str());
            Click(picker, IDOK);
            if (WaitFor([&] { return !IsWindow(picker); }, 2000)) return;
            if (HWND box = WaitForOwned(picker)) {
                seen.refused = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !IsWindow(box); }, kWaitMs);
            }
        }
        ClickAndWaitGone(picker, IDCANCEL);
    });
}

class FileSelection : public ::testing::Test {
protected:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        CopyText(g_paths.settingsFile, ini_.path());
    }
    TempSettings ini_{"[Options]\r\nFilter1=Scripts\r\nFilter2=*.cmd;*.ps1\r\n"};
};

TEST_F(FileSelection, ProgramsAndIconsMustExist) {
    const std::string tool = ini_.folder() + "\\tool.exe", icon = ini_.folder() + "\\pictures.ico";
    WriteWhole(tool, "MZ");
    WriteWhole(icon, "icon");
    const char iconFilter[] = "Icon files\0*.ico\0Programs\0*.exe\0";
    struct Case {
        bool programs;
        std::string typed;
        int expected;  // non-zero: the typed name comes back
        PickerSeen wanted;
    } cases[] = {
        {true, "C:\\no\\such\\tool.exe", 0, {"Select program", {"Scripts", "Executable files", "All files"}, 0, true}},
        {true, tool, 1, {"Select program", {"Scripts", "Executable files", "All files"}, 0, false}},
        {false, ini_.folder() + "\\missing.ico", 0, {"Choose icon", {"Icon files", "Programs"}, 0, true}},
        {false, icon, 1, {"Choose icon", {"Icon files", "Programs"}, 0, false}},
    };
    for (const Case& c : cases) {
        char buffer[kPathSize] = "C:\\before";
        PickerSeen seen;
        std::thread answer = AnswerPicker(c.wanted.title.c_str(), c.typed, seen);
        const int result = c.programs ? ChooseFile(nullptr, buffer, FileKind::kProgram)
                                      : ChooseFileWithFilter(nullptr, IDS_CHOOSE_ICON, buffer, iconFilter, "ICO");
        answer.join();
        EXPECT_EQ(result != 0, c.expected != 0) << c.typed;
        EXPECT_EQ(Lower(buffer), Lower(c.expected ? c.typed : "C:\\before")) << c.typed;
        EXPECT_EQ(seen.title, c.wanted.title);
        EXPECT_EQ(seen.types, c.wanted.types) << c.typed;
        EXPECT_EQ(seen.selected, c.wanted.selected) << c.typed;
        EXPECT_EQ(seen.refused, c.wanted.refused) << c.typed;
    }
}

TEST_F(FileSelection, OverlongAndOddFilterValuesKeepAWellFormedListAndWriteNothing) {
    std::string many = "[Options]\r\n";  // 200 values of 255 characters: only 19 pairs fit
    for (int n = 1; n <= 200; ++n)
        many += "Filter" + std::to_string(n) + "=" + std::string(252, static_cast<char>('a' + n % 26)) + "(d)\r\n";
    const std::string odd = "[Options]\r\nFilter1=T\xE9X | (*.tex) ; = \"x\r\nFilter2=*.t?x;;\r\n"
                            "Filter3=" + std::string(300, 'L') + "\r\nFilter4=*.l\r\n";
    Texts manyExpected;
    for (int n = 1; n <= 37; n += 2) manyExpected.push_back(std::string(252, static_cast<char>('a' + n % 26)) + "(d)");
    const Texts oddExpected = {"T\xE9X | (*.tex) ; = \"x", std::string(255, 'L'), "TeX and LaTeX files",
                               "C and C++ files", "All files"};
    for (const auto& [text, expected] : {std::pair{many, manyExpected}, std::pair{odd, oddExpected}}) {
        WriteWhole(ini_.path(), text);
        PickerSeen seen;
        char buffer[kPathSize] = "";
        std::thread answer = AnswerPicker("Select file", "", seen);
        EXPECT_EQ(ChooseFile(nullptr, buffer, FileKind::kMainFile), 0);
        answer.join();
        EXPECT_EQ(seen.types, expected);
        EXPECT_EQ(ReadWhole(ini_.path()), text) << "reading the filters wrote to the settings file";
    }
}

// The pickers put the current folder back, so that relative names keep their meaning, and a file or folder
// whose name the code page cannot write comes back in its short form.
TEST_F(FileSelection, TheCurrentFolderStaysAndForeignNamesComeBackShort) {
    const std::wstring foreign = Widen(MakeFolder(ini_.folder() + "\\elsewhere")) + L"\\\u0394\u03bf\u03ba.tex";
    ASSERT_TRUE(WriteWholeWide(foreign, "x"));
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, before);
    for (const std::wstring& typed : {Widen(ini_.folder() + "\\elsewhere"), foreign}) {
        // The user types a folder, which the dialog moves into, and cancels; or types the file.
        std::thread user([&] {
            HWND picker = nullptr;
            if (!WaitFor([&] { return (picker = FindOwnWindow("Select file")) != nullptr; }, kWaitMs)) return;
            SetWindowTextW(PickerNameEdit(picker), typed.c_str());
            Click(picker, IDOK);
            if (!WaitFor([&] { return !IsWindow(picker); }, 2000)) ClickAndWaitGone(picker, IDCANCEL);
        });
        char buffer[kPathSize] = "";
        const bool chosen = ChooseFile(nullptr, buffer, FileKind::kMainFile);
        user.join();
        EXPECT_EQ(chosen, typed == foreign);
        if (chosen) {
            EXPECT_EQ(std::string(buffer), ShortPathOf(foreign));
        }
        char after[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, after);
        EXPECT_STREQ(after, before);
    }
}

// ---- The dialog's frame -----------------------------------------------------------------------------------------

TEST(SelectionDialogFrame, EveryControlShowsWholeAndHelpLeavesTheDialogAsItWas) {
    TempSettings ini(Ini());
    BarRun bar(ini.path(), "");
    for (int index : {0, 1}) {
        HWND dialog = Press(bar, index);
        ASSERT_TRUE(dialog) << index;
        EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) << index;
        RECT client{};
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::vector<RECT> placed;
        for (int id : {IDC_SELECTION_COMBO, IDC_SELECTION_BROWSE, IDOK, IDCANCEL, IDC_HELP_BUTTON}) {
            RECT rect{}, overlap{};
            GetWindowRect(GetDlgItem(dialog, id), &rect);
            EXPECT_TRUE(IntersectRect(&overlap, &rect, &client) && EqualRect(&overlap, &rect)) << id << " clipped";
            for (const RECT& other : placed) EXPECT_FALSE(IntersectRect(&overlap, &rect, &other)) << id << " overlaps";
            placed.push_back(rect);
            if (id == IDC_SELECTION_COMBO) continue;
            EXPECT_LT(TextWidth(GetDlgItem(dialog, id), WindowText(GetDlgItem(dialog, id))), rect.right - rect.left - 4);
        }
        // Help opens the dialog's topic, F1 the field's; the dialog stays as it was.
        const HelpRecorder help;
        const std::string text = WindowText(Field(dialog));
        SendMessageA(GetDlgItem(dialog, IDC_HELP_BUTTON), BM_CLICK, 0, 0);
        HELPINFO info{sizeof info, HELPINFO_WINDOW, IDC_SELECTION_COMBO, Field(dialog), 0, {}};
        SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        const std::vector<HelpCall> calls = help.calls();
        ASSERT_EQ(calls.size(), 2u) << index;
        EXPECT_EQ(calls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
        EXPECT_EQ(calls[0].data, static_cast<DWORD_PTR>(IDH_SELECTION));
        EXPECT_EQ(calls[1].command, static_cast<UINT>(HH_TP_HELP_WM_HELP));
        EXPECT_EQ(MappedTopic(calls[1].data, IDC_SELECTION_COMBO), static_cast<DWORD>(IDC_SELECTION_COMBO));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(WindowText(Field(dialog)), text);
        ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL)) << index;
    }
}

}  // namespace
