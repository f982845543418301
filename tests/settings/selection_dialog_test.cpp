// The selection dialog on the real button bar, and the file and folder pickers behind it, under Wine:
// the dialogs are the system's own, driven from the test thread while the bar's thread runs them.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <thread>
#include <vector>

#include "app/bar_test_support.h"
#include "app/shutdown.h"
#include "base/app_handles.h"
#include "base/bounded_text.h"
#include "res/resource.h"
#include "settings/file_selection.h"
#include "settings/settings_records.h"
#include "support/test_files.h"

namespace {

constexpr DWORD kWaitMs = 10000;
constexpr char kMainFileTitle[] = "Brisolt Main File";
constexpr char kFolderTitle[] = "Brisolt Default Folder";
// Button 1 chooses the main file, button 2 the default folder, button 3 writes its working folder.
// Extra keys of "Options" go before the buttons.
std::string Ini(const std::string& options = "") {
    return "[Options]\r\nRows=1\r\nCols=4\r\n" + options +
           "[Buttons]\r\nType1=1\r\nType2=2\r\nType3=0\r\nCommand3=cmd\r\nOptions3=/c cd > wf.txt\r\nWait3=1\r\n"
           "Log3=0\r\n";
}
// The open-file dialog's file-type list and file-name field, and the folder browser's tree.
constexpr int kFileTypeCombo = 0x470;
constexpr int kFileNameField = 0x47c;
constexpr int kFolderTree = 0x3741;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

HWND WaitForOwnWindow(const char* title, HWND except = nullptr) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwnWindow(title, except)) != nullptr; }, kWaitMs);
    return found;
}

struct ChildSearch {
    const char* className;
    int id;
    const char* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if ((search->className && lstrcmpiA(className, search->className) != 0) ||
        (search->id && GetDlgCtrlID(window) != search->id) || (search->text && WindowText(window) != search->text))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A descendant of parent by class, id and text (each left out when null or 0).
HWND FindChild(HWND parent, const char* className, int id, const char* text = nullptr) {
    ChildSearch search{className, id, text, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct TopSearch {
    const char* childText;
    HWND found;
};

BOOL CALLBACK MatchTopWithChildText(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<TopSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (!FindChild(window, "Static", 0, search->childText)) return TRUE;
    search->found = window;
    return FALSE;
}

// The folder browser: its caption is the system's, the title we gave is a line of text inside it.
HWND WaitForFolderBrowser() {
    TopSearch search{"Select Default Folder", nullptr};
    WaitFor(
        [&] {
            EnumWindows(MatchTopWithChildText, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        kWaitMs);
    return search.found;
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool ClickAndWaitGone(HWND dialog, int id) {
    Click(dialog, id);
    return WaitFor([&] { return !IsWindow(dialog); }, kWaitMs);
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT k = 0; k < count; ++k) {
        char text[1024] = "";
        if (SendMessageA(combo, CB_GETLBTEXTLEN, k, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(combo, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// Types text into an edit field key by key, over what it held.
void Type(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

HWND SelectionField(HWND dialog) {
    return GetDlgItem(dialog, IDC_SELECTION_COMBO);
}

HWND SelectionEdit(HWND dialog) {
    return FindChild(SelectionField(dialog), "Edit", 0);
}

// Presses bar button `index` (0-based) as a click would and waits for the dialog it opens.
HWND PressBarButton(const BarRun& bar, int index, const char* title) {
    PostMessageA(GetDlgItem(bar.window(), IDC_BAR_FIRST + index), BM_CLICK, 0, 0);
    return WaitForOwnWindow(title, bar.window());
}

// The width of text in the control's own font.
LONG TextWidth(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

std::vector<std::string> RecentKeys(const TempSettings& ini, const char* section, const char* pattern) {
    std::vector<std::string> values;
    for (int k = 0; k < kRecentCount; ++k) {
        char key[32];
        FormatText(key, pattern, k);
        values.push_back(ini.Read(section, key));
    }
    return values;
}

std::string MakeFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// ---- Main-file mode ---------------------------------------------------------------------------------------------

TEST(SelectionMainFile, OffersTheMainFileAndTheRecentFilesAndCancelChangesNothing) {
    TempSettings ini(Ini() + "[Files]\r\nFile0=C:\\a.tex\r\nFile1=C:\\b.tex\r\nFile2=C:\\c.tex\r\n");
    BarRun bar(ini.path(), "C:\\b.tex");
    ASSERT_TRUE(bar.window());
    // Another instance adds an entry after a gap while the bar is open: the dialog reads the file again.
    const std::string longName = "C:\\Papers\\" + std::string(60, 'x') + "\\d.tex";
    ini.Write("Files", "File4", longName.c_str());
    const std::vector<std::string> filesBefore = RecentKeys(ini, "Files", "File%d");
    const std::string captionBefore = WindowText(bar.window());

    HWND dialog = PressBarButton(bar, 0, kMainFileTitle);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), bar.window());
    EXPECT_EQ(WindowText(SelectionField(dialog)), "C:\\b.tex");
    EXPECT_EQ(ComboItems(SelectionField(dialog)),
              std::vector<std::string>({"C:\\b.tex", "C:\\a.tex", "C:\\c.tex", longName}));
    // The list opens wide enough to show the long entry whole.
    EXPECT_GE(SendMessageA(SelectionField(dialog), CB_GETDROPPEDWIDTH, 0, 0),
              TextWidth(SelectionField(dialog), longName));
    Type(SelectionEdit(dialog), "C:\\not\\taken.tex");
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));

    EXPECT_EQ(std::string(g_paths.mainFile), "C:\\b.tex");
    EXPECT_EQ(WindowText(bar.window()), captionBefore);
    EXPECT_EQ(RecentKeys(ini, "Files", "File%d"), filesBefore);
}

TEST(SelectionMainFile, OkMakesTheTypedNameTheMainFile) {
    TempSettings ini(Ini() +
                     "[Files]\r\nFile0=C:\\a.tex\r\nFile1=C:\\b.tex\r\nFile2=C:\\c.tex\r\n"
                     "[Positions]\r\nPos2=30,40,500,90\r\n");
    BarRun bar(ini.path(), "C:\\a.tex");
    // A name that exists, so that the shell's recent documents can take it.
    const std::string chosen = ini.folder() + "\\Chosen.tex";
    WriteWhole(chosen, "\\relax\n");

    HWND dialog = PressBarButton(bar, 0, kMainFileTitle);
    ASSERT_TRUE(dialog);
    Type(SelectionEdit(dialog), chosen);
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_TRUE(WaitFor([&] { return WindowText(bar.window()) == chosen + " - Brisolt"; }, kWaitMs))
        << WindowText(bar.window());
    EXPECT_EQ(std::string(g_paths.mainFile), chosen);
    EXPECT_EQ(RecentKeys(ini, "Files", "File%d"),
              std::vector<std::string>({chosen, "C:\\a.tex", "C:\\b.tex", "C:\\c.tex", "", "", "", "", "", ""}));

    // A recent entry typed in another case moves to the front with its position and takes the new spelling.
    dialog = PressBarButton(bar, 0, kMainFileTitle);
    ASSERT_TRUE(dialog);
    Type(SelectionEdit(dialog), "c:\\C.TEX");
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_TRUE(WaitFor([&] { return WindowText(bar.window()) == "c:\\C.TEX - Brisolt"; }, kWaitMs));
    EXPECT_EQ(ini.Read("Files", "File0"), "c:\\C.TEX");
    EXPECT_EQ(ini.Read("Positions", "Pos0"), "30,40,500,90");
    EXPECT_EQ(ini.Read("Files", "File1"), chosen);

    // The shell's recent documents learnt of the existing file.
    char recent[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, FALSE));
    EXPECT_TRUE(Exists(std::string(recent) + "\\Chosen.tex.lnk") || Exists(std::string(recent) + "\\Chosen.lnk"));
}

TEST(SelectionMainFile, ATypedNameLongerThanTheFieldIsCut) {
    TempSettings ini(Ini());
    BarRun bar(ini.path(), "");
    const std::string name = "C:\\" + std::string(297, 'n');
    HWND dialog = PressBarButton(bar, 0, kMainFileTitle);
    ASSERT_TRUE(dialog);
    Type(SelectionEdit(dialog), name);
    EXPECT_EQ(WindowText(SelectionField(dialog)), name.substr(0, kPathSize - 1));
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_EQ(std::string(g_paths.mainFile), name.substr(0, kPathSize - 1));
    EXPECT_EQ(ini.Read("Files", "File0"), name.substr(0, kPathSize - 1));
}

// ---- Folder mode ------------------------------------------------------------------------------------------------

TEST(SelectionFolder, OkMakesTheTypedFolderTheDefaultForTheNextRun) {
    TempSettings ini(Ini() + "[Directories]\r\nDirectory0=C:\\old\r\n");
    const std::string work = MakeFolder(ini.folder() + "\\work");
    const std::string documents = MakeFolder(ini.folder() + "\\documents");
    {
        BarRun bar(ini.path(), documents + "\\main.tex");
        HWND dialog = PressBarButton(bar, 1, kFolderTitle);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(WindowText(SelectionField(dialog)), "");
        EXPECT_EQ(ComboItems(SelectionField(dialog)), std::vector<std::string>({"C:\\old"}));
        Type(SelectionEdit(dialog), work);
        ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
        EXPECT_EQ(std::string(g_paths.defaultFolder), work);
        EXPECT_EQ(RecentKeys(ini, "Directories", "Directory%d"),
                  std::vector<std::string>({work, "C:\\old", "", "", "", "", "", "", "", ""}));
        // The caption stays: only a new main file changes it.
        EXPECT_EQ(WindowText(bar.window()), documents + "\\main.tex - Brisolt");

        // A button without a folder of its own now starts in the default folder, not the main file's.
        PostMessageA(GetDlgItem(bar.window(), IDC_BAR_FIRST + 2), BM_CLICK, 0, 0);
        const std::string written = work + "\\wf.txt";
        EXPECT_TRUE(WaitFor([&] { return ReadWhole(written).find('\n') != std::string::npos; }, kWaitMs));
        EXPECT_EQ(Lower(LongPath(Trimmed(ReadWhole(written)))), Lower(LongPath(work)));
        EXPECT_FALSE(Exists(documents + "\\wf.txt"));
        PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(bar.WaitClosed(kWaitMs));
    }
    SaveOnExit();
    EXPECT_EQ(ini.Read("Options", "LastDir"), work);
}

TEST(SelectionFolder, OkWithAnEmptyFieldPushesAnEmptyEntry) {
    TempSettings ini(Ini() + "[Directories]\r\nDirectory0=C:\\one\r\nDirectory1=C:\\two\r\n");
    BarRun bar(ini.path(), "");
    CopyText(g_paths.defaultFolder, "C:\\one");
    HWND dialog = PressBarButton(bar, 1, kFolderTitle);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(SelectionField(dialog)), "C:\\one");
    Type(SelectionEdit(dialog), "");
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDOK));
    EXPECT_EQ(std::string(g_paths.defaultFolder), "");
    EXPECT_EQ(RecentKeys(ini, "Directories", "Directory%d"),
              std::vector<std::string>({"", "C:\\one", "C:\\two", "", "", "", "", "", "", ""}));
    // The empty entry is dropped when the list is read again.
    dialog = PressBarButton(bar, 1, kFolderTitle);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ComboItems(SelectionField(dialog)), std::vector<std::string>({"C:\\one", "C:\\two"}));
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));
}

// ---- Browse: the system's pickers -------------------------------------------------------------------------------

TEST(SelectionBrowse, TheOpenFileDialogOffersTheUserFiltersFirstAndFillsTheField) {
    TempSettings ini(Ini("Filter1=BibTeX files\r\nFilter2=*.bib\r\n"));
    const std::string chosen = ini.folder() + "\\refs.bib";
    WriteWhole(chosen, "@book{x}\n");
    BarRun bar(ini.path(), "C:\\start.tex");
    HWND dialog = PressBarButton(bar, 0, kMainFileTitle);
    ASSERT_TRUE(dialog);

    Click(dialog, IDC_SELECTION_BROWSE);
    HWND picker = WaitForOwnWindow("Select file", bar.window());
    ASSERT_TRUE(picker);
    HWND types = GetDlgItem(picker, kFileTypeCombo);
    EXPECT_EQ(ComboItems(types),
              std::vector<std::string>({"BibTeX files", "TeX and LaTeX files", "C and C++ files", "All files"}));
    EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 0);
    HWND name = FindChild(picker, "Edit", kFileNameField);
    ASSERT_TRUE(name);
    // The field's text is where the dialog starts.
    EXPECT_EQ(WindowText(name), "start.tex");
    SetWindowTextA(name, chosen.c_str());
    ASSERT_TRUE(ClickAndWaitGone(picker, IDOK));
    EXPECT_TRUE(WaitFor([&] { return Lower(WindowText(SelectionField(dialog))) == Lower(chosen); }, kWaitMs))
        << WindowText(SelectionField(dialog));
    EXPECT_TRUE(IsWindow(dialog)) << "the selection dialog stays open after Browse";

    // Cancelled, the open-file dialog leaves the field as it was.
    SetWindowTextA(SelectionField(dialog), "C:\\kept.tex");
    Click(dialog, IDC_SELECTION_BROWSE);
    picker = WaitForOwnWindow("Select file", bar.window());
    ASSERT_TRUE(picker);
    ASSERT_TRUE(ClickAndWaitGone(picker, IDCANCEL));
    Sleep(200);
    EXPECT_EQ(WindowText(SelectionField(dialog)), "C:\\kept.tex");
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));
}

// The tree item under the root with this text, or null.
HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& text) {
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
         item; item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        char buffer[MAX_PATH] = "";
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = sizeof buffer;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        if (text == buffer) return item;
    }
    return nullptr;
}

// Opens the folder browser from the dialog, selects an item of its tree (the root when `child` is null)
// and answers with `button`.
void BrowseFolder(HWND dialog, const char* child, int button) {
    Click(dialog, IDC_SELECTION_BROWSE);
    HWND browser = WaitForFolderBrowser();
    ASSERT_TRUE(browser);
    HWND tree = GetDlgItem(browser, kFolderTree);
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ASSERT_TRUE(root);
    HTREEITEM item = root;
    if (child) {
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
        item = FindTreeChild(tree, root, child);
        ASSERT_TRUE(item) << child;
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ASSERT_TRUE(ClickAndWaitGone(browser, button));
    Sleep(200);
}

TEST(SelectionBrowse, TheFolderBrowserFillsTheFieldOnlyWithAFolderOnDisk) {
    TempSettings ini(Ini());
    BarRun bar(ini.path(), "");
    HWND dialog = PressBarButton(bar, 1, kFolderTitle);
    ASSERT_TRUE(dialog);

    SetWindowTextA(SelectionField(dialog), "C:\\kept");
    BrowseFolder(dialog, nullptr, IDCANCEL);
    EXPECT_EQ(WindowText(SelectionField(dialog)), "C:\\kept") << "cancelled";

    // The computer is an item without a folder on disk: its display name must not become the folder.
    BrowseFolder(dialog, "My Computer", IDOK);
    EXPECT_EQ(WindowText(SelectionField(dialog)), "C:\\kept") << "the computer";

    char desktop[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    BrowseFolder(dialog, nullptr, IDOK);
    EXPECT_EQ(Lower(WindowText(SelectionField(dialog))), Lower(desktop)) << "the desktop";
    ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));
}

// ---- The pickers for the configuration dialog and the icon picker, called directly ----------------------------

class FileSelection : public ::testing::Test {
protected:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        CopyText(g_paths.settingsFile, ini_.path());
    }
    TempSettings ini_{"[Options]\r\nRows=1\r\n"};
};

// What a picker showed, read by the thread that answers it.
struct PickerSeen {
    bool found = false;
    std::vector<std::string> types;
    LRESULT selected = -1;
    std::string title;
};

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

// A visible window owned by `owner`, such as the message box of a dialog.
HWND OwnedWindow(HWND owner) {
    OwnedSearch search{owner, nullptr};
    EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Answers the open-file dialog titled `title`: types `name` and presses Open, or cancels when name is empty.
// When the dialog refuses the name with a message box of its own (a file that must exist), the box is
// answered, counted, and the dialog cancelled.
std::thread AnswerPicker(const char* title, const std::string& name, PickerSeen& seen, bool* refused = nullptr) {
    return std::thread([=, &seen] {
        HWND picker = WaitForOwnWindow(title);
        if (!picker) return;
        seen.found = true;
        seen.title = WindowText(picker);
        HWND types = GetDlgItem(picker, kFileTypeCombo);
        seen.types = ComboItems(types);
        seen.selected = SendMessageA(types, CB_GETCURSEL, 0, 0);
        if (!name.empty()) {
            SetWindowTextA(FindChild(picker, "Edit", kFileNameField), name.c_str());
            Click(picker, IDOK);
            HWND box = nullptr;
            WaitFor([&] { return !IsWindow(picker) || (box = OwnedWindow(picker)) != nullptr; }, kWaitMs);
            if (!IsWindow(picker)) return;
            if (refused) *refused = box != nullptr;
            if (box) {
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !IsWindow(box); }, kWaitMs);
            }
        }
        ClickAndWaitGone(picker, IDCANCEL);
    });
}

TEST_F(FileSelection, ProgramsOfferTheirOwnDefaultsAndMustExist) {
    ini_.Write("Options", "Filter1", "Scripts");
    ini_.Write("Options", "Filter2", "*.cmd;*.ps1");
    char buffer[kPathSize] = "C:\\no\\such\\tool.exe";
    PickerSeen seen;
    bool refused = false;
    std::thread answer = AnswerPicker("Select program", "C:\\no\\such\\tool.exe", seen, &refused);
    EXPECT_EQ(ChooseFile(nullptr, buffer, 1), 0);
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.types, std::vector<std::string>({"Scripts", "Executable files", "All files"}));
    EXPECT_EQ(seen.selected, 0);
    EXPECT_TRUE(refused) << "a program that does not exist is refused";
    EXPECT_STREQ(buffer, "C:\\no\\such\\tool.exe");

    const std::string tool = ini_.folder() + "\\tool.exe";
    WriteWhole(tool, "MZ");
    answer = AnswerPicker("Select program", tool, seen);
    EXPECT_NE(ChooseFile(nullptr, buffer, 1), 0);
    answer.join();
    EXPECT_EQ(Lower(buffer), Lower(tool));
}

TEST_F(FileSelection, WithFilterUsesTheCallersListAndTitleAndTheFileMustExist) {
    const std::string icon = ini_.folder() + "\\pictures.ico";
    WriteWhole(icon, "icon");
    const char filter[] = "Icon files\0*.ico\0Programs\0*.exe\0";
    char buffer[kPathSize] = "";
    PickerSeen seen;
    std::thread answer = AnswerPicker("Choose icon", icon, seen);
    EXPECT_NE(ChooseFileWithFilter(nullptr, IDS_CHOOSE_ICON, buffer, filter, "ICO"), 0);
    answer.join();
    EXPECT_EQ(seen.types, std::vector<std::string>({"Icon files", "Programs"}));
    EXPECT_EQ(seen.selected, 0);
    EXPECT_EQ(Lower(buffer), Lower(icon));

    CopyText(buffer, "C:\\unchanged.ico");
    bool refused = false;
    answer = AnswerPicker("Choose icon", ini_.folder() + "\\missing.ico", seen, &refused);
    EXPECT_EQ(ChooseFileWithFilter(nullptr, IDS_CHOOSE_ICON, buffer, filter, "ICO"), 0);
    answer.join();
    EXPECT_TRUE(refused);
    EXPECT_STREQ(buffer, "C:\\unchanged.ico");
}

TEST_F(FileSelection, OverlongAndOddFilterValuesKeepAWellFormedList) {
    // 200 values of 255 characters: 19 pairs fit, no defaults after them.
    std::string ini = "[Options]\r\n";
    for (int n = 1; n <= 200; ++n) {
        ini += "Filter" + std::to_string(n) + "=" + std::string(252, static_cast<char>('a' + n % 26)) +
               (n % 2 ? "(d)" : "*.x") + "\r\n";
    }
    WriteWhole(ini_.path(), ini);
    PickerSeen seen;
    char buffer[kPathSize] = "";
    std::thread answer = AnswerPicker("Select file", "", seen);
    EXPECT_EQ(ChooseFile(nullptr, buffer, 0), 0);
    answer.join();
    ASSERT_EQ(seen.types.size(), 19u);
    EXPECT_EQ(seen.types.front(), std::string(252, 'b') + "(d)");
    EXPECT_EQ(seen.types.back(), std::string(252, static_cast<char>('a' + 37 % 26)) + "(d)");
    EXPECT_EQ(ReadWhole(ini_.path()), ini) << "reading the filters wrote to the settings file";

    // Characters that mean something elsewhere pass through as text; a value over 255 characters is cut.
    const std::string odd = "[Options]\r\nFilter1=T\xE9X | (*.tex) ; = \"x\r\nFilter2=*.t?x;*.[ab];;\r\n"
                            "Filter3=" + std::string(300, 'L') + "\r\nFilter4=*.l\r\n";
    WriteWhole(ini_.path(), odd);
    answer = AnswerPicker("Select file", "", seen);
    EXPECT_EQ(ChooseFile(nullptr, buffer, 0), 0);
    answer.join();
    EXPECT_EQ(seen.types, std::vector<std::string>({"T\xE9X | (*.tex) ; = \"x", std::string(255, 'L'), "TeX and LaTeX files",
                                                    "C and C++ files", "All files"}));
    EXPECT_EQ(ReadWhole(ini_.path()), odd);
}

// ---- The dialog itself ------------------------------------------------------------------------------------------

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(SelectionDialogFrame, EveryControlShowsWholeInBothModesAndHelpKeepsItOpen) {
    TempSettings ini(Ini());
    BarRun bar(ini.path(), "");
    for (int index : {0, 1}) {
        HWND dialog = PressBarButton(bar, index, index == 0 ? kMainFileTitle : kFolderTitle);
        ASSERT_TRUE(dialog) << index;
        EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) << index;
        RECT client{};
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::vector<RECT> placed;
        for (int id : {IDC_SELECTION_COMBO, IDC_SELECTION_BROWSE, IDOK, IDCANCEL, IDC_HELP_BUTTON}) {
            HWND control = GetDlgItem(dialog, id);
            ASSERT_TRUE(control && IsWindowVisible(control)) << id;
            RECT rect{};
            GetWindowRect(control, &rect);
            EXPECT_TRUE(Inside(rect, client)) << "control " << id << " is clipped in mode " << index;
            for (const RECT& other : placed) {
                RECT overlap{};
                EXPECT_FALSE(IntersectRect(&overlap, &rect, &other)) << "control " << id << " overlaps another";
            }
            placed.push_back(rect);
        }
        // The button texts fit their buttons.
        for (int id : {IDC_SELECTION_BROWSE, IDOK, IDCANCEL, IDC_HELP_BUTTON}) {
            HWND button = GetDlgItem(dialog, id);
            RECT rect{};
            GetClientRect(button, &rect);
            EXPECT_LT(TextWidth(button, WindowText(button)), rect.right - 4) << WindowText(button);
        }
        // Help (the help file may be missing here) and F1 on the field leave the dialog as it was.
        Click(dialog, IDC_HELP_BUTTON);
        HELPINFO help{sizeof help, HELPINFO_WINDOW, IDC_SELECTION_COMBO, SelectionField(dialog), 0, {}};
        SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        Sleep(300);
        ASSERT_TRUE(IsWindow(dialog));
        ASSERT_TRUE(ClickAndWaitGone(dialog, IDCANCEL));
    }
}

}  // namespace
