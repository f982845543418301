// Tests of the configuration dialog's cell arithmetic: start, clamp, positions and the move of a button.
#include "config/config_grid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/bounded_text.h"

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
            def.largeIcon = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1000 + i));
            def.smallIcon = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x2000 + i));
            def.type = static_cast<signed char>(i % 7);
            def.show = static_cast<signed char>(i % 5);
            def.log = static_cast<signed char>(i % 4);
            def.wait = i & 1;
            def.useIcon = (i >> 1) & 1;
        }
    }
    // The record now at `at` is the one that was at `from`, every field and both icons.
    void ExpectRecord(int at, int from) {
        const ButtonDef& def = buttons[at];
        EXPECT_EQ(std::string(def.title), "B" + std::to_string(from)) << at;
        EXPECT_EQ(std::string(def.command), "cmd" + std::to_string(from)) << at;
        EXPECT_EQ(std::string(def.iconFile), "icons" + std::to_string(from) + ".dll") << at;
        EXPECT_EQ(def.iconNumber, from) << at;
        EXPECT_EQ(def.largeIcon, reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1000 + from))) << at;
        EXPECT_EQ(def.smallIcon, reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x2000 + from))) << at;
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
