// The configuration layer's rules: loading a button's icons with the fallbacks, handle ownership, the
// face's source and when two buttons have the same icons; the dialog's cell arithmetic; the Select icon dialog's list.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "config/config_rules.h"

namespace {

void* Handle(std::uintptr_t value) { return reinterpret_cast<void*>(value); }

// A file system of icon files: each file has a number of icons; a program association per command.
class FakeIconSystem : public IconSystem {
public:
    std::map<std::string, int> iconCounts;       // file -> icons it holds
    std::map<std::string, std::string> programs;  // command -> program that opens it
    std::string failedAnswer;                     // what the finder writes when it finds nothing
    bool halfExtraction = false;                  // files give a large icon but no small one
    bool extractGivesOne = false;                 // missing icons come back as handle 1, not 0

    std::vector<std::string> extracted;  // "file,index"
    std::vector<std::string> lookedUp;
    std::set<void*> alive;
    std::vector<void*> destroyed;

    void ReleaseIcon(void* icon) override {
        destroyed.push_back(icon);
        alive.erase(icon);
    }
    void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) override {
        extracted.push_back(std::string(file) + "," + std::to_string(iconNumber));
        const auto found = iconCounts.find(file);
        const void* none = extractGivesOne ? Handle(1) : nullptr;
        large = const_cast<void*>(none);
        small = const_cast<void*>(none);
        if (found == iconCounts.end() || iconNumber >= found->second) return;
        large = NewIcon();
        if (!halfExtraction) small = NewIcon();
    }
    bool FindProgram(const char* command, char (&program)[kPathSize]) override {
        lookedUp.push_back(command);
        const auto found = programs.find(command);
        CopyText(program, found == programs.end() ? failedAnswer : found->second);
        return found != programs.end();
    }

private:
    void* NewIcon() {
        void* icon = Handle(next_);
        next_ += 16;
        alive.insert(icon);
        return icon;
    }
    std::uintptr_t next_ = 0x1000;
};

ButtonDef MakeDef(const char* iconFile, int iconNumber, const char* command = "C:\\Papers\\thesis.tex") {
    ButtonDef def;
    CopyText(def.iconFile, iconFile);
    def.iconNumber = iconNumber;
    CopyText(def.command, command);
    return def;
}

// ---- Loading a ButtonDef's own icons

struct ReloadCase {
    const char* name;
    const char* iconFile;
    int iconNumber;
    const char* command;
    const char* expectedFile;
    int expectedNumber;
    std::vector<std::string> expectedExtractions;
    std::vector<std::string> expectedLookups;
};

class ReloadIcons : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(ReloadIcons, OwnIconOrFallback) {
    const ReloadCase& c = GetParam();
    FakeIconSystem system;
    system.iconCounts = {{"C:\\Tools\\three.exe", 3}, {"C:\\Editors\\edit.exe", 1}, {"C:\\Viewers\\noicon.exe", 0}};
    system.programs = {{"C:\\Papers\\thesis.tex", "C:\\Editors\\edit.exe"},
                       {"C:\\Papers\\paper.pdf", "C:\\Viewers\\noicon.exe"}};
    ButtonDef def = MakeDef(c.iconFile, c.iconNumber, c.command);
    const IconPair icons = LoadIconPair(def, system);

    EXPECT_STREQ(def.iconFile, c.expectedFile);
    EXPECT_EQ(def.iconNumber, c.expectedNumber);
    EXPECT_EQ(system.extracted, c.expectedExtractions);
    EXPECT_EQ(system.lookedUp, c.expectedLookups);
    if (c.expectedNumber >= 0) {
        EXPECT_TRUE(IsIcon(icons.large));
        EXPECT_TRUE(IsIcon(icons.small));
        EXPECT_NE(icons.large, icons.small);
        EXPECT_EQ(system.alive, (std::set<void*>{icons.large, icons.small}));
    } else {
        EXPECT_EQ(icons.large, nullptr);
        EXPECT_EQ(icons.small, nullptr);
        EXPECT_TRUE(system.alive.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Icons, ReloadIcons,
    ::testing::Values(
        ReloadCase{"ThirdIconOfAProgram", "C:\\Tools\\three.exe", 2, "C:\\Papers\\thesis.tex", "C:\\Tools\\three.exe", 2,
                   {"C:\\Tools\\three.exe,2"}, {}},
        ReloadCase{"IndexBeyondTheFileFallsBackToTheProgram", "C:\\Tools\\three.exe", 5, "C:\\Papers\\thesis.tex",
                   "C:\\Editors\\edit.exe", 0, {"C:\\Tools\\three.exe,5", "C:\\Editors\\edit.exe,0"},
                   {"C:\\Papers\\thesis.tex"}},
        ReloadCase{"UnreadableFileFallsBackToTheProgram", "C:\\gone.ico", 0, "C:\\Papers\\thesis.tex",
                   "C:\\Editors\\edit.exe", 0, {"C:\\gone.ico,0", "C:\\Editors\\edit.exe,0"}, {"C:\\Papers\\thesis.tex"}},
        ReloadCase{"NoProgramLeavesNoOwnIcon", "C:\\Tools\\three.exe", 5, "latex", "C:\\Tools\\three.exe", -1, {"C:\\Tools\\three.exe,5"},
                   {"latex"}},
        ReloadCase{"ProgramWithoutIconsLeavesNoOwnIcon", "C:\\Tools\\three.exe", 9, "C:\\Papers\\paper.pdf",
                   "C:\\Viewers\\noicon.exe", -1, {"C:\\Tools\\three.exe,9", "C:\\Viewers\\noicon.exe,0"},
                   {"C:\\Papers\\paper.pdf"}},
        ReloadCase{"EmptyIconFileMeansNoIcon", "", 4, "C:\\Papers\\thesis.tex", "", -1, {}, {}},
        ReloadCase{"NumberMinusOneLoadsNothing", "C:\\Tools\\three.exe", -1, "C:\\Papers\\thesis.tex",
                   "C:\\Tools\\three.exe", -1, {}, {}},
        ReloadCase{"AnyNegativeNumberLoadsNothing", "C:\\Tools\\three.exe", -7, "C:\\Papers\\thesis.tex",
                   "C:\\Tools\\three.exe", -7, {}, {}}),
    [](const ::testing::TestParamInfo<ReloadCase>& info) { return std::string(info.param.name); });

TEST(ReloadIconsHandles, HalfExtractedPairIsReleasedBeforeTheFallback) {
    FakeIconSystem system;
    system.iconCounts = {{"C:\\Tools\\three.exe", 3}, {"C:\\Editors\\edit.exe", 1}};
    system.programs = {{"C:\\Papers\\thesis.tex", "C:\\Editors\\edit.exe"}};
    system.halfExtraction = true;
    ButtonDef def = MakeDef("C:\\Tools\\three.exe", 0);
    const IconPair icons = LoadIconPair(def, system);
    EXPECT_EQ(def.iconNumber, -1);
    EXPECT_EQ(icons.large, nullptr);
    EXPECT_EQ(icons.small, nullptr);
    EXPECT_EQ(system.destroyed.size(), 2u);  // one large icon from each attempt
    EXPECT_TRUE(system.alive.empty());
}

TEST(ReloadIconsHandles, HandleOneFromExtractionCountsAsNone) {
    FakeIconSystem system;
    system.extractGivesOne = true;
    ButtonDef def = MakeDef("C:\\gone.ico", 0, "latex");
    const IconPair icons = LoadIconPair(def, system);
    EXPECT_EQ(def.iconNumber, -1);
    EXPECT_EQ(icons.large, nullptr);
    EXPECT_EQ(icons.small, nullptr);
    EXPECT_TRUE(system.destroyed.empty());
}

TEST(ReloadIconsHandles, FailedLookupKeepsTheIconFile) {
    FakeIconSystem system;
    system.failedAnswer = "";
    ButtonDef def = MakeDef("C:\\gone.ico", 3, "latex");
    LoadIconPair(def, system);
    EXPECT_STREQ(def.iconFile, "C:\\gone.ico");
    EXPECT_EQ(def.iconNumber, -1);
}

// ---- Where a face comes from

struct FaceCase {
    const char* name;
    const char* iconFile;
    int iconNumber;
    std::uintptr_t large, small;
    FaceSource expected;
};

class FaceSources : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceSources, OwnIconOnlyWhenComplete) {
    const FaceCase& c = GetParam();
    EXPECT_EQ(ChooseFaceSource(MakeDef(c.iconFile, c.iconNumber), {Handle(c.large), Handle(c.small)}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, FaceSources,
    ::testing::Values(FaceCase{"Complete", "C:\\a.ico", 0, 0x100, 0x200, FaceSource::kOwnIcon},
                      FaceCase{"NumberMinusOne", "C:\\a.ico", -1, 0x100, 0x200, FaceSource::kShellIcon},
                      FaceCase{"EmptyFile", "", 0, 0x100, 0x200, FaceSource::kShellIcon},
                      FaceCase{"NoLarge", "C:\\a.ico", 0, 0, 0x200, FaceSource::kShellIcon},
                      FaceCase{"NoSmall", "C:\\a.ico", 2, 0x100, 0, FaceSource::kShellIcon},
                      FaceCase{"HandleOne", "C:\\a.ico", 2, 1, 0x200, FaceSource::kShellIcon}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.name); });

TEST(SameIcons, FileNumberAndCommandCount) {
    const ButtonDef def = MakeDef("C:\\a.ico", 2, "latex");
    ButtonDef other = def;
    CopyText(other.title, "another title");
    EXPECT_TRUE(SameIcons(def, other));
    for (auto change : {+[](ButtonDef& d) { d.iconNumber = 3; }, +[](ButtonDef& d) { CopyText(d.iconFile, "C:\\b.ico"); },
                        +[](ButtonDef& d) { CopyText(d.command, "pdflatex"); }}) {
        ButtonDef changed = def;
        change(changed);
        EXPECT_FALSE(SameIcons(def, changed));
    }
}

TEST(IconHandles, ZeroAndOneAreNoIcon) {
    EXPECT_FALSE(IsIcon(nullptr));
    EXPECT_FALSE(IsIcon(Handle(1)));
    EXPECT_TRUE(IsIcon(Handle(2)));
    EXPECT_TRUE(IsIcon(Handle(0x10000)));
}

}  // namespace

namespace {

AppOptions Grid(int rows, int cols) {
    AppOptions options;
    options.rows = rows;
    options.cols = cols;
    return options;
}

std::string Cell(const GridCursor& c) {
    return std::to_string(c.index) + " r" + std::to_string(c.row) + " c" + std::to_string(c.column) + " p" +
           std::to_string(c.position);
}

TEST(ConfigGrid, StartButtonOpensOnItsRecord) {
    EXPECT_EQ(StartIndex(0), 0);
    EXPECT_EQ(StartIndex(1), 0);
    EXPECT_EQ(StartIndex(13), 12);
    EXPECT_EQ(StartIndex(50), 49);
}

TEST(ConfigGrid, PositionsOfAThreeByFourGrid) {
    AppOptions options = Grid(3, 4);
    // Position p (1-based, as shown) and the record it names; every position of the grid round-trips.
    const struct {
        int shown;
        int index;
    } rows[] = {{1, 0}, {4, 3}, {5, 10}, {8, 13}, {9, 20}, {12, 23}};
    for (const auto& r : rows) {
        EXPECT_EQ(IndexAtPosition(r.shown - 1, options.cols), r.index) << r.shown;
        EXPECT_EQ(ClampCursor(options, r.index).position, r.shown - 1) << r.shown;
    }
    for (int p = 0; p < options.rows * options.cols; ++p) {
        EXPECT_EQ(ClampCursor(options, IndexAtPosition(p, options.cols)).position, p);
    }
    EXPECT_EQ(Cell(ClampCursor(options, IndexAtPosition(4, options.cols))), "10 r1 c0 p4");
}

TEST(ConfigGrid, PropertiesOnRowTwoColumnThreeOfEightColumns) {
    AppOptions options = Grid(2, 8);
    EXPECT_EQ(Cell(ClampCursor(options, StartIndex(13))), "12 r1 c2 p10");
}

TEST(ConfigGrid, ClampKeepsTheOtherCoordinate) {
    const struct {
        int rows, cols, index;
        const char* expected;
    } cases[] = {
        {3, 4, 22, "22 r2 c2 p10"},   // inside
        {2, 4, 22, "12 r1 c2 p6"},    // rows shrunk past it: last row, same column
        {3, 2, 23, "21 r2 c1 p5"},    // columns shrunk past it: same row, last column
        {1, 1, 49, "0 r0 c0 p0"},     // both
        {9, -3, 45, "40 r4 c0 p4"},   // a grid out of range is brought to 5 x 1 first
        {5, 10, -7, "0 r0 c0 p0"},    // an index below the table
        {5, 10, 73, "43 r4 c3 p43"},  // an index past it: row 7 becomes 4
    };
    for (const auto& c : cases) {
        AppOptions options = Grid(c.rows, c.cols);
        EXPECT_EQ(Cell(ClampCursor(options, c.index)), c.expected) << c.rows << "x" << c.cols << " " << c.index;
    }
    AppOptions wild = Grid(9, -3);
    ClampCursor(wild, 0);
    EXPECT_EQ(wild.rows, 5);
    EXPECT_EQ(wild.cols, 1);
}

class ConfigMove : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kButtonCount; ++i) {
            ButtonDef& def = buttons[i];
            FormatText(def.title, "B%d", i);
            FormatText(def.command, "cmd%d", i);
            FormatText(def.iconFile, "icons%d.dll", i);
            def.iconNumber = i;
            def.type = static_cast<signed char>(i % 7);
            def.show = static_cast<signed char>(i % 5);
            def.log = static_cast<signed char>(i % 4);
            def.wait = i & 1;
            def.useIcon = (i >> 1) & 1;
        }
    }
    // The record now at `at` is the one that was at `from`, every field.
    void ExpectRecord(int at, int from) {
        const ButtonDef& def = buttons[at];
        EXPECT_EQ(std::string(def.title), "B" + std::to_string(from)) << at;
        EXPECT_EQ(std::string(def.command), "cmd" + std::to_string(from)) << at;
        EXPECT_EQ(std::string(def.iconFile), "icons" + std::to_string(from) + ".dll") << at;
        EXPECT_EQ(def.iconNumber, from) << at;
        EXPECT_EQ(def.type, from % 7) << at;
        EXPECT_EQ(def.show, from % 5) << at;
        EXPECT_EQ(def.log, from % 4) << at;
        EXPECT_EQ(def.wait, from & 1) << at;
        EXPECT_EQ(def.useIcon, (from >> 1) & 1) << at;
    }
    ButtonDef buttons[kButtonCount];
};

TEST_F(ConfigMove, StepRightExchangesWithTheNeighbour) {
    AppOptions options = Grid(3, 4);
    const GridCursor moved = MoveToPosition(buttons, options, ClampCursor(options, 0), 1);
    EXPECT_EQ(Cell(moved), "1 r0 c1 p1");
    ExpectRecord(1, 0);
    ExpectRecord(0, 1);
    for (int i = 2; i < kButtonCount; ++i) ExpectRecord(i, i);
}

TEST_F(ConfigMove, StepFromTheLastColumnGoesToTheNextRow) {
    AppOptions options = Grid(3, 4);
    const GridCursor moved = MoveToPosition(buttons, options, ClampCursor(options, 3), 4);
    EXPECT_EQ(Cell(moved), "10 r1 c0 p4");
    ExpectRecord(10, 3);
    ExpectRecord(3, 10);
    ExpectRecord(4, 4);  // the hidden slots of row 1 are not cells of a 4-column grid
}

TEST_F(ConfigMove, SteppingOnAndBackRestoresTheTable) {
    AppOptions options = Grid(2, 8);
    GridCursor cursor = ClampCursor(options, 12);
    cursor = MoveToPosition(buttons, options, cursor, 11);
    cursor = MoveToPosition(buttons, options, cursor, 12);
    EXPECT_EQ(Cell(cursor), "14 r1 c4 p12");
    ExpectRecord(14, 12);
    ExpectRecord(12, 13);
    ExpectRecord(13, 14);
    cursor = MoveToPosition(buttons, options, cursor, 11);
    cursor = MoveToPosition(buttons, options, cursor, 10);
    for (int i = 0; i < kButtonCount; ++i) ExpectRecord(i, i);
}

TEST_F(ConfigMove, SamePositionChangesNothing) {
    AppOptions options = Grid(5, 10);
    const GridCursor moved = MoveToPosition(buttons, options, ClampCursor(options, 49), 49);
    EXPECT_EQ(moved.index, 49);
    for (int i = 0; i < kButtonCount; ++i) ExpectRecord(i, i);
}

TEST_F(ConfigMove, PositionOutsideTheGridStaysInsideIt) {
    AppOptions options = Grid(2, 3);
    const GridCursor moved = MoveToPosition(buttons, options, ClampCursor(options, 0), 40);
    EXPECT_EQ(Cell(moved), "12 r1 c2 p5");
    ExpectRecord(12, 0);
    ExpectRecord(0, 12);
}

TEST_F(ConfigMove, ShrinkingRowsKeepsTheHiddenRecord) {
    // Rows lowered from 3 to 2 while row 3 is current: the cursor moves up, nothing is exchanged, and the
    // record in row 3 is still there when the rows go back up.
    AppOptions options = Grid(3, 4);
    GridCursor cursor = ClampCursor(options, 21);
    options.rows = 2;
    cursor = ClampCursor(options, cursor.index);
    EXPECT_EQ(Cell(cursor), "11 r1 c1 p5");
    options.rows = 3;
    EXPECT_EQ(Cell(ClampCursor(options, 21)), "21 r2 c1 p9");
    for (int i = 0; i < kButtonCount; ++i) ExpectRecord(i, i);
}

}  // namespace

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
