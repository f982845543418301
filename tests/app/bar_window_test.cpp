// The real button bar under Wine: placement, saving on every move, recent files, caption, tooltips,
// dropped files, the system menu and the close rule; a start on a settled settings file writes nothing.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/button_bar.h"
#include "bar_test_support.h"
#include "base/handles.h"
#include "exec/watched_runs.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/settings_records.h"
#include "support/process_family.h"
#include "support/profile_calls.h"
#include "support/test_files.h"

namespace {
const char kOptions[] = "[Options]\r\nRows=2\r\nCols=8\r\n";

RECT OuterRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Place(HWND window) {
    const RECT r = OuterRect(window);
    char text[64];
    FormatText(text, "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return text;
}

HGLOBAL MakeDrop(const std::string& names) {  // names separated by '\0', the list ended by another
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return memory;
}

HGLOBAL MakeWideDrop(const std::wstring& name) {  // one name, as the shell drops it: in wide characters
    const std::size_t bytes = (name.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), name.c_str(), name.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

void DropWide(HWND bar, const std::wstring& name) {
    SendMessageA(bar, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeWideDrop(name)), 0);
}

// Greek and Cyrillic letters, which the Western code page lacks, and a blank.
const wchar_t kForeignName[] = L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae \u0442\u0435\u0441\u0442.tex";
}  // namespace

TEST(BarPlacement, OpensAtTheStoredRectangle) {
    TempSettings ini(std::string(kOptions) + "X=100\r\nY=120\r\nWidth=500\r\nHeight=90\r\n");
    BarRun bar(ini.path(), "");
    ASSERT_TRUE(bar.window());
    EXPECT_EQ(Place(bar.window()), "100,120,500,90");
}

TEST(BarPlacement, ZeroWidthOrHeightKeepsTheTemplate) {
    TempSettings reference(kOptions);
    std::string templateSize;
    {
        BarRun bar(reference.path(), "");
        const RECT r = OuterRect(bar.window());
        templateSize = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    }
    for (const char* keys : {"X=300\r\nY=300\r\nWidth=0\r\nHeight=90\r\n", "X=300\r\nY=300\r\nWidth=500\r\nHeight=0\r\n"}) {
        TempSettings ini(std::string(kOptions) + keys);
        BarRun bar(ini.path(), "");
        const RECT r = OuterRect(bar.window());
        EXPECT_EQ(std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top), templateSize) << keys;
        EXPECT_NE(r.left, 300) << keys;
    }
}

TEST(BarPlacement, MoveWritesTheRectangleAndTheMainFilesPosition) {
    for (const char* saveFilePos : {"1", "0"}) {
        TempSettings ini(std::string(kOptions) + "Save File Pos=" + saveFilePos +
                         "\r\n[Files]\r\nFile0=C:\\other.tex\r\nFile1=C:\\doc\\paper.tex\r\n[Positions]\r\nPos0=1,2,3,4\r\n");
        BarRun bar(ini.path(), "c:\\DOC\\paper.tex");
        SetWindowPos(bar.window(), nullptr, 200, 210, 520, 100, SWP_NOZORDER);
        EXPECT_EQ(ini.Read("Options", "X"), "200");
        EXPECT_EQ(ini.Read("Options", "Y"), "210");
        EXPECT_EQ(ini.Read("Options", "Width"), "520");
        EXPECT_EQ(ini.Read("Options", "Height"), "100");
        // Opening pushed the main file to the front; its position follows every move.
        EXPECT_EQ(ini.Read("Files", "File0"), "c:\\DOC\\paper.tex");
        EXPECT_EQ(ini.Read("Positions", "Pos0"), "200,210,520,100");
        EXPECT_EQ(ini.Read("Files", "File1"), "C:\\other.tex");
        EXPECT_EQ(ini.Read("Positions", "Pos1"), "1,2,3,4");
    }
}

TEST(BarPlacement, RestoresTheMainFilesOwnPosition) {
    const std::string lists = "[Files]\r\nFile0=C:\\a.tex\r\nFile1=C:\\doc\\paper.tex\r\n"
                              "[Positions]\r\nPos0=5,5,300,60\r\nPos1=150,160,480,95\r\n";
    {
        TempSettings ini(std::string(kOptions) + "X=10\r\nY=10\r\nWidth=400\r\nHeight=80\r\n" + lists);
        BarRun bar(ini.path(), "C:\\DOC\\PAPER.TEX");
        EXPECT_EQ(Place(bar.window()), "150,160,480,95");
    }
    {
        TempSettings ini(std::string(kOptions) + "Save File Pos=0\r\nX=10\r\nY=10\r\nWidth=400\r\nHeight=80\r\n" + lists);
        BarRun bar(ini.path(), "C:\\doc\\paper.tex");
        EXPECT_EQ(Place(bar.window()), "10,10,400,80");
    }
}

TEST(BarPlacement, PositionsThatDoNotParseAreIgnored) {
    for (const char* position : {"10,20,300", "1,2,x,4", "1,2,99999999999,4"}) {
        TempSettings ini(std::string(kOptions) + "X=30\r\nY=40\r\nWidth=410\r\nHeight=70\r\n[Files]\r\nFile0=C:\\p.tex\r\n"
                         "[Positions]\r\nPos0=" + position + "\r\n");
        BarRun bar(ini.path(), "C:\\p.tex");
        EXPECT_EQ(Place(bar.window()), "30,40,410,70") << position;
    }
}

// Under bare Xvfb, Wine sometimes ignores a minimise or undoes it a moment later; that restore saves
// the normal rectangle again, which is right. What must never reach the file is the rectangle of a
// minimised or maximised bar.
static bool ShowAndWait(HWND window, int command) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        ShowWindow(window, command);
        if (WaitFor([&] { return (command == SW_MINIMIZE ? IsIconic(window) : IsZoomed(window)) != FALSE; }, 1000)) {
            return true;
        }
    }
    return false;
}

TEST(BarPlacement, MinimiseAndMaximiseSaveNothing) {
    TempSettings ini(std::string(kOptions) + "X=100\r\nY=100\r\nWidth=450\r\nHeight=80\r\n");
    BarRun bar(ini.path(), "");
    for (int command : {SW_MINIMIZE, SW_MAXIMIZE}) {
        ini.Write("Options", "X", "7777");
        ini.Write("Options", "Width", "7777");
        ASSERT_TRUE(ShowAndWait(bar.window(), command)) << command;
        const std::string x = ini.Read("Options", "X");
        const std::string width = ini.Read("Options", "Width");
        EXPECT_TRUE(x == "7777" || x == "100") << command << ": " << x;
        EXPECT_TRUE(width == "7777" || width == "450") << command << ": " << width;
        ShowWindow(bar.window(), SW_RESTORE);
        ASSERT_TRUE(WaitFor([&] { return !IsIconic(bar.window()) && !IsZoomed(bar.window()); }, 3000));
        EXPECT_TRUE(WaitFor([&] { return ini.Read("Options", "X") == "100"; }, 3000));
        EXPECT_EQ(ini.Read("Options", "Width"), "450");
    }
}

TEST(BarCaption, ShowsTheMainFileOrThePattern) {
    {
        TempSettings ini(kOptions);
        BarRun bar(ini.path(), "");
        EXPECT_EQ(WindowText(bar.window()), "Brisolt");
    }
    {
        TempSettings ini(kOptions);
        BarRun bar(ini.path(), "C:\\docs\\paper.tex");
        EXPECT_EQ(WindowText(bar.window()), "C:\\docs\\paper.tex - Brisolt");
    }
    {
        TempSettings ini(std::string(kOptions) + "Caption=LaTeX\r\n");
        BarRun bar(ini.path(), "C:\\docs\\paper.tex");
        EXPECT_EQ(WindowText(bar.window()), "LaTeX");
    }
    {
        TempSettings ini(std::string(kOptions) + "Caption=%@n% in %@t%\r\n");
        BarRun bar(ini.path(), "C:\\docs\\paper.tex");
        EXPECT_EQ(WindowText(bar.window()), "paper in Brisolt");
    }
}

TEST(BarRecentFiles, OpeningAndDroppingPushTheMainFile) {
    TempSettings ini(std::string(kOptions) + "[Files]\r\nFile0=C:\\one.tex\r\n");
    BarRun bar(ini.path(), "C:\\two.tex");
    EXPECT_EQ(ini.Read("Files", "File0"), "C:\\two.tex");
    EXPECT_EQ(ini.Read("Files", "File1"), "C:\\one.tex");
    // Another instance writes an entry meanwhile: the next change starts from the file, not from memory.
    ini.Write("Files", "File2", "C:\\from-another.tex");
    SendMessageA(bar.window(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop(std::string("C:\\dropped.tex") + '\0' + "C:\\second.tex" + '\0')), 0);
    EXPECT_EQ(WindowText(bar.window()), "C:\\dropped.tex - Brisolt");
    EXPECT_EQ(ini.Read("Files", "File0"), "C:\\dropped.tex");
    EXPECT_EQ(ini.Read("Files", "File1"), "C:\\two.tex");
    EXPECT_EQ(ini.Read("Files", "File2"), "C:\\one.tex");
    EXPECT_EQ(ini.Read("Files", "File3"), "C:\\from-another.tex");
    EXPECT_EQ(std::string(g_paths.mainFile), "C:\\dropped.tex");
}

TEST(BarSettingsFile, ASecondStartWritesNothing) {
    TempSettings ini(std::string(kOptions) + "X=60\r\nY=70\r\nWidth=500\r\nHeight=90\r\n[Files]\r\n"
                     "File0=C:\\other.tex\r\nFile1=C:\\doc\\paper.tex\r\n");
    { BarRun first(ini.path(), "C:\\doc\\paper.tex"); }
    const std::string settled = ReadWhole(ini.path());
    ProfileCalls calls;
    ASSERT_TRUE(calls.counting());
    {
        BarRun second(ini.path(), "C:\\doc\\paper.tex");
        EXPECT_EQ(Place(second.window()), "60,70,500,90");
    }
    EXPECT_EQ(calls.writes(), 0);
    EXPECT_EQ(calls.keyReads(), 0) << "every read takes a section whole";
    EXPECT_EQ(ReadWhole(ini.path()), settled);
}

TEST(BarRecentFiles, TheShellHearsOfTheMainFileOnceTheBarHasSettled) {
    TempSettings ini(kOptions);
    const std::string name = "shell " + std::to_string(GetTickCount()) + ".tex";
    const std::string mainFile = ini.folder() + "\\" + name;
    WriteWhole(mainFile, "\\relax\n");
    char recent[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, FALSE));
    const std::string shortcut = std::string(recent) + "\\" + name + ".lnk";
    const std::string shortcutWithoutExtension = std::string(recent) + "\\" + name.substr(0, name.size() - 4) + ".lnk";
    BarRun bar(ini.path(), mainFile);
    EXPECT_TRUE(WaitFor([&] { return Exists(shortcut) || Exists(shortcutWithoutExtension); }, 10000));
    DeleteFileA(shortcut.c_str());
    DeleteFileA(shortcutWithoutExtension.c_str());
}

TEST(BarRecentFiles, AnOverlongDroppedNameIsCut) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "");
    const std::string name = "C:\\" + std::string(400, 'n') + ".tex";
    SendMessageA(bar.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(name + '\0')), 0);
    EXPECT_EQ(std::strlen(g_paths.mainFile), sizeof g_paths.mainFile - 1);
    EXPECT_EQ(std::string(g_paths.mainFile), name.substr(0, sizeof g_paths.mainFile - 1));
}

TEST(BarDroppedNames, ForeignLettersGiveTheShortFormAndARunOpensTheFile) {
    TempFolder folder("brisolt_wide_drop");
    const std::string report = folder.File("report.txt");
    TempSettings ini(std::string(kOptions) + "[Buttons]\r\nCommand1=\"" + ExeFolder() +
                     "fixture_sleeper.exe\"\r\nOptions1=--open \"%@%\" \"" + report + "\"\r\nUse long names1=1\r\n");
    const std::wstring file = Widen(folder.path()) + L"\\" + kForeignName;
    ASSERT_TRUE(WriteWholeWide(file, "\\relax\n"));
    const std::string shortForm = ShortPathOf(file);
    ASSERT_FALSE(shortForm.empty());
    BarRun bar(ini.path(), "C:\\before.tex");
    DropWide(bar.window(), file);
    EXPECT_EQ(std::string(g_paths.mainFile), shortForm);
    EXPECT_EQ(WindowText(bar.window()), shortForm + " - Brisolt");
    EXPECT_EQ(ini.Read("Files", "File0"), shortForm);
    SendMessageA(bar.window(), WM_COMMAND, 500, 0);
    const auto ended = [&] { const std::string text = ReadWhole(report); return !text.empty() && text.back() == '\n'; };
    ASSERT_TRUE(WaitFor(ended, 10000));
    EXPECT_EQ(ReadWhole(report), "opened " + shortForm + "\r\n");
}

TEST(BarDroppedNames, WithoutAShortFormTheMainFileStays) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "C:\\before.tex");
    const std::wstring missing = Widen(ini.folder()) + L"\\missing " + kForeignName;
    const std::string settled = ReadWhole(ini.path());
    DialogWatcher box({"Error in Brisolt"}, IDOK, 10000);
    DropWide(bar.window(), missing);
    EXPECT_TRUE(box.Wait(10000));
    EXPECT_NE(box.wideText().find(missing), std::wstring::npos) << Narrow(box.wideText());
    EXPECT_STREQ(g_paths.mainFile, "C:\\before.tex");
    EXPECT_EQ(WindowText(bar.window()), "C:\\before.tex - Brisolt");
    EXPECT_EQ(ReadWhole(ini.path()), settled) << "the recent files are as they were";
}

TEST(BarDroppedNames, NamesTheCodePageCanWriteAreTakenAsBefore) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "");
    // Not there, and not short: such a name is taken as it comes.
    DropWide(bar.window(), L"C:\\r\u00e9sum\u00e9 of mine.tex");
    EXPECT_STREQ(g_paths.mainFile, "C:\\r\xe9sum\xe9 of mine.tex");
    const std::string name = "C:\\" + std::string(400, 'n') + ".tex";
    DropWide(bar.window(), Widen(name));
    EXPECT_EQ(std::string(g_paths.mainFile), name.substr(0, sizeof g_paths.mainFile - 1));
}

// What CoInitializeEx answered on the bar's own thread, asked from a hook that runs there.
struct ApartmentProbe {
    HRESULT answer = E_PENDING;
};
ApartmentProbe g_apartment;

LRESULT CALLBACK ProbeApartment(int code, WPARAM wParam, LPARAM lParam) {
    if (g_apartment.answer == E_PENDING) {
        g_apartment.answer = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(g_apartment.answer)) CoUninitialize();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The folder browser, opened from the bar's dialogs, needs COM on the bar's thread.
TEST(BarThread, HasASingleThreadedApartment) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "");
    const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ProbeApartment, nullptr,
                                         GetWindowThreadProcessId(bar.window(), nullptr));
    ASSERT_NE(hook, nullptr);
    SendMessageA(bar.window(), WM_NULL, 0, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_apartment.answer, S_FALSE) << "the thread's apartment exists already";
}

TEST(BarMenus, SystemMenuCarriesTheThreeCommands) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "");
    HMENU menu = GetSystemMenu(bar.window(), FALSE);
    ASSERT_TRUE(menu);
    char text[64];
    GetMenuStringA(menu, IDM_CONFIGURATION, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Configuration");
    GetMenuStringA(menu, IDM_HELP, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Help");
    GetMenuStringA(menu, IDM_ABOUT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About Brisolt");
    const int count = GetMenuItemCount(menu);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUT));
    EXPECT_EQ(GetMenuState(menu, count - 4, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

TEST(BarMenus, AboutFromTheSystemMenuShowsTheVersion) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "");
    PostMessageA(bar.window(), WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = FindOwnWindow("About Brisolt")) != nullptr; }, 5000));
    char version[64] = "";
    GetDlgItemTextA(about, IDC_ABOUT_VERSION, version, sizeof version);
    EXPECT_STRNE(version, "");
    // Escape does not close it; OK does.
    SendMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(about));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 5000));
}

TEST(BarTooltips, TipComesFromTheButtonWhileTipsAreOn) {
    for (const char* display : {"1", "0"}) {
        TempSettings ini(std::string(kOptions) + "Display tips=" + display + "\r\n[Buttons]\r\nTip3=Runs BibTeX\r\n");
        BarRun bar(ini.path(), "");
        NMTTDISPINFOA info{};
        info.hdr.hwndFrom = BarStateOf(bar.window())->tooltip;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(bar.window(), IDC_BAR_FIRST + 2));
        info.hdr.code = TTN_NEEDTEXTA;
        CopyText(info.szText, "stale");
        SendMessageA(bar.window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        if (display[0] == '1') {
            ASSERT_TRUE(info.lpszText);
            EXPECT_STREQ(info.lpszText, "Runs BibTeX");
            EXPECT_STREQ(info.szText, "");
        } else {
            EXPECT_EQ(info.lpszText, nullptr);
        }
    }
}

TEST(BarTooltips, MadeWhenTheMouseFirstComesOverTheBar) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "");
    BarState& state = *BarStateOf(bar.window());
    EXPECT_EQ(state.tooltip, nullptr);
    HWND button = GetDlgItem(bar.window(), IDC_BAR_FIRST + 3);
    SendMessageA(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_NE(state.tooltip, nullptr);
    EXPECT_EQ(SendMessageA(state.tooltip, TTM_GETTOOLCOUNT, 0, 0), kButtonCount);
    HWND tooltip = state.tooltip;
    SendMessageA(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(state.tooltip, tooltip) << "made once";
}

TEST(BarTooltips, ATipShowsWhenTheMouseRestsOnAButton) {
    // A corner of the screen other tests leave alone, above everything: the tooltip hides again as soon as
    // another program's window lies under the mouse, and other tests run beside this one on the same screen.
    TempSettings ini(std::string(kOptions) + "X=560\r\nY=600\r\nWidth=400\r\nHeight=90\r\n"
                     "[Buttons]\r\nTitle3=BibTeX\r\nTip3=Runs BibTeX\r\n");
    BarRun bar(ini.path(), "");
    SetWindowPos(bar.window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND button = GetDlgItem(bar.window(), IDC_BAR_FIRST + 2);
    RECT place{};
    GetWindowRect(button, &place);
    const int x = (place.left + place.right) / 2;
    const int y = (place.top + place.bottom) / 2;
    // The first move over the bar makes the tooltips; a move relayed to them starts the wait. Should a
    // window of another test pass over the button, the mouse moves again.
    bool shown = false;
    for (int attempt = 0; attempt < 8 && !shown; ++attempt) {
        SetCursorPos(x - 3 + attempt % 2 * 3, y);
        HWND tip = nullptr;
        WaitFor([&] { return (tip = BarStateOf(bar.window())->tooltip) != nullptr; }, 2000);
        shown = tip && WaitFor([&] { return IsWindowVisible(tip) != FALSE; }, 2500);
    }
    ASSERT_TRUE(shown);
    EXPECT_EQ(WindowText(BarStateOf(bar.window())->tooltip), "Runs BibTeX");
    SetCursorPos(0, 0);
}

TEST(BarClose, ClosesAtOnceWithoutChildren) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "C:\\x.tex");
    PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(bar.WaitClosed(5000));
}

// A program that sleeps, handed to a watch thread as a run that keeps no log; its process, for ending it.
HANDLE WatchSleeper() {
    HANDLE watched = nullptr;
    const HANDLE own = StartProgram("\"" + ExeFolder() + "fixture_sleeper.exe\" 60000 0", &watched);
    if (own) WatchRun(watched, nullptr, WatchedRunInfo{});
    return own;
}

TEST(BarClose, AsksWhileChildrenAreWatched) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "C:\\x.tex");
    std::vector<HANDLE> sleepers = {WatchSleeper()};
    PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(AnswerQuestion(bar.window(), IDNO), "Waiting for a child process to end.\nOK to leave it unattended?");
    Sleep(200);
    EXPECT_FALSE(bar.closed());
    sleepers.push_back(WatchSleeper());
    sleepers.push_back(WatchSleeper());
    PostMessageA(bar.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(AnswerQuestion(bar.window(), IDYES), "Waiting for 3 child processes to end.\nOK to leave them unattended?");
    EXPECT_TRUE(bar.WaitClosed(5000));
    for (HANDLE sleeper : sleepers) {
        TerminateProcess(sleeper, 0);
        CloseHandle(sleeper);
    }
    EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 10000));
}

TEST(BarClose, EscapeAndCloseFromOutsideAreIgnored) {
    TempSettings ini(kOptions);
    BarRun bar(ini.path(), "C:\\x.tex");
    PostMessageA(bar.window(), WM_COMMAND, IDCANCEL, 0);
    PostMessageA(bar.window(), WM_CLOSE, 0, 0);
    SendMessageA(bar.window(), WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
    EXPECT_FALSE(bar.closed());
    EXPECT_TRUE(IsWindowVisible(bar.window()));
}

TEST(BarHint, WhatIsThisShowsTheTipOrTheTypeDescription) {
    TempSettings ini(std::string(kOptions) + "[Buttons]\r\nTip1=First line\\nSecond line\r\nType2=4\r\n");
    BarRun bar(ini.path(), "");
    BarState& state = *BarStateOf(bar.window());
    state.contextPoint = {100, 100};
    state.contextButton = 1;
    SendMessageA(bar.window(), WM_COMMAND, IDM_WHAT_IS_THIS, 0);
    EXPECT_EQ(WindowText(state.hintWindow), "This button opens the help index");
    EXPECT_TRUE(IsWindowVisible(state.hintWindow));
    RECT oneLine{};
    GetWindowRect(state.hintWindow, &oneLine);
    EXPECT_EQ(oneLine.left, 100);
    EXPECT_EQ(oneLine.top, 100 + GetSystemMetrics(SM_CYCURSOR) / 2);

    // A key press hides it; the next hint with two lines is taller.
    SendMessageA(state.hintWindow, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(IsWindowVisible(state.hintWindow));
    state.contextButton = 0;
    SendMessageA(bar.window(), WM_COMMAND, IDM_WHAT_IS_THIS, 0);
    EXPECT_EQ(WindowText(state.hintWindow), "First line\r\nSecond line");
    RECT twoLines{};
    GetWindowRect(state.hintWindow, &twoLines);
    EXPECT_GT(twoLines.bottom - twoLines.top, oneLine.bottom - oneLine.top);
}

TEST(BarHint, RightClickMenuLeavesOutWhatTheTooltipShows) {
    TempSettings ini(std::string(kOptions) + "[Buttons]\r\nTip1=Runs LaTeX\r\n");
    BarRun bar(ini.path(), "");
    // The menu runs modally on the bar's thread; its window hands out the menu for reading.
    for (int index : {0, 1}) {
        HWND button = GetDlgItem(bar.window(), IDC_BAR_FIRST + index);
        PostMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        HWND menuWindow = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (menuWindow = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menuWindow); }, 5000));
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
        ASSERT_TRUE(menu);
        EXPECT_EQ(GetMenuItemCount(menu), index == 0 ? 1 : 2) << index;
        EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), static_cast<UINT>(IDM_PROPERTIES));
        EXPECT_EQ(BarStateOf(bar.window())->contextButton, index);
        PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(bar.window(), WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(menuWindow); }, 5000));
    }
}
