// The one way Brisolt runs a dialog: a template, an explicit owner and the dialog's own data.
#pragma once

#include <windows.h>

// Runs template `id` modally over `owner`; `data` arrives as the WM_INITDIALOG lParam. Returns what the
// procedure passed to EndDialog, or -1 when the dialog could not be created.
INT_PTR RunDialog(HWND owner, int id, DLGPROC proc, void* data);

// In a dialog procedure: keeps the data pointer in DWLP_USER at WM_INITDIALOG and returns it for every
// message after that (null before it).
template <typename Data>
Data* DialogData(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return reinterpret_cast<Data*>(lParam);
    }
    return reinterpret_cast<Data*>(GetWindowLongPtrA(dialog, DWLP_USER));
}
