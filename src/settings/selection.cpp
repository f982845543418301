// Choosing the main file and the default folder: the selection dialog and the system's pickers.
#include "settings/selection.h"

#include <commdlg.h>
#include <shlobj.h>


#include "base/ansi_file_name.h"
#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/heap_array.h"
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
HeapArray<wchar_t> Widen(const char* text, int length) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    HeapArray<wchar_t> wide(size > 0 ? static_cast<std::size_t>(size) : 1);
    if (wide) {
        wide[0] = L'\0';
        if (size > 0) MultiByteToWideChar(CP_ACP, 0, text, length, wide.get(), size);
    }
    return wide;
}

// A filter list's length: its pairs of texts and the final empty one, every NUL counted.
int ListLength(const char* list) {
    const char* end = list;
    while (*end != '\0') end += lstrlenA(end) + 1;
    return static_cast<int>(end - list) + 1;
}

// The user's "Filter<n>" of "Options", at most 255 characters, and the string table's defaults from
// `firstDefault` upward.
class DialogFilterValues : public FilterValues {
public:
    explicit DialogFilterValues(int firstDefault) : firstDefault_(firstDefault) {}
    void UserValue(int n, char (&value)[kFilterValueSize]) override {
        KeyName key;
        FormatText(key.text, kFilterKeyPattern, n);
        GetPrivateProfileStringA(ResStr(IDS_SEC_OPTIONS).text, key.text, "", value, sizeof value,
                                 g_paths.settingsFile);
    }
    void DefaultValue(int k, char (&value)[kFilterValueSize]) override {
        LoadResString(firstDefault_ + k, value);
    }

private:
    int firstDefault_;
};

// The open-file dialog over the caller's buffer, in the record's older size without the fields added
// in Windows 2000. A chosen name the code page cannot write comes back in its short form; without one
// the user is told and the buffer keeps what it held.
bool RunOpenFileDialog(HWND owner, int titleId, const char* filter, const char* defaultExtension, DWORD flags,
                       char (&buffer)[kPathSize]) {
    wchar_t name[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, buffer, -1, name, MAX_PATH);
    name[MAX_PATH - 1] = L'\0';
    const HeapArray<wchar_t> filters = Widen(filter, ListLength(filter));
    const ResText title = ResStr(titleId);
    const HeapArray<wchar_t> wideTitle = Widen(title.text, -1);
    const HeapArray<wchar_t> extension = defaultExtension ? Widen(defaultExtension, -1) : HeapArray<wchar_t>();
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
    DialogFilterValues values(program ? IDS_FILTER_PROGRAMS_FIRST : IDS_FILTER_MAIN_FIRST);
    const FilterList filters = BuildFilterList(values);
    return RunOpenFileDialog(owner, program ? IDS_SELECT_PROGRAM : IDS_SELECT_FILE, filters.text, nullptr,
                             OFN_EXPLORER | (program ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0), buffer);
}

bool ChooseFileWithFilter(HWND owner, int titleId, char (&buffer)[kPathSize], const char* filter,
                          const char* defaultExtension) {
    return RunOpenFileDialog(owner, titleId, filter, defaultExtension,
                             OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, buffer);
}

bool BrowseForFolder(HWND owner, char (&path)[kPathSize]) {
    const HeapArray<wchar_t> title = Widen(ResStr(IDS_SELECT_FOLDER_TITLE).text, -1);
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
    DialogItemText(dialog, IDC_SELECTION_COMBO, buffer);
    const bool chosen = mode == SelectionMode::kMainFile ? ChooseFile(dialog, buffer, FileKind::kMainFile)
                                                         : BrowseForFolder(dialog, buffer);
    if (chosen) SetDlgItemTextA(dialog, IDC_SELECTION_COMBO, buffer);
}

struct SelectionDialog : DialogBase {
    static constexpr int kTemplate = IDD_SELECTION;
    static constexpr DWORD kHelpTopic = IDH_SELECTION;
    SelectionMode mode = SelectionMode::kMainFile;
    char* value = nullptr;  // in: the text shown; out: the text as typed, after OK

    BOOL OnInit(HWND dialog) {
        FillSelection(dialog, mode, value);
        return TRUE;
    }
    bool OnOk(HWND dialog) {
        DialogItemText(dialog, IDC_SELECTION_COMBO, value, kPathSize);
        return true;
    }
    BOOL OnCommand(HWND dialog, int id, int code) {
        if (id != IDC_SELECTION_BROWSE || code != BN_CLICKED) return FALSE;
        BrowseSelection(dialog, mode);
        return TRUE;
    }
};

}  // namespace

bool RunSelectionDialog(HWND owner, SelectionMode mode, char (&value)[kPathSize]) {
    SelectionDialog selection;
    selection.mode = mode;
    selection.value = value;
    return RunModalDialog(owner, selection);
}
