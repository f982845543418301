// The one way Brisolt runs a dialog.
#include "base/dialog.h"

#include "base/handles.h"

INT_PTR RunDialog(HWND owner, int id, DLGPROC proc, void* data) {
    return DialogBoxParamA(g_app.appInstance, MAKEINTRESOURCEA(id), owner, proc, reinterpret_cast<LPARAM>(data));
}
