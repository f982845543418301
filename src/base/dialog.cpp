// The one way Brisolt runs a dialog.
#include "base/dialog.h"

#include "base/handles.h"

INT_PTR RunDialog(HWND owner, int id, DLGPROC proc, void* data) {
    return DialogBoxParamA(g_app.appInstance, MAKEINTRESOURCEA(id), owner, proc, reinterpret_cast<LPARAM>(data));
}

bool DialogItemText(HWND dialog, int id, char* field, std::size_t room) {
    if (room == 0) return false;
    const int fits = room > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(room);
    if (GetDlgItemTextA(dialog, id, field, fits) == 0) field[0] = '\0';
    return field[0] != '\0';
}
