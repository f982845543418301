// The grid layout of the button bar: places, shows and hides the 50 bar buttons and applies "always on top".
#pragma once

#include "app/bar_rules.h"

// What the layout keeps between calls: the bar's resolution and the smallest cell that still shows a
// normal icon at it, measured by the first layout and again when the bar moves to another resolution.
struct LayoutMetrics {
    bool measured = false;
    int dpi = 0;
    IconCellMin iconCellMin;
};

extern LayoutMetrics g_layoutMetrics;

// Measures the layout's metrics at `dpi`, for a bar that has moved to a screen of that resolution.
void MeasureLayoutAt(int dpi);

// Fits the grid of bar buttons into the client area of g_app.mainWindow; rows and cols out of range are
// clamped in the options.
void LayoutButtons();
