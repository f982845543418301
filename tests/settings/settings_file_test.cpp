// The settings file through the system's real profile functions: defaults, 8-bit values, key deletion,
// options quoting, recent lists, the last main file, bad or read-only files, and writes that leave out
// what the file already holds yet end with the file as writing every key would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "config/button_icons.h"
#include "settings/main_file.h"
#include "settings/settings_rules.h"
#include "settings/settings_file.h"
#include "support/dialog_watcher.h"
#include "support/profile_calls.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

const char kMissing[] = "<missing>";  // what IniValue gives for a key that is not there

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        g_settings = SettingsStore{};
        g_paths = PathStore{};
        ASSERT_FALSE(folder_.path().empty());
        ASSERT_LT(path_.size(), sizeof g_paths.settingsFile);
        CopyText(g_paths.settingsFile, path_);
    }
    std::string Key(const char* section, const char* key) const { return IniValue(path_, section, key); }

    // A fresh folder, and so a fresh file name, for every test: the profile functions may keep a file
    // they have seen cached.
    TempFolder folder_{"brisolt_settings"};
    const std::string path_ = folder_.File("Brisolt.ini");
};

// Fills every field with something a read must replace.
void MakeStale(SettingsStore& store) {
    store.options = {9, 12, 7, 1, 0, 0, "stale"};
    for (ButtonDef& def : store.buttons) {
        def.type = 5;
        def.show = 2;
        def.log = 3;
        def.editCommandLine = def.wait = def.useLongNames = def.useIcon = 1;
        def.iconNumber = 4;
        CopyText(def.title, "stale");
        CopyText(def.command, "stale");
        CopyText(def.options, "stale");
        CopyText(def.directory, "stale");
        CopyText(def.tip, "stale");
        CopyText(def.iconFile, "stale");
    }
    for (RecentList* list : {&store.recentFiles, &store.recentPositions, &store.recentFolders}) {
        for (auto& entry : list->entries) CopyText(entry, "stale");
    }
}

TEST_F(SettingsFile, MissingFileGivesTheDefaults) {
    MakeStale(g_settings);
    ReadSettings();
    const AppOptions& options = g_settings.options;
    EXPECT_EQ(options.rows, 2);
    EXPECT_EQ(options.cols, 8);
    EXPECT_EQ(options.space, 0);
    EXPECT_EQ(options.onTop, 0);
    EXPECT_EQ(options.saveFilePos, 1);
    EXPECT_EQ(options.displayTips, 1);
    EXPECT_STREQ(options.caption, "");
    for (int i = 0; i < kButtonCount; ++i) {
        SCOPED_TRACE(i);
        const ButtonDef& def = g_settings.buttons[i];
        EXPECT_EQ(def.type, 0);
        EXPECT_EQ(def.show, 0);
        EXPECT_EQ(def.log, 0);
        EXPECT_EQ(def.editCommandLine, 0);
        EXPECT_EQ(def.wait, 0);
        EXPECT_EQ(def.useLongNames, 0);
        EXPECT_EQ(def.useIcon, 0);
        EXPECT_EQ(def.iconNumber, -1);
        EXPECT_STREQ(def.title, "");
        EXPECT_STREQ(def.command, "");
        EXPECT_STREQ(def.options, "");
        EXPECT_STREQ(def.directory, "");
        EXPECT_STREQ(def.tip, "");
        EXPECT_STREQ(def.iconFile, "");
    }
    for (int k = 0; k < kRecentCount; ++k) {
        EXPECT_STREQ(g_settings.recentFiles.entries[k], "");
        EXPECT_STREQ(g_settings.recentPositions.entries[k], "");
        EXPECT_STREQ(g_settings.recentFolders.entries[k], "");
    }
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading must not create the file";
}

TEST_F(SettingsFile, EightBitValuesAreTruncatedAndWrittenSigned) {
    WriteWhole(path_, "[Buttons]\r\nType3=300\r\nShow3=200\r\nLog3=-1\r\nType4=200\r\nType5=-56\r\n");
    ReadSettings();
    EXPECT_EQ(g_settings.buttons[2].type, 44);
    EXPECT_EQ(g_settings.buttons[2].show, -56);
    EXPECT_EQ(g_settings.buttons[2].log, -1);
    EXPECT_EQ(g_settings.buttons[3].type, -56);
    EXPECT_EQ(g_settings.buttons[4].type, -56);

    WriteSettings();
    EXPECT_EQ(Key("Buttons", "Type3"), "44");
    EXPECT_EQ(Key("Buttons", "Show3"), "-56");
    EXPECT_EQ(Key("Buttons", "Log3"), "-1");
    EXPECT_EQ(Key("Buttons", "Type4"), "-56");
    EXPECT_EQ(ReadWhole(path_).find("Type4=-56\r\n") != std::string::npos, true);
}

TEST_F(SettingsFile, EmptyStringsDeleteTheirKeysAndIntegersAreAlwaysWritten) {
    WriteWhole(path_, "[Buttons]\r\nTip1=old tip\r\nTitle1=old\r\nIcon1=C:\\old.ico\r\nCommand50=latex\r\n");
    ReadSettings();
    ASSERT_STREQ(g_settings.buttons[0].tip, "old tip");
    CopyText(g_settings.buttons[0].tip, "");
    CopyText(g_settings.buttons[0].title, "New");
    CopyText(g_settings.buttons[0].iconFile, "");
    g_settings.buttons[0].iconNumber = -1;
    CopyText(g_settings.buttons[49].command, "");
    WriteSettings();

    EXPECT_EQ(Key("Buttons", "Tip1"), kMissing);
    EXPECT_EQ(Key("Buttons", "Icon1"), kMissing);
    EXPECT_EQ(Key("Buttons", "Command50"), kMissing);
    EXPECT_EQ(Key("Buttons", "Title1"), "New");
    EXPECT_EQ(Key("Buttons", "Icon number1"), "-1");
    EXPECT_EQ(Key("Buttons", "Icon number50"), "-1");
    for (const char* key : {"Type1", "Show1", "Log1", "Debug1", "Wait1", "Use long names1", "Use icon1", "Type50"}) {
        EXPECT_EQ(Key("Buttons", key), "0") << key;
    }
    const std::string file = ReadWhole(path_);
    EXPECT_EQ(file.find("Tip1="), std::string::npos);
}

TEST_F(SettingsFile, EverythingStoredReadsBackAsWritten) {
    AppOptions& options = g_settings.options;
    options.rows = 3;
    options.cols = 7;
    options.space = 4;
    options.onTop = 1;
    options.saveFilePos = 0;
    options.displayTips = 0;
    ButtonDef& def = g_settings.buttons[17];
    def.type = kTypeFolderSelection;
    def.show = kShowCapture;
    def.log = kLogAskUser;
    def.editCommandLine = 1;
    def.wait = 1;
    def.useLongNames = 0;
    def.useIcon = 1;
    CopyText(def.title, "LaTeX");
    CopyText(def.command, "latex.exe");
    CopyText(def.options, "-interaction=nonstopmode %@n%");
    CopyText(def.directory, "C:\\Papers");
    CopyText(def.tip, "Runs LaTeX");
    // The test program carries Brisolt's two icons, so the icon loading keeps the file and number.
    CopyText(def.iconFile, ExePath());
    def.iconNumber = 1;
    const ButtonDef written = def;
    WriteSettings();

    g_settings = SettingsStore{};
    MakeStale(g_settings);
    ReadSettings();
    EXPECT_EQ(g_settings.options.rows, 3);
    EXPECT_EQ(g_settings.options.cols, 7);
    EXPECT_EQ(g_settings.options.space, 4);
    EXPECT_EQ(g_settings.options.onTop, 1);
    EXPECT_EQ(g_settings.options.saveFilePos, 0);
    EXPECT_EQ(g_settings.options.displayTips, 0);
    const ButtonDef& read = g_settings.buttons[17];
    EXPECT_EQ(read.type, written.type);
    EXPECT_EQ(read.show, written.show);
    EXPECT_EQ(read.log, written.log);
    EXPECT_EQ(read.editCommandLine, 1);
    EXPECT_EQ(read.wait, 1);
    EXPECT_EQ(read.useLongNames, 0);
    EXPECT_EQ(read.useIcon, 1);
    EXPECT_EQ(read.iconNumber, 1);
    EXPECT_STREQ(read.title, written.title);
    EXPECT_STREQ(read.command, written.command);
    EXPECT_STREQ(read.options, written.options);
    EXPECT_STREQ(read.directory, written.directory);
    EXPECT_STREQ(read.tip, written.tip);
    EXPECT_STREQ(read.iconFile, written.iconFile);
    EXPECT_EQ(g_settings.buttons[16].type, 0);
    EXPECT_STREQ(g_settings.buttons[16].title, "");
}

struct QuoteRow {
    const char* name;
    std::string options;
    int useLongNames;
    std::string stored;  // the value after "Options1=" in the file; empty: no such key
    std::string readBack;
};

const QuoteRow kQuoteRows[] = {
    {"quoted text with long names", "\"my file.tex\"", 1, "\"\"my file.tex\"\"", "\"my file.tex\""},
    {"quoted text without long names", "\"my file.tex\"", 0, "\"my file.tex\"", "my file.tex"},
    {"plain text with long names", "%@n%", 1, "\"%@n%\"", "%@n%"},
    {"plain text without long names", "%@n%", 0, "%@n%", "%@n%"},
    {"257 characters", std::string(257, 'a'), 1, "\"" + std::string(257, 'a') + "\"", std::string(257, 'a')},
    {"258 characters", std::string(258, 'b'), 1, "\"" + std::string(258, 'b') + "\"", std::string(258, 'b')},
    {"259 characters", std::string(259, 'c'), 1, "\"" + std::string(259, 'c') + "\"", std::string(259, 'c')},
    {"259 characters ending in a quote", std::string(258, 'e') + "\"", 1,
     "\"" + std::string(258, 'e') + "\"\"", std::string(258, 'e') + "\""},
    {"empty with long names", "", 1, "", ""},
};

TEST_F(SettingsFile, OptionsQuotingRoundTrip) {
    int round = 0;
    for (const QuoteRow& row : kQuoteRows) {
        SCOPED_TRACE(row.name);
        // One file per row, so no row sees another's value.
        const std::string path = path_ + "." + std::to_string(++round) + ".ini";
        CopyText(g_paths.settingsFile, path);
        ButtonDef& def = g_settings.buttons[0];
        CopyText(def.options, row.options);
        def.useLongNames = row.useLongNames;
        WriteSettings();

        const std::string file = ReadWhole(path);
        if (row.stored.empty()) {
            EXPECT_EQ(file.find("Options1="), std::string::npos);
        } else {
            EXPECT_NE(file.find("\r\nOptions1=" + row.stored + "\r\n"), std::string::npos);
        }
        CopyText(def.options, "stale");
        ReadSettings();
        EXPECT_EQ(std::string(def.options), row.readBack);
        DeleteFileA(path.c_str());
    }
}

TEST_F(SettingsFile, RecentListsAreCompactedOnReading) {
    WriteWhole(path_,
               "[Files]\r\nFile0=A\r\nFile1=\r\nFile2=B\r\nFile5=C\r\n"
               "[Positions]\r\nPos0=1,2,3,4\r\nPos1=5,6,7,8\r\nPos5=9,9,9,9\r\n"
               "[Directories]\r\nDirectory0=\r\nDirectory1=X\r\nDirectory3=Y\r\n");
    MakeStale(g_settings);
    ReadSettings();
    const char* files[kRecentCount] = {"A", "B", "C"};
    // The position of B was empty: it stays empty and C keeps its own.
    const char* positions[kRecentCount] = {"1,2,3,4", "", "9,9,9,9"};
    const char* folders[kRecentCount] = {"X", "Y"};
    for (int k = 0; k < kRecentCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_STREQ(g_settings.recentFiles.entries[k], files[k] ? files[k] : "");
        EXPECT_STREQ(g_settings.recentPositions.entries[k], positions[k] ? positions[k] : "");
        EXPECT_STREQ(g_settings.recentFolders.entries[k], folders[k] ? folders[k] : "");
    }

    // The same through the plain list reader, which compacts the positions on their own.
    RecentList list;
    for (auto& entry : list.entries) CopyText(entry, "stale");
    ReadRecentList(list, IDS_SEC_POSITIONS, IDS_KEY_POS_PATTERN);
    const char* alone[kRecentCount] = {"1,2,3,4", "5,6,7,8", "9,9,9,9"};
    for (int k = 0; k < kRecentCount; ++k) EXPECT_STREQ(list.entries[k], alone[k] ? alone[k] : "") << k;
}

TEST_F(SettingsFile, RecentListsWriteEveryEntry) {
    PushRecent("C:\\a.tex", g_settings.recentFiles);
    PushRecent("", g_settings.recentFolders);
    PushRecent("C:\\Work", g_settings.recentFolders);
    EXPECT_EQ(Key("Files", "File0"), "C:\\a.tex");
    EXPECT_EQ(Key("Positions", "Pos0"), "");
    // Empty entries are written as empty values, not deleted.
    EXPECT_EQ(Key("Files", "File9"), "");
    EXPECT_EQ(Key("Positions", "Pos9"), "");
    EXPECT_EQ(Key("Directories", "Directory0"), "C:\\Work");
    EXPECT_EQ(Key("Directories", "Directory1"), "");

    g_settings = SettingsStore{};
    ReadRecentFiles();
    ReadRecentList(g_settings.recentFolders, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN);
    EXPECT_STREQ(g_settings.recentFiles.entries[0], "C:\\a.tex");
    EXPECT_STREQ(g_settings.recentFolders.entries[0], "C:\\Work");
    EXPECT_STREQ(g_settings.recentFolders.entries[1], "");
}

struct LastFileRow {
    const char* name;
    const char* mainFile;       // before ReadSettings (from the command line)
    const char* defaultFolder;  // before ReadSettings (from /d)
    const char* fileText;       // the [Options] lines of the file
    const char* expectedMain;
    const char* expectedFolder;
};

const LastFileRow kLastFileRows[] = {
    {"last file and folder taken", "", "C:\\FromD", "Last file=C:\\p\\a.tex\r\nLastDir=C:\\p\r\n", "C:\\p\\a.tex",
     "C:\\p"},
    {"missing LastDir empties /d", "", "C:\\FromD", "Last file=C:\\p\\a.tex\r\n", "C:\\p\\a.tex", ""},
    {"main file given: neither is read", "x.tex", "C:\\FromD", "Last file=C:\\p\\a.tex\r\nLastDir=C:\\p\r\n",
     "x.tex", "C:\\FromD"},
    {"empty last file: /d stands", "", "C:\\FromD", "Last file=\r\nLastDir=C:\\p\r\n", "", "C:\\FromD"},
    {"no last file: /d stands", "", "C:\\FromD", "LastDir=C:\\p\r\n", "", "C:\\FromD"},
};

TEST_F(SettingsFile, LastFileIsReadOnlyWithoutAMainFile) {
    int round = 0;
    for (const LastFileRow& row : kLastFileRows) {
        SCOPED_TRACE(row.name);
        const std::string path = path_ + "." + std::to_string(++round) + ".ini";
        WriteWhole(path, std::string("[Options]\r\n") + row.fileText);
        CopyText(g_paths.settingsFile, path);
        CopyText(g_paths.mainFile, row.mainFile);
        CopyText(g_paths.defaultFolder, row.defaultFolder);
        ReadSettings();
        EXPECT_STREQ(g_paths.mainFile, row.expectedMain);
        EXPECT_STREQ(g_paths.defaultFolder, row.expectedFolder);
        DeleteFileA(path.c_str());
    }
}

TEST_F(SettingsFile, GarbageNumbersAreReadWithoutHarm) {
    WriteWhole(path_,
               "[Options]\r\nRows=abc\r\nCols=12abc\r\nSpace=\r\nOn Top=-\r\nSave File Pos=zz\r\n"
               "[Buttons]\r\nType1=x\r\nShow1=99999999999999999999999\r\nIcon number1=junk\r\nWait1=--5\r\n");
    ReadSettings();
    LoadAllButtonIcons();
    EXPECT_EQ(g_settings.options.rows, 0);
    EXPECT_EQ(g_settings.options.cols, 12);
    EXPECT_EQ(g_settings.options.space, 0);
    EXPECT_EQ(g_settings.options.onTop, 0);
    EXPECT_EQ(g_settings.options.saveFilePos, 0);
    EXPECT_EQ(g_settings.buttons[0].type, 0);
    EXPECT_EQ(g_settings.buttons[0].iconNumber, -1);  // no icon file, so no icon
    // The layout and the dialog bring the grid into range, and that is what gets saved.
    ClampGrid(g_settings.options);
    WriteSettings();
    EXPECT_EQ(Key("Options", "Rows"), "1");
    EXPECT_EQ(Key("Options", "Cols"), "10");
}

TEST_F(SettingsFile, ValuesLongerThanTheirFieldsAreCut) {
    const std::string text = "[Options]\r\nCaption=" + std::string(300, 'p') + "\r\nLast file=" +
                             std::string(300, 'L') + "\r\nLastDir=" + std::string(300, 'D') +
                             "\r\n[Buttons]\r\nTitle1=" + std::string(100, 'T') + "\r\nCommand1=" +
                             std::string(400, 'C') + "\r\nOptions1=" + std::string(400, 'O') + "\r\nDirectory1=" +
                             std::string(300, 'd') + "\r\nTip1=" + std::string(300, 't') + "\r\nIcon1=" +
                             std::string(300, 'i') + "\r\n[Files]\r\nFile0=" + std::string(300, 'f') +
                             "\r\n[Positions]\r\nPos0=" + std::string(300, '9') + "\r\n";
    WriteWhole(path_, text);
    ReadSettings();
    EXPECT_EQ(std::string(g_settings.options.caption), std::string(259, 'p'));
    EXPECT_EQ(std::string(g_paths.mainFile), std::string(259, 'L'));
    EXPECT_EQ(std::string(g_paths.defaultFolder), std::string(259, 'D'));
    const ButtonDef& def = g_settings.buttons[0];
    EXPECT_EQ(std::string(def.title), std::string(63, 'T'));
    EXPECT_EQ(std::string(def.command), std::string(259, 'C'));
    EXPECT_EQ(std::string(def.options), std::string(259, 'O'));
    EXPECT_EQ(std::string(def.directory), std::string(255, 'd'));
    EXPECT_EQ(std::string(def.tip), std::string(255, 't'));
    EXPECT_EQ(std::string(def.iconFile), std::string(259, 'i'));
    EXPECT_EQ(def.iconNumber, -1);
    EXPECT_EQ(std::string(g_settings.recentFiles.entries[0]), std::string(259, 'f'));
    EXPECT_EQ(std::string(g_settings.recentPositions.entries[0]), std::string(259, '9'));
    EXPECT_STREQ(g_settings.buttons[1].title, "");
}

TEST_F(SettingsFile, UnwritableFileIsLeftAsItWasAndTheUserToldOnce) {
    const std::string text = "[Options]\r\nRows=3\r\n[Custom]\r\nKeep=yes\r\n";
    WriteWhole(path_, text);
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine run by root writes to read-only files anyway; a handle that shares only reading keeps every
    // writer out there as well.
    HANDLE guard = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(guard, INVALID_HANDLE_VALUE);
    g_settings.options.rows = 5;
    CopyText(g_settings.buttons[0].title, "Changed");
    CopyText(g_settings.buttons[0].options, "\"quoted\"");
    g_settings.buttons[0].useLongNames = 1;
    DialogWatcher notice({"Brisolt"}, IDOK);
    WriteSettings();
    WriteSettings();
    CloseHandle(guard);
    EXPECT_EQ(ReadWhole(path_), text);
    ASSERT_TRUE(notice.Wait(10000)) << "no word of the lost settings";
    EXPECT_EQ(notice.text(), "Brisolt could not save its settings in\n" + path_ +
                                 "\nChanges made now last only until Brisolt ends.");
    Sleep(500);
    EXPECT_EQ(notice.answered(), 1) << "told once, not for every key";
}

TEST_F(SettingsFile, WriteSettingsKeepsEveryOtherKey) {
    WriteWhole(path_,
               "[Options]\r\nCaption=My %f\r\nX=10\r\nY=20\r\nWidth=300\r\nHeight=40\r\nFilter1=Text|*.txt\r\n"
               "Last file=C:\\a.tex\r\nLastDir=C:\\\r\n"
               "[Buttons]\r\nExtra1=x\r\n"
               "[Files]\r\nFile0=C:\\a.tex\r\n[Positions]\r\nPos0=1,2,3,4\r\n[Directories]\r\nDirectory0=C:\\\r\n"
               "[Custom]\r\nKeep=yes\r\n");
    g_settings.options.rows = 4;
    WriteSettings();
    EXPECT_EQ(Key("Options", "Rows"), "4");
    EXPECT_EQ(Key("Options", "Caption"), "My %f");
    EXPECT_EQ(Key("Options", "X"), "10");
    EXPECT_EQ(Key("Options", "Y"), "20");
    EXPECT_EQ(Key("Options", "Width"), "300");
    EXPECT_EQ(Key("Options", "Height"), "40");
    EXPECT_EQ(Key("Options", "Filter1"), "Text|*.txt");
    EXPECT_EQ(Key("Options", "Last file"), "C:\\a.tex");
    EXPECT_EQ(Key("Options", "LastDir"), "C:\\");
    EXPECT_EQ(Key("Buttons", "Extra1"), "x");
    EXPECT_EQ(Key("Files", "File0"), "C:\\a.tex");
    EXPECT_EQ(Key("Positions", "Pos0"), "1,2,3,4");
    EXPECT_EQ(Key("Directories", "Directory0"), "C:\\");
    EXPECT_EQ(Key("Custom", "Keep"), "yes");
}

std::string SettledFile() {
    std::string text = "[Options]\r\nX=10\r\nY=20\r\nWidth=300\r\nHeight=40\r\n[Buttons]\r\nTitle1=LaTeX\r\n"
                       "[Files]\r\nFile0=C:\\a.tex\r\n";
    for (int k = 1; k < kRecentCount; ++k) text += "File" + std::to_string(k) + "=\r\n";
    text += "[Positions]\r\nPos0=10,20,300,40\r\n";
    for (int k = 1; k < kRecentCount; ++k) text += "Pos" + std::to_string(k) + "=\r\n";
    text += "[Directories]\r\nDirectory0=C:\\Work\r\n";
    for (int k = 1; k < kRecentCount; ++k) text += "Directory" + std::to_string(k) + "=\r\n";
    return text;
}

TEST_F(SettingsFile, ReadingTakesEachSectionOnce) {
    WriteWhole(path_, SettledFile());
    ProfileCalls calls;
    ASSERT_TRUE(calls.counting());
    ReadSettings();
    EXPECT_EQ(calls.sectionReads(), 5) << "Options, Buttons, Files, Positions, Directories";
    EXPECT_EQ(calls.keyReads(), 0);
    EXPECT_EQ(calls.writes(), 0);
    EXPECT_STREQ(g_settings.buttons[0].title, "LaTeX");
    EXPECT_STREQ(g_settings.recentFolders.entries[0], "C:\\Work");
}

TEST_F(SettingsFile, WritesOfWhatTheFileHoldsAreLeftOut) {
    const std::string text = SettledFile();
    WriteWhole(path_, text);
    CopyText(g_paths.mainFile, "C:\\A.TEX");
    ReadSettings();

    ProfileCalls calls;
    ASSERT_TRUE(calls.counting());
    SavePlace({10, 20, 300, 40});
    PushRecent("C:\\a.tex", g_settings.recentFiles);
    PushRecent("C:\\Work", g_settings.recentFolders);
    EXPECT_EQ(calls.writes(), 0);
    EXPECT_EQ(calls.keyReads(), 0);
    EXPECT_EQ(ReadWhole(path_), text);

    // A move writes the key that changed and the main file's position, each read section once.
    calls.Reset();
    SavePlace({11, 20, 300, 40});
    EXPECT_EQ(calls.writes(), 2);
    EXPECT_EQ(calls.sectionReads(), 3) << "Options, Files, Positions";
    EXPECT_EQ(Key("Options", "X"), "11");
    EXPECT_EQ(Key("Positions", "Pos0"), "11,20,300,40");
    EXPECT_STREQ(g_settings.recentFiles.entries[0], "C:\\a.tex");
}

// What a move and a push did to the file when they wrote every key, one call each: the standard the
// leaner writes are held to.
namespace every_key {

void ReadLists(const std::string& path, RecentList& files, RecentList& positions) {
    char values[2][kRecentCount][kPathSize];
    std::string_view views[2][kRecentCount];
    for (int k = 0; k < kRecentCount; ++k) {
        const std::string n = std::to_string(k);
        GetPrivateProfileStringA("Files", ("File" + n).c_str(), "", values[0][k], kPathSize, path.c_str());
        GetPrivateProfileStringA("Positions", ("Pos" + n).c_str(), "", values[1][k], kPathSize, path.c_str());
        views[0][k] = values[0][k];
        views[1][k] = values[1][k];
    }
    CompactRecentPairs(files, positions, views[0], views[1]);
}

void WriteLists(const std::string& path, const RecentList& files, const RecentList& positions) {
    for (int k = 0; k < kRecentCount; ++k) {
        WritePrivateProfileStringA("Files", ("File" + std::to_string(k)).c_str(), files.entries[k], path.c_str());
    }
    for (int k = 0; k < kRecentCount; ++k) {
        WritePrivateProfileStringA("Positions", ("Pos" + std::to_string(k)).c_str(), positions.entries[k],
                                   path.c_str());
    }
}

void Move(const std::string& path, const WindowPlace& place, const char* mainFile) {
    for (const auto& [key, value] : {std::pair{"X", place.x}, std::pair{"Y", place.y}, std::pair{"Width", place.width},
                                     std::pair{"Height", place.height}}) {
        WritePrivateProfileStringA("Options", key, std::to_string(value).c_str(), path.c_str());
    }
    if (mainFile[0] == '\0') return;
    RecentList files, positions;
    ReadLists(path, files, positions);
    const int i = FindRecent(files, mainFile);
    if (i < 0) return;
    FormatPosition(place, positions.entries[i]);
    WriteLists(path, files, positions);
}

void Push(const std::string& path, const char* value) {
    RecentList files, positions;
    ReadLists(path, files, positions);
    PushRecentEntry(value, files, &positions);
    WriteLists(path, files, positions);
}
}  // namespace every_key

struct LeanWriteRow {
    const char* name;
    std::string text;
};

const LeanWriteRow kLeanWriteRows[] = {
    {"settled lists", "[Options]\r\nX=1\r\nY=2\r\nWidth=3\r\nHeight=4\r\n[Files]\r\nFile0=C:\\m.tex\r\nFile1=B\r\n"
                      "File2=\r\nFile3=\r\nFile4=\r\nFile5=\r\nFile6=\r\nFile7=\r\nFile8=\r\nFile9=\r\n"
                      "[Positions]\r\nPos0=1,2,3,4\r\nPos1=5,6,7,8\r\nPos2=\r\nPos3=\r\nPos4=\r\nPos5=\r\n"
                      "Pos6=\r\nPos7=\r\nPos8=\r\nPos9=\r\n"},
    {"holes and missing keys", "[Files]\r\nFile0=A\r\nFile1=\r\nFile2=C:\\M.TEX\r\nFile5=C\r\n[Positions]\r\n"
                               "Pos0=1,2,3,4\r\nPos5=9,9,9,9\r\n"},
    {"duplicates and other case", "[Files]\r\nFILE0=c:\\m.tex\r\nfile0=Z\r\nFile1=B\r\n[Positions]\r\n"
                                  "POS0=1,2,3,4\r\npos0=9,9,9,9\r\n"},
    {"quotes and blanks", "[Options]\r\n X = 40 \r\n[Files]\r\nFile0=\"C:\\x y.tex\"\r\nFile1 =  C:\\m.tex  \r\n"
                          "[Positions]\r\nPos1='1,2,3,4'\r\n"},
    {"no lists", "[Options]\r\nRows=2\r\n"},
    {"second sections", "[Files]\r\nFile0=A\r\n[Other]\r\nk=1\r\n[Files]\r\nFile1=C:\\m.tex\r\n"
                        "[Options]\r\nX=5\r\n[Options]\r\nY=6\r\n"},
    {"keys without =", "[Files]\r\nFile0\r\nFile1=C:\\m.tex\r\n[Options]\r\nX\r\nY=5\r\n[Positions]\r\nPos1\r\n"},
    {"comments and blank lines", "; settings\r\n[Files]\r\n;File0=zz\r\n\r\nFile0=C:\\m.tex\r\n[Positions]\r\n"
                                 ";Pos0=1\r\nPos0=7,7,7,7\r\n"},
};

TEST_F(SettingsFile, LeanWritesEndAsWritingEveryKey) {
    struct Operation {
        const char* name;
        const char* mainFile;
        bool push;  // a push of mainFile, else a move with mainFile as the main file
    };
    const Operation operations[] = {
        {"move, main file listed", "c:\\M.tex", false}, {"move, main file not listed", "C:\\new.tex", false},
        {"move without a main file", "", false},        {"push of a listed file", "C:\\m.tex", true},
        {"push of a new file", "C:\\new.tex", true},
    };
    const WindowPlace place{10, 20, 300, 40};
    int round = 0;
    for (const LeanWriteRow& row : kLeanWriteRows) {
        for (const Operation& operation : operations) {
            SCOPED_TRACE(std::string(row.name) + ", " + operation.name);
            const std::string reference = path_ + "." + std::to_string(++round) + ".every.ini";
            const std::string lean = path_ + "." + std::to_string(round) + ".lean.ini";
            WriteWhole(reference, row.text);
            WriteWhole(lean, row.text);
            CopyText(g_paths.settingsFile, lean);
            CopyText(g_paths.mainFile, operation.mainFile);
            g_settings = SettingsStore{};
            if (operation.push) {
                every_key::Push(reference, operation.mainFile);
                PushRecent(operation.mainFile, g_settings.recentFiles);
            } else {
                every_key::Move(reference, place, operation.mainFile);
                SavePlace(place);
            }
            EXPECT_EQ(ReadWhole(lean), ReadWhole(reference));
        }
    }
}

}  // namespace
