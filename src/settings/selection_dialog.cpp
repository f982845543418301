// The selection dialog (template 102).
#include "settings/selection_dialog.h"

#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/help.h"
#include "base/res_strings.h"
#include "res/resource.h"
#include "settings/file_selection.h"
#include "settings/main_file.h"
#include "settings/settings_file.h"

namespace {

struct SelectionDialogData {
    SelectionMode mode;
};

// The list opens wide enough for its longest entry, up to the screen's width, so that long paths that
// differ only at their end can be told apart.
void WidenDropDown(HWND combo, const RecentList& list) {
    HDC dc = GetDC(combo);
    if (!dc) return;
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const auto& entry : list.entries) {
        SIZE size = {};
        const std::string_view text = FieldText(entry);
        if (GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size) && size.cx > widest)
            widest = size.cx;
    }
    SelectObject(dc, previous);
    ReleaseDC(combo, dc);
    const LONG width = widest + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    const LONG screen = GetSystemMetrics(SM_CXSCREEN);
    SendMessageA(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width < screen ? width : screen), 0);
}

// The field the dialog edits and the recent list it offers, both re-read from the file first: another
// instance may have changed the list.
void FillSelection(HWND dialog, SelectionMode mode) {
    const RecentList* list = &g_settings.recentFolders;
    const char* text = g_paths.defaultFolder;
    if (mode == SelectionMode::kMainFile) {
        ReadRecentFiles();
        list = &g_settings.recentFiles;
        text = g_paths.mainFile;
        SetWindowTextA(dialog, ResStr(IDS_MAIN_FILE_TITLE).text);
    } else {
        ReadRecentList(g_settings.recentFolders, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN);
    }
    HWND combo = GetDlgItem(dialog, IDC_SELECTION_COMBO);
    // Typing stops where the field ends.
    SendMessageA(combo, CB_LIMITTEXT, kPathSize - 1, 0);
    SetWindowTextA(combo, text);
    for (const auto& entry : list->entries) {
        if (entry[0] != '\0') SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    WidenDropDown(combo, *list);
}

// OK: the text as typed, not looked for on disk and possibly empty, becomes the main file or the
// default folder.
void TakeSelection(HWND dialog, SelectionMode mode) {
    if (mode == SelectionMode::kMainFile) {
        GetDlgItemTextA(dialog, IDC_SELECTION_COMBO, g_paths.mainFile, sizeof g_paths.mainFile);
        MainFileChanged();
    } else {
        GetDlgItemTextA(dialog, IDC_SELECTION_COMBO, g_paths.defaultFolder, sizeof g_paths.defaultFolder);
        PushRecent(g_paths.defaultFolder, g_settings.recentFolders);
    }
}

// Browse: the picker starts from the field's text and, when something was chosen, puts it there.
void BrowseSelection(HWND dialog, SelectionMode mode) {
    char buffer[kPathSize] = "";
    GetDlgItemTextA(dialog, IDC_SELECTION_COMBO, buffer, sizeof buffer);
    const bool chosen = mode == SelectionMode::kMainFile ? ChooseFile(dialog, buffer, FileKind::kMainFile)
                                                         : BrowseForFolder(dialog, buffer);
    if (chosen) SetDlgItemTextA(dialog, IDC_SELECTION_COMBO, buffer);
}

INT_PTR CALLBACK SelectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<SelectionDialogData>(dialog, message, lParam);
    if (!data) return FALSE;  // messages before WM_INITDIALOG
    if (HandleDialogHelp(message, wParam, lParam, IDH_SELECTION)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        FillSelection(dialog, data->mode);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            TakeSelection(dialog, data->mode);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_SELECTION_BROWSE:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            BrowseSelection(dialog, data->mode);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

bool RunSelectionDialog(HWND owner, SelectionMode mode) {
    SelectionDialogData data{mode};
    return RunDialog(owner, IDD_SELECTION, SelectionDialogProc, &data) == 1;
}
