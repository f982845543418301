// The query dialog (template 104).
#include "exec/query_dialog.h"

#include "app/app_state.h"
#include "res/resource.h"
#include "settings/help.h"

namespace {

constexpr DWORD kQueryHelpTopic = 1004;

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
    auto* data = reinterpret_cast<QueryDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (HandleDialogHelp(message, wParam, lParam, kQueryHelpTopic)) return TRUE;
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        data = reinterpret_cast<QueryDialogData*>(lParam);
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
    const INT_PTR result = DialogBoxParamA(g_app.appInstance, MAKEINTRESOURCEA(IDD_QUERY), owner, QueryDialogProc,
                                           reinterpret_cast<LPARAM>(&data));
    return result == IDOK;
}
