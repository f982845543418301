// The button bar at its screen's resolution, and its move to a screen of another one.
#pragma once

#include <windows.h>

#include "app/bar_state.h"

// Gives the opening bar its window icons at the sizes of its resolution and notes the buttons' font.
void SetUpBarDpi(HWND bar, BarState& state);
// The bar has come to a screen of `dpi`: font, window icons and button icons at that resolution, the
// window in the rectangle the system suggests, and the grid laid out again. While the bar opens it keeps
// its stored size.
void FollowDpi(HWND bar, BarState& state, int dpi, const RECT& suggested);
// Releases what SetUpBarDpi and FollowDpi made, when the bar is destroyed.
void ReleaseBarDpi(BarState& state);
