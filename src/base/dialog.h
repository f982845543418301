// The one way Brisolt runs a dialog: a template, an explicit owner and the dialog's own data, with what
// every dialog does alike written once (the data kept with the window, OK and Cancel, the help).
#pragma once

#include <windows.h>

#include <cstddef>

#include "base/help.h"

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

// A dialog of the program is a struct derived from DialogBase, holding what goes in and out, with
//   static constexpr int kTemplate;         the template's id
//   static constexpr DWORD kHelpTopic;      the Help button's topic, with F1 and "What's this?" on its
//                                           controls; 0 for a dialog without help
//   BOOL OnInit(HWND dialog);               WM_INITDIALOG; FALSE when it has set the focus itself
//   bool OnOk(HWND dialog);                 OK or Enter; true when the dialog may end
// and, where it needs them, its own versions of the members below.
struct DialogBase {
    // Cancel, Escape or the close box; true when the dialog may end.
    bool OnCancel(HWND) { return true; }
    // Any other command.
    BOOL OnCommand(HWND, int /*id*/, int /*code*/) { return FALSE; }
    // Any other message.
    INT_PTR OnMessage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    // A message that comes before WM_INITDIALOG, while the dialog has no data yet.
    static INT_PTR BeforeInit(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
};

// The procedure of every such dialog: the missing-data guard, the help, OK and Cancel, then the
// dialog's own members. The dialog ends with IDOK or IDCANCEL.
template <typename Dialog>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* data = DialogData<Dialog>(dialog, message, lParam);
    if (data == nullptr) return Dialog::BeforeInit(dialog, message, wParam, lParam);
    if (Dialog::kHelpTopic != 0 && HandleDialogHelp(message, wParam, lParam, Dialog::kHelpTopic)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        return data->OnInit(dialog);
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            if (id == IDOK ? data->OnOk(dialog) : data->OnCancel(dialog)) EndDialog(dialog, id);
            return TRUE;
        }
        return data->OnCommand(dialog, id, HIWORD(wParam));
    }
    default:
        return data->OnMessage(dialog, message, wParam, lParam);
    }
}

// Runs a dialog of the program modally over `owner`; true when it ended with OK. A dialog that cannot be
// shown counts as cancelled.
template <typename Dialog>
bool RunModalDialog(HWND owner, Dialog& data) {
    return RunDialog(owner, Dialog::kTemplate, DialogProcedure<Dialog>, &data) == IDOK;
}

// The text of control `id` in a field of the caller's, cut to the field; empty when the control has none.
bool DialogItemText(HWND dialog, int id, char* field, std::size_t room);

template <std::size_t N>
inline bool DialogItemText(HWND dialog, int id, char (&field)[N]) {
    return DialogItemText(dialog, id, field, N);
}
