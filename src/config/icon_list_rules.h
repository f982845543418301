// The Select icon dialog's rules without windows.h: which file its list shows first, what counts as the
// button's own icon, the size of the list's items and the clean-up of a typed file name.
#pragma once

#include <string_view>

#include "settings/settings_records.h"

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
