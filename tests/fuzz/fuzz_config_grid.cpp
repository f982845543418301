// Fuzzes the configuration dialog's cell arithmetic over a sequence of moves with any grid and position:
// every index stays in 0..49 inside the visible grid, and a move only trades two records.
#include <memory>
#include <string>

#include "base/bounded_text.h"
#include "config/config_grid.h"
#include "fuzz_input.h"

namespace {

// A cursor names one cell of the clamped grid, its index and position agreeing with its row and column.
void CheckCursor(const GridCursor& cursor, const AppOptions& options) {
    FUZZ_CHECK(cursor.row >= 0 && cursor.row < options.rows && cursor.column >= 0 && cursor.column < options.cols);
    FUZZ_CHECK(cursor.index == cursor.row * kButtonsPerRow + cursor.column);
    FUZZ_CHECK(cursor.index >= 0 && cursor.index < kButtonCount);
    FUZZ_CHECK(cursor.position == cursor.row * options.cols + cursor.column);
    FUZZ_CHECK(IndexAtPosition(cursor.position, options.cols) == cursor.index);
}

int Tag(const ButtonDef& def) { return std::stoi(def.title); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    struct Records {
        ButtonDef buttons[kButtonCount];
    };
    const auto table = std::make_unique<Records>();
    ButtonDef (&records)[kButtonCount] = table->buttons;
    for (int k = 0; k < kButtonCount; ++k) CopyText(records[k].title, std::to_string(k));

    // The dialog opens on a bar button (1..50) or on the first record (0).
    const int startButton = input.IntIn(0, kButtonCount);
    const int start = StartIndex(startButton);
    FUZZ_CHECK(start >= 0 && start < kButtonCount && start == (startButton == 0 ? 0 : startButton - 1));

    AppOptions options;
    GridCursor cursor;
    cursor.index = start;
    while (!input.Empty()) {
        // The settings file or the spin boxes may give any rows and columns.
        options.rows = input.Flag() ? input.Int() : input.IntIn(0, 6);
        options.cols = input.Flag() ? input.Int() : input.IntIn(0, 11);
        cursor = ClampCursor(options, input.Flag() ? input.Int() : cursor.index);
        CheckCursor(cursor, options);

        int before[kButtonCount];
        for (int k = 0; k < kButtonCount; ++k) before[k] = Tag(records[k]);
        const int position = input.Flag() ? input.Int() : input.IntIn(-1, 51);
        const GridCursor moved = MoveToPosition(records, options, cursor, position);
        CheckCursor(moved, options);
        // A position past either end of the grid means that end.
        const int last = options.rows * options.cols - 1;
        FUZZ_CHECK(moved.position == (position < 0 ? 0 : position > last ? last : position));
        // The two records trade places; nothing else moves.
        FUZZ_CHECK(Tag(records[moved.index]) == before[cursor.index]);
        FUZZ_CHECK(Tag(records[cursor.index]) == before[moved.index]);
        for (int k = 0; k < kButtonCount; ++k) {
            if (k != moved.index && k != cursor.index) FUZZ_CHECK(Tag(records[k]) == before[k]);
        }
        cursor = moved;
    }
    return 0;
}
