// Process-wide state of the program's windows and threads (the Win32 side of the global records).
#pragma once

#include <windows.h>

struct AppState {
    HINSTANCE appInstance = nullptr;
    HWND mainWindow = nullptr;         // the button bar; owner of every dialog and message box
    WNDPROC systemButtonProc = nullptr;  // the system "Button" procedure behind the process-local class
    HWND hintWindow = nullptr;
    HWND tooltip = nullptr;
    int contextButton = 0;  // control id of the last right-clicked button minus 500
    POINT contextPoint = {0, 0};
    char hintText[256] = "";
    int startButton = 0;  // 0 opens the configuration dialog on the first button, n on button n - 1
    volatile LONG childCount = 0;  // children that watch threads are waiting for
};

extern AppState g_app;
