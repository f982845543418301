// The bar's rules: the grid's running division (cell places and sizes, hidden buttons, clamping, icon
// sizes), the hint's text and place, the close question, and moving the buttons in one batch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/bar_rules.h"
#include "base/bounded_text.h"
#include "res/resource.h"

namespace {

constexpr IconCellMin kIconCell{36, 36};

struct Grid {
    AppOptions options;
    GridLayout layout;
};

Grid Lay(int rows, int cols, int space, int width, int height, std::vector<int> invisible = {},
         IconCellMin iconCell = kIconCell, int dpi = kSpacingDpi) {
    Grid grid;
    grid.options.rows = rows;
    grid.options.cols = cols;
    grid.options.space = space;
    GridRequest request;
    request.clientWidth = width;
    request.clientHeight = height;
    request.iconCellMin = iconCell;
    request.dpi = dpi;
    for (int index : invisible) request.invisible[index] = true;
    ComputeGridLayout(grid.options, request, grid.layout);
    return grid;
}

// ---- Column widths and places along one row

struct ColumnCase {
    const char* name;
    int cols, space, width;
    std::vector<int> xs, widths;
};

class GridColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(GridColumns, CellsShareTheWidthWithTheRemainderToTheRight) {
    const ColumnCase& c = GetParam();
    const Grid grid = Lay(1, c.cols, c.space, c.width, 60);
    ASSERT_EQ(c.xs.size(), static_cast<size_t>(c.cols));
    for (int column = 0; column < c.cols; ++column) {
        const ButtonCell& cell = grid.layout.cells[column];
        EXPECT_EQ(cell.x, c.xs[column]) << "column " << column;
        EXPECT_EQ(cell.width, c.widths[column]) << "column " << column;
        EXPECT_EQ(cell.placement, CellPlacement::kShow) << "column " << column;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, GridColumns,
    ::testing::Values(
        ColumnCase{"EightInto403", 8, 0, 403, {0, 50, 100, 150, 200, 250, 301, 352}, {50, 50, 50, 50, 50, 51, 51, 51}},
        ColumnCase{"EightInto400", 8, 0, 400, {0, 50, 100, 150, 200, 250, 300, 350}, {50, 50, 50, 50, 50, 50, 50, 50}},
        // space 2: 2 + 8 cells + 8 gaps of 2 = 403, the last cell ends 2 short of the edge.
        ColumnCase{"EightInto403Spaced", 8, 2, 403, {2, 52, 102, 152, 202, 252, 302, 352}, {48, 48, 48, 48, 48, 48, 48, 49}},
        ColumnCase{"OneColumn", 1, 3, 100, {3}, {94}},
        ColumnCase{"TenInto99", 10, 0, 99, {0, 9, 19, 29, 39, 49, 59, 69, 79, 89}, {9, 10, 10, 10, 10, 10, 10, 10, 10, 10}}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

// ---- Row heights and places

struct RowCase {
    const char* name;
    int rows, space, height;
    std::vector<int> ys, heights;
};

class GridRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(GridRows, RowsShareTheHeight) {
    const RowCase& c = GetParam();
    const Grid grid = Lay(c.rows, 8, c.space, 403, c.height);
    for (int row = 0; row < c.rows; ++row) {
        for (int column = 0; column < 8; ++column) {
            const ButtonCell& cell = grid.layout.cells[row * 10 + column];
            EXPECT_EQ(cell.y, c.ys[row]) << "row " << row << " column " << column;
            EXPECT_EQ(cell.height, c.heights[row]) << "row " << row << " column " << column;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, GridRows,
    ::testing::Values(RowCase{"TwoRowsNoSpace", 2, 0, 60, {0, 30}, {30, 30}},
                      // ends 2 pixels above the bottom: 31 + 27 = 58
                      RowCase{"TwoRowsSpaced", 2, 2, 60, {2, 31}, {27, 27}},
                      RowCase{"ThreeRowsRemainderBelow", 3, 0, 61, {0, 20, 40}, {20, 20, 21}},
                      RowCase{"FiveRowsSpaced", 5, 1, 100, {1, 20, 40, 60, 80}, {18, 19, 19, 19, 19}}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

// ---- Which buttons take part

TEST(GridMembers, ThreeColumnsHideTheRestOfEachRow) {
    const Grid grid = Lay(5, 3, 0, 300, 100);
    for (int index = 0; index < kButtonCount; ++index) {
        const bool inGrid = index % 10 < 3;
        EXPECT_EQ(grid.layout.cells[index].inGrid, inGrid) << index;
        EXPECT_EQ(grid.layout.cells[index].placement, inGrid ? CellPlacement::kShow : CellPlacement::kHide) << index;
    }
}

TEST(GridMembers, RowsBelowTheGridAreHidden) {
    const Grid grid = Lay(2, 10, 0, 500, 60);
    for (int index = 0; index < kButtonCount; ++index) {
        EXPECT_EQ(grid.layout.cells[index].inGrid, index < 20) << index;
        EXPECT_EQ(grid.layout.cells[index].placement == CellPlacement::kHide, index >= 20) << index;
    }
}

TEST(GridMembers, InvisibleButtonKeepsItsEmptyCell) {
    const Grid plain = Lay(2, 8, 0, 403, 60);
    const Grid gap = Lay(2, 8, 0, 403, 60, {12});
    const ButtonCell& cell = gap.layout.cells[12];
    EXPECT_EQ(cell.placement, CellPlacement::kHideInCell);
    EXPECT_TRUE(cell.inGrid);
    EXPECT_EQ(cell.x, 100);
    EXPECT_EQ(cell.y, 30);
    EXPECT_EQ(cell.width, 50);
    EXPECT_EQ(cell.height, 30);
    // The neighbours do not close the gap.
    for (int index = 0; index < kButtonCount; ++index) {
        EXPECT_EQ(gap.layout.cells[index].x, plain.layout.cells[index].x) << index;
        EXPECT_EQ(gap.layout.cells[index].width, plain.layout.cells[index].width) << index;
    }
    EXPECT_EQ(gap.layout.cells[13].placement, CellPlacement::kShow);
}

TEST(GridMembers, InvisibleButtonOutsideTheGridIsSimplyHidden) {
    const Grid grid = Lay(1, 3, 0, 300, 60, {5, 20});
    EXPECT_EQ(grid.layout.cells[5].placement, CellPlacement::kHide);
    EXPECT_EQ(grid.layout.cells[20].placement, CellPlacement::kHide);
}

// ---- Clamping of rows and cols

struct ClampCase {
    int rows, cols;
    int clampedRows, clampedCols;
};

class GridClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(GridClamp, ClampedValuesAreUsedAndKept) {
    const ClampCase& c = GetParam();
    const Grid grid = Lay(c.rows, c.cols, 0, 1000, 500);
    EXPECT_EQ(grid.options.rows, c.clampedRows);
    EXPECT_EQ(grid.options.cols, c.clampedCols);
    int inGrid = 0;
    for (const ButtonCell& cell : grid.layout.cells) inGrid += cell.inGrid ? 1 : 0;
    EXPECT_EQ(inGrid, c.clampedRows * c.clampedCols);
    // The last cell of the grid ends at the client area's edges (no spacing).
    const ButtonCell& last = grid.layout.cells[(c.clampedRows - 1) * 10 + c.clampedCols - 1];
    EXPECT_EQ(last.x + last.width, 1000);
    EXPECT_EQ(last.y + last.height, 500);
}

INSTANTIATE_TEST_SUITE_P(Layout, GridClamp,
                         ::testing::Values(ClampCase{0, 12, 1, 10}, ClampCase{-3, 0, 1, 1}, ClampCase{7, 10, 5, 10},
                                           ClampCase{5, 1, 5, 1}, ClampCase{2, 8, 2, 8}));

// ---- Small or large icon

struct IconCase {
    const char* name;
    int rows, cols, width, height;
    IconCellMin iconCell;
    bool small;
};

class GridIconSize : public ::testing::TestWithParam<IconCase> {};

TEST_P(GridIconSize, SmallIconBelowTheIconCell) {
    const IconCase& c = GetParam();
    const Grid grid = Lay(c.rows, c.cols, 0, c.width, c.height, {}, c.iconCell);
    EXPECT_EQ(grid.layout.cells[0].smallIcon, c.small);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, GridIconSize,
    ::testing::Values(IconCase{"BothFit", 1, 1, 36, 36, {36, 36}, false},
                      IconCase{"OneTooNarrow", 1, 1, 35, 36, {36, 36}, true},
                      IconCase{"OneTooLow", 1, 1, 36, 35, {36, 36}, true},
                      IconCase{"TwoRowsOf30", 2, 8, 403, 60, {36, 36}, true},
                      IconCase{"OneRowOf60", 1, 8, 403, 60, {36, 36}, false},
                      IconCase{"WideIconCell", 1, 8, 403, 60, {51, 20}, true}),
    [](const ::testing::TestParamInfo<IconCase>& info) { return std::string(info.param.name); });

TEST(GridIconSize, EachCellDecidesByItsOwnWidth) {
    // 403 / 8: columns 0..4 are 50 wide, 5..7 are 51.
    const Grid grid = Lay(1, 8, 0, 403, 60, {}, IconCellMin{51, 10});
    for (int column = 0; column < 8; ++column) EXPECT_EQ(grid.layout.cells[column].smallIcon, column < 5) << column;
}

// ---- Too little room

struct TinyCase {
    const char* name;
    int rows, cols, space, width, height;
    bool staysInside;  // a negative spacing lets cells overlap and reach past the edges
};

class GridTiny : public ::testing::TestWithParam<TinyCase> {};

TEST_P(GridTiny, CellsWithoutAreaAreHiddenAndTheRestStayInside) {
    const TinyCase& c = GetParam();
    const Grid grid = Lay(c.rows, c.cols, c.space, c.width, c.height);
    for (int index = 0; index < kButtonCount; ++index) {
        const ButtonCell& cell = grid.layout.cells[index];
        if (cell.inGrid) {
            EXPECT_EQ(cell.placement == CellPlacement::kHide, cell.width <= 0 || cell.height <= 0) << index;
        }
        if (cell.placement != CellPlacement::kHide && c.staysInside) {
            EXPECT_GT(cell.width, 0) << index;
            EXPECT_GT(cell.height, 0) << index;
            EXPECT_LE(cell.x + cell.width, c.width) << index;
            EXPECT_LE(cell.y + cell.height, c.height) << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layout, GridTiny,
                         ::testing::Values(TinyCase{"EmptyClient", 5, 10, 0, 0, 0, true},
                                           TinyCase{"FiveRowsInThree", 5, 10, 0, 7, 3, true},
                                           TinyCase{"SpaceLargerThanClient", 2, 8, 40, 30, 30, true},
                                           TinyCase{"NegativeClient", 2, 8, 2, -10, -10, true},
                                           TinyCase{"HugeSpace", 5, 10, 2147483647, 100, 100, true},
                                           TinyCase{"HugeNegativeSpace", 5, 10, -2147483647 - 1, 100, 100, false}),
    [](const ::testing::TestParamInfo<TinyCase>& info) { return std::string(info.param.name); });

TEST(GridTiny, FiveRowsInThreePixelsShowTheLastThree) {
    // 3 / 5 = 0, 3 / 4 = 0, then 3 / 3 = 1: the first two rows get no height.
    const Grid grid = Lay(5, 1, 0, 10, 3);
    const int expected[5] = {0, 0, 1, 1, 1};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(grid.layout.cells[row * 10].height, expected[row]) << row;
        EXPECT_EQ(grid.layout.cells[row * 10].placement,
                  expected[row] > 0 ? CellPlacement::kShow : CellPlacement::kHide) << row;
    }
}

// ---- The spacing at other screen resolutions

struct SpacingCase {
    int space, dpi;
    std::int64_t expected;
};

TEST(GridSpacing, GrowsWithTheResolutionToTheNearestPixel) {
    const SpacingCase cases[] = {
        {2, 96, 2},   {2, 144, 3},  {3, 144, 5},  {1, 120, 1},  {2, 120, 3},   {32, 192, 64},
        {5, 72, 4},   {-2, 144, -3}, {0, 288, 0}, {7, 0, 7},    {7, -96, 7},
        {2147483647, 192, 4294967294LL}, {-2147483647 - 1, 192, -4294967296LL},
    };
    for (const SpacingCase& c : cases) {
        EXPECT_EQ(SpacingAt(c.space, c.dpi), c.expected) << c.space << " at " << c.dpi;
    }
}

TEST(GridSpacing, AtOneAndAHalfTheGridIsTheSameGridInLargerPixels) {
    // The 96 dpi grid of 403 x 60 with space 2, at 144 dpi in a client area half as large again.
    const Grid base = Lay(2, 8, 2, 403, 60);
    const Grid large = Lay(2, 8, 2, 605, 90, {}, kIconCell, 144);
    EXPECT_EQ(large.layout.cells[0].x, 3);
    EXPECT_EQ(large.layout.cells[0].y, 3);
    for (int index : {0, 7, 10, 17}) {
        const ButtonCell& small = base.layout.cells[index];
        const ButtonCell& cell = large.layout.cells[index];
        EXPECT_NEAR(cell.x, small.x * 3 / 2, 2) << index;
        EXPECT_NEAR(cell.width, small.width * 3 / 2, 2) << index;
        EXPECT_NEAR(cell.height, small.height * 3 / 2, 2) << index;
        EXPECT_LE(cell.x + cell.width, 605 - 3) << index;
        EXPECT_LE(cell.y + cell.height, 90 - 3) << index;
    }
}

}  // namespace

TEST(CloseRule, AsksOnlyWhileChildrenAreWatched) {
    EXPECT_EQ(CloseQuestionId(0), 0);
    EXPECT_EQ(CloseQuestionId(1), IDS_CLOSE_ONE_CHILD);
    EXPECT_EQ(CloseQuestionId(3), IDS_CLOSE_CHILDREN);
}

TEST(Hint, LineBreaksBecomeCarriageReturnLineFeed) {
    char text[64];
    CopyText(text, "First line\\nSecond line\\");
    HintLineBreaks(text, sizeof text);
    EXPECT_STREQ(text, "First line\r\nSecond line\\");
}

TEST(Hint, PlacedBelowTheClickAndKeptOnScreen) {
    const HintPlace inside = PlaceHint(100, 100, 50, 20, 32, 1, 1, 1024, 768);
    EXPECT_EQ(inside.x, 100);
    EXPECT_EQ(inside.y, 116);
    EXPECT_EQ(inside.width, 60);
    EXPECT_EQ(inside.height, 30);
    const HintPlace corner = PlaceHint(1000, 760, 50, 20, 32, 1, 1, 1024, 768);
    EXPECT_EQ(corner.x, 1024 - 60);
    EXPECT_EQ(corner.y, 768 - 30);
}

TEST(Hint, TypeDescriptionsExistOnlyForTheNineTypes) {
    EXPECT_EQ(TypeDescriptionId(0), IDS_HINT_EXECUTE);
    EXPECT_EQ(TypeDescriptionId(6), IDS_HINT_INVISIBLE);
    EXPECT_EQ(TypeDescriptionId(7), IDS_HINT_RUN_IN_TURN);
    EXPECT_EQ(TypeDescriptionId(8), IDS_HINT_STOP_RUNS);
    EXPECT_EQ(TypeDescriptionId(9), 0);
    EXPECT_EQ(TypeDescriptionId(-56), 0);
}

TEST(RunInTurn, StepsAreThePiecesBetweenBarsWithoutTheirBlanks) {
    const char* const list = "| pdfLaTeX ||\t| BibTeX\t|View PDF |";
    const char* const steps[] = {"pdfLaTeX", "BibTeX", "View PDF"};
    std::string_view title;
    for (int n = 0; n < 3; ++n) {
        EXPECT_TRUE(StepTitle(list, n, title) && title == steps[n]) << n;
    }
    for (const char* none : {"", " | ", "\t"}) EXPECT_FALSE(StepTitle(none, 0, title)) << none;
    EXPECT_FALSE(StepTitle(list, 3, title));
    EXPECT_FALSE(StepTitle(list, -1, title));
}

TEST(RunInTurn, AStepIsTheFirstButtonOfItsTitleAndNeverAnotherSequence) {
    static ButtonDef buttons[kButtonCount];
    CopyText(buttons[3].title, "pdfLaTeX");
    CopyText(buttons[9].title, "PDFLATEX");
    CopyText(buttons[12].title, "Build");
    buttons[12].type = kTypeRunInTurn;
    int index = -1;
    EXPECT_EQ(FindStepButton(buttons, "pdflatex", index), StepCheck::kFound);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(FindStepButton(buttons, "build", index), StepCheck::kRunsInTurn);
    EXPECT_EQ(FindStepButton(buttons, "pdfLaTe", index), StepCheck::kNoButton);
    EXPECT_EQ(FindStepButton(buttons, std::string(300, 'x'), index), StepCheck::kNoButton);
}

namespace {

// Records what the layout asked of the system; refuses the batch or its n-th move when told to.
class RecordingSystem : public MoveSystem {
public:
    bool refuseBatch = false;
    int refuseDefer = -1;  // index of the deferred move the system refuses
    std::vector<void*> deferred;
    std::vector<void*> movedNow;
    bool ended = false;

    bool BeginBatch(std::size_t) override { return !refuseBatch; }
    bool Defer(const WindowMove& move) override {
        if (static_cast<int>(deferred.size()) == refuseDefer) return false;
        deferred.push_back(move.window);
        return true;
    }
    void EndBatch() override { ended = true; }
    void MoveNow(const WindowMove& move) override { movedNow.push_back(move.window); }
};

std::vector<WindowMove> ThreeMoves() {
    std::vector<WindowMove> moves(3);
    for (std::size_t i = 0; i < moves.size(); ++i) moves[i].window = reinterpret_cast<void*>(i + 1);
    return moves;
}

TEST(ApplyMoves, EveryWindowIsMovedWhateverTheSystemRefuses) {
    struct Row {
        const char* name;
        bool refuseBatch;
        int refuseDefer;
        bool batched;
    };
    const Row rows[] = {
        {"batch accepted", false, -1, true},
        {"no batch to be had", true, -1, false},
        {"first move refused", false, 0, false},
        {"last move refused after two were deferred", false, 2, false},
    };
    const std::vector<WindowMove> moves = ThreeMoves();
    const std::vector<void*> all = {moves[0].window, moves[1].window, moves[2].window};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSystem system;
        system.refuseBatch = row.refuseBatch;
        system.refuseDefer = row.refuseDefer;
        ApplyMoves(moves.data(), moves.size(), system);
        EXPECT_EQ(system.ended, row.batched);
        // A refused batch is gone with the moves it held: each window is moved on its own instead.
        EXPECT_EQ(row.batched ? system.deferred : system.movedNow, all);
        if (row.batched) {
            EXPECT_TRUE(system.movedNow.empty());
        }
    }
}

}  // namespace
