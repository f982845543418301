// The grid layout of the button bar: places, shows and hides the 50 bar buttons and applies "always on top".
#pragma once

#include "app/grid_layout.h"

// What the layout keeps between calls: the smallest cell that still shows a normal icon, measured once.
struct LayoutMetrics {
    bool measured = false;
    IconCellMin iconCellMin;
};

extern LayoutMetrics g_layoutMetrics;

// Fits the grid of bar buttons into the client area of g_app.mainWindow; rows and cols out of range are
// clamped in the options.
void LayoutButtons();
