// A press on a bar button, routed to what its type does.
#pragma once

#include <windows.h>

// Acts on button k's type; k outside 0..49 is ignored. `bar` owns every dialog it opens.
void ActivateButton(HWND bar, int k);
// The configuration dialog opened on button start - 1 (0: the first button), then a new layout.
void ConfigureFromButton(HWND bar, int start);
