// Picking files and folders through the system's standard dialogs.
#include "settings/file_selection.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "base/res_strings.h"
#include "res/resource.h"
#include "settings/filter_list.h"
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

// The open-file dialog over the caller's buffer; the record has the size of its older form, without the
// fields added in Windows 2000.
int RunOpenFileDialog(OPENFILENAMEA& record, char (&buffer)[kPathSize]) {
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.nFilterIndex = 1;
    record.lpstrFile = buffer;
    record.nMaxFile = static_cast<DWORD>(kPathSize);
    return GetOpenFileNameA(&record);
}

}  // namespace

int ChooseFile(HWND owner, char (&buffer)[kPathSize], int forPrograms) {
    const FilterList filters =
        BuildFilterList(UserFilterValue, DefaultFilters(forPrograms ? IDS_FILTER_PROGRAMS_FIRST : IDS_FILTER_MAIN_FIRST));
    const ResText title = ResStr(forPrograms ? IDS_SELECT_PROGRAM : IDS_SELECT_FILE);
    OPENFILENAMEA record = {};
    record.hwndOwner = owner;
    record.lpstrFilter = filters.text;
    record.lpstrTitle = title.text;
    record.Flags = OFN_EXPLORER | (forPrograms ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    return RunOpenFileDialog(record, buffer);
}

int ChooseFileWithFilter(HWND owner, int titleId, char (&buffer)[kPathSize], const char* filter,
                         const char* defaultExtension) {
    const ResText title = ResStr(titleId);
    OPENFILENAMEA record = {};
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    record.lpstrTitle = title.text;
    record.lpstrDefExt = defaultExtension;
    record.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return RunOpenFileDialog(record, buffer);
}

int BrowseForFolder(HWND owner, char (&path)[kPathSize]) {
    const ResText title = ResStr(IDS_SELECT_FOLDER_TITLE);
    char displayName[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.text;
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&info)) {
        // An item with no folder on disk (the computer, the network) gives no path: it counts as a
        // cancel, so its display name never stands in for a folder.
        char folder[MAX_PATH] = "";
        if (SHGetPathFromIDListA(chosen, folder) && folder[0] != '\0') CopyText(path, FieldText(folder));
        if (IMalloc* allocator = ShellAllocator()) allocator->Free(chosen);
    }
    return path[0] != '\0';
}
