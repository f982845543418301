// The main file and the recent lists.
#include "settings/main_file.h"

#include <shlobj.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "exec/expand_command.h"
#include "res/resource.h"
#include "settings/bounded_text.h"
#include "settings/recent_lists.h"
#include "settings/res_strings.h"
#include "settings/settings_file.h"

namespace {
// ShellDisplayName's result, valid until its next call.
struct ShellNameBuffer {
    SHFILEINFOA info;
};
ShellNameBuffer g_shellName;
}  // namespace

void PushRecent(const char* value, RecentList& list) {
    const bool files = &list == &g_settings.recentFiles;
    // Another instance may share the file: start from what it holds now, not from an old copy.
    if (files) {
        ReadRecentFiles();
    } else {
        ReadRecentList(list, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN);
    }
    PushRecentEntry(value, list, files ? &g_settings.recentPositions : nullptr);
    if (files) {
        WriteRecentFiles();
    } else {
        WriteRecentList(list, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN);
    }
}

const char* ShellDisplayName(const char* path) {
    g_shellName.info = {};
    if (!SHGetFileInfoA(path, 0, &g_shellName.info, sizeof g_shellName.info, SHGFI_DISPLAYNAME)) return path;
    return g_shellName.info.szDisplayName;
}

void AddToShellRecent() {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return;
    LPITEMIDLIST recent = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(g_app.mainWindow, CSIDL_RECENT, &recent)) || !recent) {
        allocator->Release();
        return;
    }
    char shortcut[MAX_PATH] = "";
    if (SHGetPathFromIDListA(recent, shortcut)) {
        AppendText(shortcut, "\\");
        AppendText(shortcut, ShellDisplayName(g_paths.mainFile));
        const bool whole = AppendText(shortcut, ".lnk");
        // A shortcut name too long to check is announced anyway: the shell keeps one entry per document.
        if (!whole || GetFileAttributesA(shortcut) == INVALID_FILE_ATTRIBUTES)
            SHAddToRecentDocs(SHARD_PATHA, g_paths.mainFile);
    }
    allocator->Free(recent);
    allocator->Release();
}

void MainFileChanged() {
    char caption[520];
    CopyText(caption, g_paths.mainFile);
    if (g_paths.mainFile[0] != '\0') {
        PushRecent(g_paths.mainFile, g_settings.recentFiles);
        AddToShellRecent();
        AppendText(caption, " - ");
    }
    bool expanded = false;
    if (g_settings.options.caption[0] != '\0') {
        char pattern[sizeof g_settings.options.caption];
        CopyText(pattern, FieldText(g_settings.options.caption));
        char result[520];
        // A cancelled query leaves the usual caption rather than a half-expanded pattern.
        if (ExpandPlaceholders(pattern, 1, result, sizeof result)) {
            CopyText(caption, result);
            expanded = true;
        }
    }
    if (!expanded) AppendText(caption, ResStr(IDS_PROGRAM_NAME));
    if (g_app.mainWindow) SetWindowTextA(g_app.mainWindow, caption);
}

void SaveWindowPlace(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    const WindowPlace place{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    WriteOptionInt(IDS_KEY_X, place.x);
    WriteOptionInt(IDS_KEY_Y, place.y);
    WriteOptionInt(IDS_KEY_WIDTH, place.width);
    WriteOptionInt(IDS_KEY_HEIGHT, place.height);

    if (g_paths.mainFile[0] == '\0') return;
    ReadRecentFiles();
    const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
    if (i < 0) return;
    FormatPosition(place, g_settings.recentPositions.entries[i]);
    WriteRecentFiles();
}

void RestoreWindowPlace(HWND window) {
    WindowPlace place{ReadOptionInt(IDS_KEY_X, 0), ReadOptionInt(IDS_KEY_Y, 0), ReadOptionInt(IDS_KEY_WIDTH, 0),
                      ReadOptionInt(IDS_KEY_HEIGHT, 0)};
    if (g_settings.options.saveFilePos && g_paths.mainFile[0] != '\0') {
        ReadRecentFiles();
        const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
        if (i >= 0) ParsePosition(FieldText(g_settings.recentPositions.entries[i]), place);
    }
    if (place.width != 0 && place.height != 0)
        SetWindowPos(window, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
}
