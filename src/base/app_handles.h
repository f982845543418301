// The process's own handles, shared by every layer: the program instance, the button bar window and the
// help file beside the program.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr std::size_t kHelpFileSize = 260;

struct AppHandles {
    HINSTANCE appInstance = nullptr;
    HWND mainWindow = nullptr;  // the button bar; owner of the program's message boxes, null until it opens
    char helpFile[kHelpFileSize] = "";  // the program's own path with ".chm"
};

extern AppHandles g_app;
