// The recent lists' moves and the window-position text of a recent file; no windows.h.
#pragma once

#include <string_view>

#include "settings/settings_records.h"

// Moves value to the front of list (inserting it when absent, the tenth entry falling out), spelled
// as given. With positions, the paired positions move in step and the front takes the matched
// entry's position, or an empty one for a new value.
void PushRecentEntry(std::string_view value, RecentList& list, RecentList* positions);

// Index of the first entry equal to name (SameName), or -1.
int FindRecent(const RecentList& list, std::string_view name);

// A window rectangle as left, top, width, height.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// "%d,%d,%d,%d" of the place.
void FormatPosition(const WindowPlace& place, char (&text)[kPathSize]);
// Four decimal integers separated by commas, white space allowed before each number; false (and place
// unchanged) when fewer than four parse or a number does not fit an int.
bool ParsePosition(std::string_view text, WindowPlace& place);
