// Where the bar buttons go: the grid's running division of the client area, free of windows.h.
#pragma once

#include <cstdint>

#include "settings/settings_records.h"

// The spacing in the settings is in pixels of a 96 dpi screen; at other resolutions it grows or shrinks in
// proportion, rounded to the nearest pixel, so the bar looks alike on every screen.
constexpr int kSpacingDpi = 96;
std::int64_t SpacingAt(int space, int dpi);

// A cell narrower or lower than this shows the small icon: a normal icon with its edges.
struct IconCellMin {
    int width = 0;
    int height = 0;
};

enum class CellPlacement : unsigned char {
    kShow,       // moved into its cell and shown
    kHideInCell, // moved into its cell and hidden: an invisible button keeps its place empty
    kHide,       // hidden where it is: outside the grid, or a cell with no area left
};

struct ButtonCell {
    CellPlacement placement = CellPlacement::kHide;
    bool inGrid = false;  // gets a face and a title: every cell of the rows x cols grid
    bool smallIcon = false;
    int x = 0;
    int y = 0;
    int width = 0;  // as divided; zero or below only for a cell that is hidden for lack of room
    int height = 0;
};

struct GridLayout {
    ButtonCell cells[kButtonCount];
};

// What the layout needs from outside: the client area, its resolution and which buttons are of the
// invisible type.
struct GridRequest {
    int clientWidth = 0;
    int clientHeight = 0;
    int dpi = kSpacingDpi;
    IconCellMin iconCellMin;
    bool invisible[kButtonCount] = {};
};

// Clamps rows and cols in options (the clamped values stay there) and places all 50 buttons. Each cell is
// the remaining length divided by the cells still to place, less the spacing (SpacingAt the request's
// dpi). A cell whose width or height comes out zero or below is hidden rather than given a size the
// window cannot have.
void ComputeGridLayout(AppOptions& options, const GridRequest& request, GridLayout& layout);
