// The hint window and the bar buttons' window procedure.
#include "app/hint_window.h"

#include "app/app_state.h"

LRESULT CALLBACK HintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK BarButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_app.systemButtonProc, button, message, wParam, lParam);
}
