// The configuration dialog's cell arithmetic.
#include "config/config_grid.h"

#include <utility>

#include "settings/settings_rules.h"

namespace {

int Clamp(int value, int low, int high) {
    if (value > high) return high;
    if (value < low) return low;
    return value;
}

}  // namespace

int StartIndex(int startButton) {
    return startButton != 0 ? startButton - 1 : 0;
}

int IndexAt(int row, int column) {
    return row * kButtonsPerRow + column;
}

int IndexAtPosition(int position, int cols) {
    if (cols < 1) cols = 1;
    return IndexAt(position / cols, position % cols);
}

GridCursor ClampCursor(AppOptions& options, int index) {
    ClampGrid(options);
    GridCursor cursor;
    // A negative index divides toward zero: its row and column are clamped like any other.
    cursor.row = Clamp(index / kButtonsPerRow, 0, options.rows - 1);
    cursor.column = Clamp(index % kButtonsPerRow, 0, options.cols - 1);
    cursor.index = IndexAt(cursor.row, cursor.column);
    cursor.position = cursor.row * options.cols + cursor.column;
    return cursor;
}

GridCursor MoveToPosition(ButtonDef (&buttons)[kButtonCount], AppOptions& options, const GridCursor& cursor,
                          int position) {
    ClampGrid(options);
    position = Clamp(position, 0, options.rows * options.cols - 1);
    const GridCursor moved = ClampCursor(options, IndexAtPosition(position, options.cols));
    const GridCursor from = ClampCursor(options, cursor.index);
    if (moved.index != from.index) std::swap(buttons[from.index], buttons[moved.index]);
    return moved;
}
