// The configuration layer's rules that need no system call: which icons a button keeps, with their
// fallbacks, and where its face comes from; which record a row, a column or a position of the visible
// grid names, and the move of a button to another position; the Select icon dialog's list; no windows.h.
#pragma once

#include <string_view>

#include "settings/settings_records.h"

// ---- Button icons

// A button's two icons as the rules see them (HICON on Windows): both icons, or neither.
struct IconPair {
    void* large = nullptr;
    void* small = nullptr;
};

// The system operations the icon rules need; the Win32 shell implements them with the shell's calls.
class IconSystem {
public:
    virtual ~IconSystem() = default;
    virtual void ReleaseIcon(void* icon) = 0;
    // One large and one small icon of that index; a handle left 0 or 1 means none.
    virtual void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) = 0;
    // Writes the program that opens `command`'s file into `program`; true when one was found.
    virtual bool FindProgram(const char* command, char (&program)[kPathSize]) = 0;
};

// 0 and 1 both mean "no icon" in an icon handle.
bool IsIcon(const void* handle);

// Loads def's icons from its icon file; when that fails, from icon 0 of the program that opens its
// command (which then becomes its icon file), and failing that leaves it without an icon (iconNumber
// -1). Either iconNumber is then >= 0 and both icons come back, or iconNumber is -1 and neither does;
// the icons are the caller's.
IconPair LoadIconPair(ButtonDef& def, IconSystem& system);

enum class FaceSource {
    kOwnIcon,    // the button's own large or small icon
    kShellIcon,  // the icon the shell shows for the command's file
};

// Where the face of a button with these loaded icons comes from.
FaceSource ChooseFaceSource(const ButtonDef& def, const IconPair& icons);

// Whether two definitions load the same icons: the same icon file, number and command.
bool SameIcons(const ButtonDef& a, const ButtonDef& b);

// ---- The configuration dialog's cells

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
// whole, and the cursor follows the moved button. Returns the new cursor.
GridCursor MoveToPosition(ButtonDef (&buttons)[kButtonCount], AppOptions& options, const GridCursor& cursor,
                          int position);

// ---- The Select icon dialog's list

// The file whose icons a filling of the list shows, and the item to select there.
struct IconListSource {
    std::string_view name;  // points into the given name or into the ButtonDef
    int selection = 0;
};

// The given name, without its leading blanks, with selection 0 when there is one; else the button's icon
// file with its icon number (0 when it has none); else its command with 0.
IconListSource ChooseIconListSource(std::string_view given, const ButtonDef& def);

// The item selected after a filling: the wanted one when the list has it, else the first.
int StartItem(int selection, int count);

// Whether the button has an icon of its own, as the first filling finds it: a number of 0 or more, a
// file name and a file that holds icons.
bool HasOwnIcon(int iconNumber, std::string_view name, int iconCount);

// The list's items are square, one list row high; the icon sits in the middle of its item.
struct IconItemMetrics {
    int itemSize = 0;
    int xOffset = 0;
    int yOffset = 0;
};
IconItemMetrics MeasureIconItem(int listClientHeight, int iconWidth, int iconHeight);

// A typed file name without the blanks and control characters (codes 1 to 32) in front of it.
std::string_view SkipLeadingBlanks(std::string_view name);
