// Brisolt's string table as the program loads it: every entry by id and text, the empty ids that end
// each run of list items, and the two loaders' separate buffers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "base/handles.h"
#include "base/messages.h"

namespace {

struct Entry {
    int id;
    const char* text;
};

// The table as documented, line breaks included.
const Entry kEntries[] = {
    {256, "Execute command"},
    {257, "File selection"},
    {258, "Folder selection"},
    {259, "Configuration"},
    {260, "Help index"},
    {261, "About dialog"},
    {262, "Invisible button"},
    {263, "Run buttons in turn"},
    {264, "Stop running commands"},
    {272, "This button starts a user defined command"},
    {273, "Use this button to change the main file"},
    {274, "Use this button to change the default folder"},
    {275, "This button opens the configuration dialog"},
    {276, "This button opens the help index"},
    {277, "This button opens the About Brisolt dialog"},
    {278, "You should not view this invisible button"},
    {279, "This button runs other buttons one after the other, as long as each succeeds"},
    {280, "This button stops the running commands"},
    {288, "Normal"},
    {289, "Minimized"},
    {290, "Maximized"},
    {291, "Invisible"},
    {292, "Capture"},
    {294, "Never"},
    {295, "Always"},
    {296, "On error"},
    {297, "Ask user"},
    {304, "Fatal Error in Brisolt"},
    {305, "Error in Brisolt"},
    {306, "Could not create a window"},
    {307, "&Configuration"},
    {308, "&Help"},
    {309, "&About Brisolt"},
    {310, "&Button in row %d and column %d"},
    {311, "Brisolt.ini"},
    {312, "Brisolt"},
    {313, "Brisolt_hint"},
    {320, "Options"},
    {321, "Rows"},
    {322, "Cols"},
    {323, "Space"},
    {324, "On Top"},
    {325, "X"},
    {326, "Y"},
    {327, "Width"},
    {328, "Height"},
    {329, "Save File Pos"},
    {330, "Display tips"},
    {331, "Caption"},
    {336, "Buttons"},
    {337, "Type"},
    {338, "Show"},
    {339, "Title"},
    {340, "Command"},
    {341, "Options"},
    {342, "Directory"},
    {343, "Icon"},
    {344, "Icon number"},
    {345, "Tip"},
    {346, "Debug"},
    {347, "Wait"},
    {348, "Use long names"},
    {349, "Use icon"},
    {351, "Log"},
    {352, "&What is this?"},
    {353, "&Properties"},
    {368, "Select program"},
    {369, "Select file"},
    {370, "Executable files"},
    {371, "*.exe;*.com;*.bat;*.pif;*.lnk"},
    {372, "All files"},
    {373, "*.*"},
    {384, "TeX and LaTeX files"},
    {385, "*.tex"},
    {386, "C and C++ files"},
    {387, "*.c;*.cpp"},
    {388, "All files"},
    {389, "*.*"},
    {400, "Brisolt Main File"},
    {401, "Select Default Folder"},
    {416, "Files"},
    {417, "File%d"},
    {418, "Directories"},
    {419, "Directory%d"},
    {420, "Last file"},
    {421, "LastDir"},
    {422, "Positions"},
    {423, "Pos%d"},
    {432, "Choose icon"},
    {433, "This file has no icon.\nDo you want to see some standard icons?"},
    {434, "Press a key to close this window"},
    {435, "Show log file?"},
    {436, "Waiting for a child process to end.\nOK to leave it unattended?"},
    {437, "Waiting for %d child processes to end.\nOK to leave them unattended?"},
    {438, "Press OK to close capture box"},
    {448, "Brisolt could not save its settings in\n%s\nChanges made now last only until Brisolt ends."},
    {449, "The name of the settings file is longer than 259 characters."},
    {450, "&Stop running commands"},
    {452, "stopped by the user"},
    {454, "This file name holds letters that Brisolt cannot pass on to other programs, or is too long for them, and it has no short (8.3) name to use instead: short names are turned off on its drive, or the file does not exist."},
};

class StringTable : public ::testing::Test {
protected:
    void SetUp() override { g_app.appInstance = GetModuleHandleA(nullptr); }
};

TEST_F(StringTable, EveryEntryHasItsText) {
    for (const Entry& entry : kEntries) {
        SCOPED_TRACE(entry.id);
        EXPECT_STREQ(ResStr(entry.id).text, entry.text);
    }
}

TEST_F(StringTable, NoOtherIdOfTheRangeHasAnEntry) {
    std::set<int> documented;
    for (const Entry& entry : kEntries) documented.insert(entry.id);
    for (int id = 256; id <= 438; ++id) {
        if (documented.count(id)) continue;
        SCOPED_TRACE(id);
        EXPECT_STREQ(ResStr(id).text, "");
    }
}

TEST_F(StringTable, RunsEndWithAnEmptyId) {
    // The list loaders read upward from a first id until an empty entry.
    struct Run {
        int first;
        int end;
    };
    const Run runs[] = {{256, 265}, {288, 293}, {294, 298}, {370, 374}, {384, 390}};
    for (const Run& run : runs) {
        SCOPED_TRACE(run.first);
        int id = run.first;
        while (ResStr(id).text[0] != '\0' && id < run.first + 20) ++id;
        EXPECT_EQ(id, run.end);
    }
}

TEST_F(StringTable, IdsThatEndNoRunAreEmptyToo) {
    for (const int id : {255, 281, 350, 354, 439, 4000}) {
        SCOPED_TRACE(id);
        EXPECT_STREQ(ResStr(id).text, "");
    }
}

TEST_F(StringTable, TextsHeldAtOnceStayIntact) {
    // A section and a key, or a caption and a message, are in use together.
    const ResText caption = ResStr(312);
    const ResText message = ResStr(304);
    const ResText again = ResStr(311);
    EXPECT_STREQ(caption.text, "Brisolt");
    EXPECT_STREQ(message.text, "Fatal Error in Brisolt");
    EXPECT_STREQ(again.text, "Brisolt.ini");
}

TEST_F(StringTable, OwnBufferLoaderCutsAndEmptiesOnAMiss) {
    char small[8];
    std::memset(small, 'X', sizeof small);
    EXPECT_EQ(LoadResString(304, small), small);
    EXPECT_STREQ(small, "Fatal E");
    char whole[256];
    EXPECT_STREQ(LoadResString(436, whole), "Waiting for a child process to end.\nOK to leave it unattended?");
    char missing[8] = "stale";
    EXPECT_STREQ(LoadResString(265, missing), "");
}

}  // namespace
