// The query dialog (template 104).
#include "exec/query_dialog.h"

#include "base/dialog.h"
#include "res/resource.h"
#include "base/help.h"

namespace {


std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

INT_PTR CALLBACK QueryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<QueryDialogData>(dialog, message, lParam);
    if (HandleDialogHelp(message, wParam, lParam, IDH_QUERY)) return TRUE;
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextA(dialog, IDC_QUERY_NAME, data->name.c_str());
        SetDlgItemTextA(dialog, IDC_QUERY_VALUE, data->value.c_str());
        HWND value = GetDlgItem(dialog, IDC_QUERY_VALUE);
        SendMessageA(value, EM_SETSEL, 0, -1);
        SetFocus(value);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (data) data->value = ControlText(dialog, IDC_QUERY_VALUE);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

bool RunQueryDialog(HWND owner, QueryDialogData& data) {
    const INT_PTR result = RunDialog(owner, IDD_QUERY, QueryDialogProc, &data);
    return result == IDOK;
}
