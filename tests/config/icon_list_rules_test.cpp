// Tests of the Select icon dialog's rules: the file a filling shows, the own-icon test, the item size and
// the clean-up of a typed name.
#include "config/icon_list_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "base/bounded_text.h"

namespace {

ButtonDef Def(const char* iconFile, int iconNumber, const char* command) {
    ButtonDef def;
    CopyText(def.iconFile, iconFile);
    def.iconNumber = iconNumber;
    CopyText(def.command, command);
    return def;
}

TEST(IconListSource, GivenNameThenIconFileThenCommand) {
    const struct {
        const char* given;
        const char* iconFile;
        int iconNumber;
        const char* command;
        const char* name;
        int selection;
    } cases[] = {
        {"C:\\typed.ico", "C:\\own.dll", 7, "latex", "C:\\typed.ico", 0},
        {"  \tC:\\typed.ico", "C:\\own.dll", 7, "latex", "C:\\typed.ico", 0},
        {"   ", "C:\\own.dll", 7, "latex", "C:\\own.dll", 7},  // only blanks: nothing typed
        {"", "C:\\own.dll", 7, "latex", "C:\\own.dll", 7},
        {"", "C:\\own.dll", -1, "latex", "C:\\own.dll", 0},  // the fast default: the file is kept, item 0
        {"", "C:\\own.dll", -9, "latex", "C:\\own.dll", 0},
        {"", "", 4, "C:\\tex\\latex.exe", "C:\\tex\\latex.exe", 0},
        {"", "", -1, "", "", 0},
    };
    for (const auto& c : cases) {
        const ButtonDef def = Def(c.iconFile, c.iconNumber, c.command);
        const IconListSource source = ChooseIconListSource(c.given, def);
        EXPECT_EQ(std::string(source.name), c.name) << c.given << "|" << c.iconFile << "|" << c.command;
        EXPECT_EQ(source.selection, c.selection) << c.given << "|" << c.iconFile << "|" << c.command;
    }
}

TEST(IconListSource, A259CharacterIconFileComesWhole) {
    ButtonDef def;
    const std::string full(259, 'x');
    CopyText(def.iconFile, full);
    EXPECT_EQ(std::string(ChooseIconListSource("", def).name), full);
}

TEST(IconListSource, StartItemFallsBackToTheFirst) {
    EXPECT_EQ(StartItem(2, 3), 2);
    EXPECT_EQ(StartItem(3, 3), 0);
    EXPECT_EQ(StartItem(2147483647, 300), 0);  // a huge number read from the file
    EXPECT_EQ(StartItem(0, 0), 0);
}

TEST(IconListSource, OwnIconNeedsNumberNameAndIcons) {
    EXPECT_TRUE(HasOwnIcon(0, "C:\\a.ico", 1));
    EXPECT_FALSE(HasOwnIcon(-1, "C:\\a.ico", 1));
    EXPECT_FALSE(HasOwnIcon(0, "", 1));
    EXPECT_FALSE(HasOwnIcon(0, "C:\\a.ico", 0));
}

TEST(IconItem, SquareItemsWithTheIconInTheMiddle) {
    const struct {
        int clientHeight, iconWidth, iconHeight, size, x, y;
    } cases[] = {
        {48, 32, 32, 50, 9, 9},
        {62, 32, 32, 64, 16, 16},
        {30, 32, 32, 32, 0, 0},   // an item exactly one icon high
        {20, 32, 32, 22, -5, -5}, // a list lower than an icon: the icon is cut evenly on both sides
        {48, 48, 32, 50, 1, 9},
    };
    for (const auto& c : cases) {
        const IconItemMetrics m = MeasureIconItem(c.clientHeight, c.iconWidth, c.iconHeight);
        EXPECT_EQ(m.itemSize, c.size) << c.clientHeight;
        EXPECT_EQ(m.xOffset, c.x) << c.clientHeight;
        EXPECT_EQ(m.yOffset, c.y) << c.clientHeight;
    }
}

TEST(TypedName, LeadingBlanksAndControlCharactersAreSkipped) {
    const struct {
        std::string typed;
        std::string kept;
    } cases[] = {
        {"   C:\\a.ico", "C:\\a.ico"},
        {"\t\r\n\x01 x.ico", "x.ico"},
        {"!x.ico", "!x.ico"},                  // 33 is the first code kept
        {"\xA0x.ico", "\xA0x.ico"},            // a code-page letter above 127 is no blank
        {"\xFFx.ico", "\xFFx.ico"},
        {"a b ", "a b "},                      // only the front is trimmed
        {"     ", ""},
        {"", ""},
        {std::string("\0x", 2), std::string("\0x", 2)},  // code 0 ends the skip
    };
    for (const auto& c : cases) EXPECT_EQ(std::string(SkipLeadingBlanks(c.typed)), c.kept) << c.typed;
}

}  // namespace
