// The dialog that shows the program a run will start and lets the user edit its parameters.
#include "exec/edit_command_dialog.h"

#include "base/dialog.h"
#include "res/resource.h"
#include "base/help.h"

namespace {


INT_PTR CALLBACK EditCommandDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<EditCommandData>(dialog, message, lParam);
    if (HandleDialogHelp(message, wParam, lParam, IDH_EDIT_COMMAND)) return TRUE;
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextA(dialog, IDC_EDIT_COMMAND, data->command);
        HWND options = GetDlgItem(dialog, IDC_EDIT_OPTIONS);
        // The field takes no more than the options buffer can hold.
        SendMessageA(options, EM_LIMITTEXT, data->optionsRoom > 1 ? data->optionsRoom - 1 : 1, 0);
        SetWindowTextA(options, data->options);
        SendMessageA(options, EM_SETSEL, 0, -1);
        SetFocus(options);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (data && data->optionsRoom > 0) {
                const int room = data->optionsRoom > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(data->optionsRoom);
                if (GetDlgItemTextA(dialog, IDC_EDIT_OPTIONS, data->options, room) == 0) data->options[0] = '\0';
            }
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

bool RunEditCommandDialog(HWND owner, EditCommandData& data) {
    const INT_PTR result = RunDialog(owner, IDD_EDIT_COMMAND, EditCommandDialogProc, &data);
    return result == IDOK;
}
