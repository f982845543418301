// Start-up paths under Wine: which settings file is used, the main file's long form, the help file and
// the log wrapper's short path, and the two window classes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "app/button_bar.h"
#include "app/startup.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/settings_file.h"
#include "support/dialog_watcher.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/window_text.h"

namespace {

std::string WindowsFolder() {
    char buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, length);
}

// Runs the start-up settling on a writable copy of the line, as the entry point does.
bool Settle(const std::string& line) {
    std::string copy = line;
    return SettleStartupPaths(copy.data()) == SettleResult::kSettled;
}

class StartupPaths : public ::testing::Test {
protected:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        g_paths = PathStore{};
        g_settings = SettingsStore{};
        SetEnvironmentVariableA("Brisolt", nullptr);
    }
    void TearDown() override { SetEnvironmentVariableA("Brisolt", nullptr); }
};

struct PrecedenceRow {
    const char* name;
    const char* environment;  // null: the variable is not set
    const char* line;
    std::string settingsFile;
    const char* mainFile;
};

const std::string kLongValue(400, 'e');

const PrecedenceRow kPrecedenceRows[] = {
    {"default", nullptr, "", "Brisolt.ini", ""},
    {"environment", "C:\\env\\b.ini", "", "C:\\env\\b.ini", ""},
    {"option over environment", "C:\\env\\b.ini", "/i C:\\opt\\b.ini", "C:\\opt\\b.ini", ""},
    {"dash option over environment", "C:\\env\\b.ini", "-I C:\\opt\\b.ini x.tex", "C:\\opt\\b.ini", "x.tex"},
    {"option alone is the main file", "C:\\env\\b.ini", "/i", "C:\\env\\b.ini", "/i"},
    {"option alone, no environment", nullptr, "/i", "Brisolt.ini", "/i"},
    {"empty environment value", "", "", "Brisolt.ini", ""},
    {"a long environment value is of no matter under /i", kLongValue.c_str(), "/i C:\\opt\\b.ini",
     "C:\\opt\\b.ini", ""},
};

TEST_F(StartupPaths, SettingsFilePrecedence) {
    for (const PrecedenceRow& row : kPrecedenceRows) {
        SCOPED_TRACE(row.name);
        g_paths = PathStore{};
        SetEnvironmentVariableA("Brisolt", row.environment);
        EXPECT_TRUE(Settle(row.line));
        EXPECT_EQ(std::string(g_paths.settingsFile), row.settingsFile);
        EXPECT_STREQ(g_paths.mainFile, row.mainFile);
    }
}

TEST_F(StartupPaths, OverLongSettingsNamesAreRefused) {
    const std::string name259 = "C:\\" + std::string(252, 'n') + ".ini";
    const std::string name260 = "C:\\" + std::string(253, 'n') + ".ini";
    struct Row {
        const char* name;
        const char* environment;
        std::string line;
        bool settled;
    };
    const Row rows[] = {
        {"environment value of 259 characters", name259.c_str(), "", true},
        {"environment value of 260 characters", name260.c_str(), "", false},
        {"/i value of 260 characters", nullptr, "/i " + name260, false},
        {"/i value of 260 characters over a good environment", "C:\\env\\b.ini", "/i " + name260, false},
        {"long environment value under a good /i", kLongValue.c_str(), "/i " + name259, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_paths = PathStore{};
        SetEnvironmentVariableA("Brisolt", row.environment);
        EXPECT_EQ(Settle(row.line), row.settled);
        if (row.settled) {
            EXPECT_EQ(std::string(g_paths.settingsFile), name259);
        }
    }
}

TEST_F(StartupPaths, DefaultFolderFromTheLine) {
    Settle("/d \"C:\\My Work\" x.tex");
    EXPECT_STREQ(g_paths.defaultFolder, "C:\\My Work");
    EXPECT_STREQ(g_paths.mainFile, "x.tex");
}

TEST_F(StartupPaths, DefaultNameLandsInTheWindowsFolder) {
    const std::string inWindows = WindowsFolder() + "\\Brisolt.ini";
    WriteWhole(inWindows, "[Options]\r\nCols=7\r\n");
    Settle("");
    ASSERT_STREQ(g_paths.settingsFile, "Brisolt.ini");
    ReadSettings();
    EXPECT_EQ(g_settings.options.cols, 7);

    g_settings.options.rows = 4;
    WriteSettings();
    EXPECT_EQ(GetPrivateProfileIntA("Options", "Rows", 0, inWindows.c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileIntA("Options", "Cols", 0, inWindows.c_str()), 7u);
    DeleteFileA(inWindows.c_str());
}

class MainFileForm : public StartupPaths {
protected:
    void SetUp() override {
        StartupPaths::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        file_ = folder_.File("my long paper name.tex");
        WriteWhole(file_, "\\relax\n");
    }
    TempFolder folder_{"Brisolt long folder"};
    std::string file_;
};

TEST_F(MainFileForm, ShortFormBecomesLong) {
    const std::string shortForm = ShortPath(file_);
    ASSERT_NE(shortForm, file_) << "the short form must differ for this test to mean anything";
    ASSERT_EQ(shortForm.find(' '), std::string::npos);
    Settle("/i b.ini " + shortForm);
    EXPECT_EQ(std::string(g_paths.mainFile), file_);
}

TEST_F(MainFileForm, RelativeShortNameStaysRelative) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.path().c_str()));
    const std::string shortForm = ShortPath(file_);
    const std::string shortName = shortForm.substr(shortForm.find_last_of('\\') + 1);
    Settle(shortName);
    SetCurrentDirectoryA(previous);
    EXPECT_STREQ(g_paths.mainFile, "my long paper name.tex");
}

TEST_F(MainFileForm, MissingFileStaysAsTyped) {
    Settle("C:\\NOPE~1\\MISSIN~1.TEX");
    EXPECT_STREQ(g_paths.mainFile, "C:\\NOPE~1\\MISSIN~1.TEX");
}

// A main file named with letters the code page lacks (Greek, Cyrillic) comes in both lines: the ANSI
// one carries "?" and look-alikes, the wide one the letters.
class WideMainFile : public StartupPaths {
protected:
    void SetUp() override {
        StartupPaths::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        ASSERT_TRUE(WriteWholeWide(foreign_, "\\relax\n"));
    }
    // Settles both lines as the system gives them to the program: the ANSI line is the wide one converted.
    static bool SettleBoth(const std::wstring& line) {
        std::string ansi = Narrow(line);
        std::wstring wide = line;
        return SettleStartupPaths(ansi.data(), wide.data()) == SettleResult::kSettled;
    }
    TempFolder folder_{"brisolt_wide_main"};
    const std::wstring foreign_ =
        Widen(folder_.path()) + L"\\\u0394\u03bf\u03ba\u03b9\u03bc\u03ae \u0442\u0435\u0441\u0442.tex";
};

TEST_F(WideMainFile, ForeignLettersGiveTheShortFormThatOpensTheFile) {
    const std::string shortForm = ShortPathOf(foreign_);
    ASSERT_FALSE(shortForm.empty());
    ASSERT_EQ(shortForm.find('?'), std::string::npos);
    for (const std::wstring& line : {L"\"" + foreign_ + L"\"", L"/d C:\\W /i b.ini \"" + foreign_ + L"\" x.tex"}) {
        SCOPED_TRACE(Narrow(line));
        g_paths = PathStore{};
        EXPECT_TRUE(SettleBoth(line));
        EXPECT_EQ(std::string(g_paths.mainFile), shortForm);
        EXPECT_EQ(ReadWhole(g_paths.mainFile), "\\relax\n");
    }
    EXPECT_STREQ(g_paths.settingsFile, "b.ini");
    EXPECT_STREQ(g_paths.defaultFolder, "C:\\W");
}

TEST_F(WideMainFile, NamesTheCodePageCanWriteAreTakenAsBefore) {
    // Given in its short form, a name with letters the code page has comes back in its long form.
    const std::string file = folder_.File("r\xe9sum\xe9 of a long name.tex");
    WriteWhole(file, "x");
    const std::string shortForm = ShortPath(file);
    ASSERT_NE(shortForm, file);
    EXPECT_TRUE(SettleBoth(L"/i b.ini " + Widen(shortForm)));
    EXPECT_EQ(std::string(g_paths.mainFile), file);
}

TEST_F(WideMainFile, OnlyTheSameArgumentOfTheWideLineCounts) {
    // A wide line that is not the ANSI one converted: the ANSI main file stands as given.
    std::string ansi = "/i b.ini x?.tex";
    std::wstring wide = L"/i b.ini \"" + foreign_ + L"\"";
    EXPECT_EQ(SettleStartupPaths(ansi.data(), wide.data()), SettleResult::kSettled);
    EXPECT_STREQ(g_paths.mainFile, "x?.tex");
}

TEST_F(WideMainFile, SettingsFileAndDefaultFolderInForeignFoldersGiveShortForms) {
    const std::wstring folder = foreign_.substr(0, foreign_.find_last_of(L'.'));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::string shortFolder = ShortPathOf(folder);
    ASSERT_FALSE(shortFolder.empty());
    // The settings file need not exist yet: its folder's short form carries it.
    EXPECT_TRUE(SettleBoth(L"/i \"" + folder + L"\\new.ini\" /d \"" + folder + L"\""));
    EXPECT_EQ(std::string(g_paths.settingsFile), shortFolder + "\\new.ini");
    EXPECT_EQ(std::string(g_paths.defaultFolder), shortFolder);
    // As the variable names it too.
    g_paths = PathStore{};
    SetEnvironmentVariableW(L"Brisolt", (folder + L"\\env.ini").c_str());
    EXPECT_TRUE(SettleBoth(L"x.tex"));
    EXPECT_EQ(std::string(g_paths.settingsFile), shortFolder + "\\env.ini");
}

TEST_F(WideMainFile, WithoutAShortFormTheUserIsToldAndNoMainFileIsTaken) {
    const std::wstring missing = Widen(folder_.path()) + L"\\\u043d\u0435\u0442.tex";
    DialogWatcher box({"Error in Brisolt"}, IDOK, 10000);
    EXPECT_TRUE(SettleBoth(L"/i b.ini \"" + missing + L"\""));
    EXPECT_TRUE(box.Wait(10000));
    EXPECT_STREQ(g_paths.mainFile, "");
    EXPECT_STREQ(g_paths.settingsFile, "b.ini");
    const std::wstring shown = box.wideText();
    EXPECT_NE(shown.find(missing), std::wstring::npos) << Narrow(shown);
    EXPECT_NE(shown.find(L"short (8.3) name"), std::wstring::npos) << Narrow(shown);
}

TEST_F(StartupPaths, ModulePaths) {
    InitModulePaths();
    const std::string exe = ExePath();
    const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    const std::string base = exe.substr(0, exe.find_last_of('.'));
    EXPECT_EQ(std::string(g_app.helpFile), base + ".chm");

    const std::string wrapper = folder + "corvane.exe";
    ASSERT_NE(GetFileAttributesA(wrapper.c_str()), INVALID_FILE_ATTRIBUTES) << wrapper;
    const std::string expected = ShortPath(wrapper);
    EXPECT_EQ(std::string(g_paths.logWrapperPath), expected);
    EXPECT_EQ(std::string(g_paths.logWrapperPath).find(' '), std::string::npos);
    const std::string path = g_paths.logWrapperPath;
    ASSERT_GE(path.size(), 12u);
    EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str() + path.size() - 12, 12,
                             "\\corvane.exe", 12),
              CSTR_EQUAL);
}

TEST_F(StartupPaths, WindowClasses) {
    // The program registers its classes once; a test run again starts without them.
    UnregisterClassA("Brisolt_hint", g_app.appInstance);
    UnregisterClassA("Button", g_app.appInstance);
    ASSERT_TRUE(RegisterWindowClasses());
    WNDCLASSEXA hint = {};
    hint.cbSize = sizeof hint;
    ASSERT_TRUE(GetClassInfoExA(g_app.appInstance, "Brisolt_hint", &hint));
    EXPECT_EQ(hint.style, 0x0803u);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(hint.hbrBackground), 25);
    EXPECT_EQ(hint.cbClsExtra, 0);
    EXPECT_EQ(hint.cbWndExtra, 0);

    WNDCLASSEXA system = {};
    system.cbSize = sizeof system;
    ASSERT_TRUE(GetClassInfoExA(nullptr, "Button", &system));
    WNDCLASSEXA local = {};
    local.cbSize = sizeof local;
    ASSERT_TRUE(GetClassInfoExA(g_app.appInstance, "Button", &local));
    EXPECT_EQ(local.style, system.style & ~static_cast<UINT>(CS_GLOBALCLASS));
    EXPECT_NE(local.lpfnWndProc, system.lpfnWndProc);
    EXPECT_EQ(g_buttonClass.systemButtonProc, system.lpfnWndProc);
    EXPECT_EQ(local.cbWndExtra, system.cbWndExtra);
}

}  // namespace
