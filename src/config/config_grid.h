// The configuration dialog's cell arithmetic without windows.h: which record a row, a column or a
// position of the visible grid names, and the move of a button to another position.
#pragma once

#include "settings/settings_records.h"

// The cell being edited. The record table keeps ten slots per row whatever the number of columns, while
// the position counts only the cells of the visible grid, row by row. All four are 0-based.
struct GridCursor {
    int index = 0;     // row * 10 + column
    int row = 0;
    int column = 0;
    int position = 0;  // row * cols + column
};

// The record a dialog opened for `startButton` shows first: 0 opens on the first record, n on record n - 1.
int StartIndex(int startButton);

// The record in a 0-based row and column.
int IndexAt(int row, int column);

// The record at a 0-based position of a grid `cols` wide.
int IndexAtPosition(int position, int cols);

// Brings rows and cols into 1..5 and 1..10 (they stay so in options), then the record `index` into that
// grid: a row or column past its edge becomes the last one, the other coordinate is kept.
GridCursor ClampCursor(AppOptions& options, int index);

// Moves the button at `cursor` to the 0-based `position` of the grid: the two records trade places
// whole, icons included, and the cursor follows the moved button. Returns the new cursor.
GridCursor MoveToPosition(ButtonDef (&buttons)[kButtonCount], AppOptions& options, const GridCursor& cursor,
                          int position);
