// Choosing the main file and the default folder: the selection dialog and the system's pickers.
#include "settings/selection.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/ansi_file_name.h"
#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/help.h"
#include "base/messages.h"
#include "res/resource.h"
#include "settings/settings_rules.h"
#include "settings/settings_file.h"

namespace {

// The user's extra filters in "Options": keys of the user's own, read and never written, so the string
// table has no entry for them.
constexpr char kFilterKeyPattern[] = "Filter%d";

// The shell's allocator frees what the folder browser returns; it is obtained on the first browse and
// kept until the program ends.
struct ShellMemory {
    IMalloc* allocator = nullptr;
};
ShellMemory g_shellMemory;

IMalloc* ShellAllocator() {
    if (!g_shellMemory.allocator && FAILED(SHGetMalloc(&g_shellMemory.allocator))) g_shellMemory.allocator = nullptr;
    return g_shellMemory.allocator;
}

// The dialogs move the process's current folder to where the user looked, even when cancelled: a
// relative settings file or main file would then name another folder's file. It is put back.
class KeepCurrentFolder {
public:
    KeepCurrentFolder() {
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder_);
        known_ = length > 0 && length < MAX_PATH;
    }
    ~KeepCurrentFolder() {
        if (known_) SetCurrentDirectoryW(folder_);
    }
    KeepCurrentFolder(const KeepCurrentFolder&) = delete;
    KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
    wchar_t folder_[MAX_PATH] = L"";
    bool known_ = false;
};

// Text of the code page as wide text, for the dialogs; `length` counts the NULs of a list.
std::unique_ptr<wchar_t[]> Widen(const char* text, int length) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[size > 0 ? static_cast<std::size_t>(size) : 1]);
    if (wide) {
        wide[0] = L'\0';
        if (size > 0) MultiByteToWideChar(CP_ACP, 0, text, length, wide.get(), size);
    }
    return wide;
}

// A filter list's length: its pairs of texts and the final empty one, every NUL counted.
int ListLength(const char* list) {
    const char* end = list;
    while (*end != '\0') end += std::char_traits<char>::length(end) + 1;
    return static_cast<int>(end - list) + 1;
}

// "Filter<n>" of "Options", at most 255 characters; empty when missing.
std::string UserFilterValue(int n) {
    KeyName key;
    FormatText(key.text, kFilterKeyPattern, n);
    char value[kResTextSize] = "";
    GetPrivateProfileStringA(ResStr(IDS_SEC_OPTIONS).text, key.text, "", value, sizeof value, g_paths.settingsFile);
    return value;
}

// The string-table texts from firstId upward, until the first empty one.
std::vector<std::string> DefaultFilters(int firstId) {
    std::vector<std::string> texts;
    for (int id = firstId;; ++id) {
        const ResText text = ResStr(id);
        if (text.text[0] == '\0') return texts;
        texts.emplace_back(text.text);
    }
}

// The open-file dialog over the caller's buffer, in the record's older size without the fields added
// in Windows 2000. A chosen name the code page cannot write comes back in its short form; without one
// the user is told and the buffer keeps what it held.
bool RunOpenFileDialog(HWND owner, int titleId, const char* filter, const char* defaultExtension, DWORD flags,
                       char (&buffer)[kPathSize]) {
    wchar_t name[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, buffer, -1, name, MAX_PATH);
    name[MAX_PATH - 1] = L'\0';
    const std::unique_ptr<wchar_t[]> filters = Widen(filter, ListLength(filter));
    const ResText title = ResStr(titleId);
    const std::unique_ptr<wchar_t[]> wideTitle = Widen(title.text, -1);
    const std::unique_ptr<wchar_t[]> extension = defaultExtension ? Widen(defaultExtension, -1) : nullptr;
    OPENFILENAMEW record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = owner;
    record.lpstrFilter = filters.get();
    record.nFilterIndex = 1;
    record.lpstrFile = name;
    record.nMaxFile = MAX_PATH;
    record.lpstrTitle = wideTitle.get();
    record.lpstrDefExt = extension.get();
    record.Flags = flags;
    bool chosen = false;
    {
        const KeepCurrentFolder keep;
        chosen = GetOpenFileNameW(&record) != FALSE;
    }
    char taken[kPathSize];
    if (!chosen || !TakeWideFileName(name, taken)) return false;
    CopyText(buffer, FieldText(taken));
    return true;
}

}  // namespace

bool ChooseFile(HWND owner, char (&buffer)[kPathSize], FileKind kind) {
    const bool program = kind == FileKind::kProgram;
    const FilterList filters =
        BuildFilterList(UserFilterValue, DefaultFilters(program ? IDS_FILTER_PROGRAMS_FIRST : IDS_FILTER_MAIN_FIRST));
    return RunOpenFileDialog(owner, program ? IDS_SELECT_PROGRAM : IDS_SELECT_FILE, filters.text, nullptr,
                             OFN_EXPLORER | (program ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0), buffer);
}

bool ChooseFileWithFilter(HWND owner, int titleId, char (&buffer)[kPathSize], const char* filter,
                          const char* defaultExtension) {
    return RunOpenFileDialog(owner, titleId, filter, defaultExtension,
                             OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, buffer);
}

bool BrowseForFolder(HWND owner, char (&path)[kPathSize]) {
    const std::unique_ptr<wchar_t[]> title = Widen(ResStr(IDS_SELECT_FOLDER_TITLE).text, -1);
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.get();
    const KeepCurrentFolder keep;
    if (LPITEMIDLIST chosen = SHBrowseForFolderW(&info)) {
        // An item with no folder on disk (the computer, the network) gives no path: it counts as a
        // cancel, so its display name never stands in for a folder.
        wchar_t folder[MAX_PATH] = L"";
        char taken[kPathSize];
        if (SHGetPathFromIDListW(chosen, folder) && folder[0] != L'\0' && TakeWideFileName(folder, taken)) {
            CopyText(path, FieldText(taken));
        }
        if (IMalloc* allocator = ShellAllocator()) allocator->Free(chosen);
    }
    return path[0] != '\0';
}

namespace {


struct SelectionDialogData {
    SelectionMode mode;
    char (&value)[kPathSize];
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
void FillSelection(HWND dialog, SelectionMode mode, const char* text) {
    const RecentList* list = &g_settings.recentFolders;
    if (mode == SelectionMode::kMainFile) {
        ReadRecentFiles();
        list = &g_settings.recentFiles;
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
        FillSelection(dialog, data->mode, data->value);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            GetDlgItemTextA(dialog, IDC_SELECTION_COMBO, data->value, sizeof data->value);
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

bool RunSelectionDialog(HWND owner, SelectionMode mode, char (&value)[kPathSize]) {
    SelectionDialogData data{mode, value};
    return RunDialog(owner, IDD_SELECTION, SelectionDialogProc, &data) == 1;
}
