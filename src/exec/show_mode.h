// How a button's show mode starts its program; no windows.h here.
#pragma once

// The wShowWindow value for a stored show mode: Normal 1, Minimized 2, Maximized 3, Invisible 0,
// Capture 1. A value outside 0..4 starts the program as Normal.
int ShowWindowForMode(int show);

// Whether the run captures the program's console output (show mode 4 only).
bool IsCaptureMode(int show);
