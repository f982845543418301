// The button bar window.
#include "app/button_bar.h"

#include "app/app_state.h"

namespace {
INT_PTR OnSysCommand(HWND window, WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        EndDialog(window, 1);
        return TRUE;
    default:
        return FALSE;
    }
}
}  // namespace

INT_PTR CALLBACK ButtonBarProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        g_app.mainWindow = window;
        return TRUE;
    case WM_DESTROY:
        g_app.mainWindow = nullptr;
        return TRUE;
    case WM_COMMAND:
        // Enter and Escape arrive as commands 1 and 2: the bar is never closed by the keyboard.
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    default:
        return FALSE;
    }
}
