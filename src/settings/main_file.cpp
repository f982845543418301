// The main file and the recent lists.
#include "settings/main_file.h"

#include <shlobj.h>
#include <shellapi.h>

#include "base/app_handles.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/recent_lists.h"
#include "settings/settings_file.h"

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

FixedText<kPathSize> ShellDisplayName(const char* path) {
    FixedText<kPathSize> name;
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_DISPLAYNAME)) {
        CopyText(name.text, FieldText(info.szDisplayName));
    } else {
        CopyText(name.text, path);
    }
    return name;
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
        AppendText(shortcut, ShellDisplayName(g_paths.mainFile).text);
        const bool whole = AppendText(shortcut, ".lnk");
        // A shortcut name too long to check is announced anyway: the shell keeps one entry per document.
        if (!whole || GetFileAttributesA(shortcut) == INVALID_FILE_ATTRIBUTES)
            SHAddToRecentDocs(SHARD_PATHA, g_paths.mainFile);
    }
    allocator->Free(recent);
    allocator->Release();
}

void MainFileChanged() {
    if (g_paths.mainFile[0] == '\0') return;
    PushRecent(g_paths.mainFile, g_settings.recentFiles);
    AddToShellRecent();
}
