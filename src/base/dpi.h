// The screen's resolution as a window sees it, and the system's sizes at a given resolution.
#pragma once

#include <windows.h>

// The resolution at which the program's sizes in pixels are given as they are.
constexpr int kBaseDpi = 96;

// The resolution of the monitor a window is on when the system tells it per window, else the screen's.
int WindowDpi(HWND window);
// A system metric (SM_CXICON, SM_CXEDGE...) as it is at `dpi`.
int MetricForDpi(int index, int dpi);
