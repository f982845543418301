// The About box.
#include "app/about_box.h"

#include <memory>

#include "base/handles.h"
#include "base/dialog.h"
#include "res/resource.h"
#include "base/bounded_text.h"

namespace {
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ShowProductVersion(dialog);
        return TRUE;
    case WM_COMMAND:
        // Only OK closes the box: Escape (IDCANCEL) leaves it open.
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
}  // namespace

void ShowProductVersion(HWND dialog) {
    char name[MAX_PATH] = "";
    GetModuleFileNameA(g_app.appInstance, name, sizeof name);
    name[sizeof name - 1] = '\0';
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(name, &handle);
    if (size == 0) return;
    std::unique_ptr<char[]> block(new char[size + 1]());
    if (!GetFileVersionInfoA(name, 0, size, block.get())) return;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.get(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return;
    char query[64];
    FormatText(query, "\\StringFileInfo\\%04X%04X\\%s", translations[0].language, translations[0].codePage,
               "ProductVersion");
    char* version = nullptr;
    if (VerQueryValueA(block.get(), query, reinterpret_cast<void**>(&version), &length) && version)
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version);
}

void RunAboutDialog(HWND owner) {
    RunDialog(owner, IDD_ABOUT, AboutDialogProc, nullptr);
}
