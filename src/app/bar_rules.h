// The button bar's rules that need no system call: where the grid's buttons go, what a hint looks like
// and where it shows, whether the bar may close at once, and moving its buttons in one batch; no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings_records.h"

// ---- The grid: the running division of the client area

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

// ---- The hint window's text and place

// Turns each two-character "\n" of a hint into a carriage return and line feed, in place.
void HintLineBreaks(char* text, std::size_t room);

struct HintPlace {
    int x;
    int y;
    int width;
    int height;
};

// The hint window's place for a click at (x, y): half a cursor below the click, sized to the text
// with its border and margin, and moved back so it ends at the screen's right and bottom edges.
HintPlace PlaceHint(int x, int y, int textWidth, int textHeight, int cursorHeight, int borderX, int borderY,
                    int screenWidth, int screenHeight);

// String id of the description of a button type, or 0 for a type that has none.
int TypeDescriptionId(int type);

// ---- Buttons run in turn

// Step `n` (from 0) of a list of button titles separated by "|", without the blanks around it; empty
// pieces are no steps. False when the list has fewer steps.
bool StepTitle(std::string_view list, int n, std::string_view& title);

enum class StepCheck {
    kFound,
    kNoButton,    // no button has the title
    kRunsInTurn,  // the button runs buttons in turn itself: sequences do not nest
};
// The button a step's title names: the first of the 50 whose title is the same, letter case aside.
StepCheck FindStepButton(const ButtonDef (&buttons)[kButtonCount], std::string_view title, int& index);

// ---- Closing

// The string id of the question for `children` watched children, or 0 when the bar closes at once.
int CloseQuestionId(long children);

// ---- Moving a group of windows in one deferred batch, with a fallback when the system refuses it

// One window's new place and the move's flags (SWP_ values).
struct WindowMove {
    void* window = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned flags = 0;
};

// The system's batch of moves; the Win32 shell implements it with the DeferWindowPos family.
class MoveSystem {
public:
    virtual ~MoveSystem() = default;
    virtual bool BeginBatch(std::size_t count) = 0;
    // False when the system refused the move; the batch is then gone with every move it held.
    virtual bool Defer(const WindowMove& move) = 0;
    virtual void EndBatch() = 0;
    virtual void MoveNow(const WindowMove& move) = 0;
};

// Makes all moves in one batch, so the parent repaints once; when the batch cannot be had or the system
// refuses any move of it, every move is made on its own instead, so no window stays where it was.
void ApplyMoves(const WindowMove* moves, std::size_t count, MoveSystem& system);
