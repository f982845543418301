// Finds the visible top-level windows of this test or of a program it started.
#pragma once

#include <windows.h>

#include <functional>

// The first visible top-level window, of any process, that `match` accepts; null when there is none.
HWND FindTopLevel(const std::function<bool(HWND)>& match);
// A visible top-level window of process `processId` whose class and title match (null matches anything;
// the title is compared whole); null when there is none.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);
// The first visible top-level window of this process with exactly this title other than `except`, or null.
HWND FindOwnWindow(const char* title, HWND except = nullptr);
