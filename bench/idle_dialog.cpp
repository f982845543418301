// The benchmark's baseline: a dialog that does nothing, with the button bar's DLL imports and manifest,
// so that a start-up measured against it shows only what the bar itself does.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

using AnyFunction = void (*)();

// One function of each DLL the bar imports, so that each loads at start as it does for the bar. None
// is called; reading the table keeps the imports in the program.
const volatile AnyFunction kImports[] = {
    reinterpret_cast<AnyFunction>(&InitCommonControls),   reinterpret_cast<AnyFunction>(&GetOpenFileNameA),
    reinterpret_cast<AnyFunction>(&CoTaskMemFree),        reinterpret_cast<AnyFunction>(&DragAcceptFiles),
    reinterpret_cast<AnyFunction>(&GetFileVersionInfoSizeA), reinterpret_cast<AnyFunction>(&GetStockObject),
};

INT_PTR CALLBACK IdleDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}
}  // namespace

// "buttons" on the command line picks the dialog with 50 labelled buttons.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    for (const volatile AnyFunction& function : kImports) {
        if (!function) return 1;
    }
    const int id = lstrcmpiA(commandLine, "buttons") == 0 ? 2 : 1;
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(id), nullptr, IdleDialogProc, 0));
}
