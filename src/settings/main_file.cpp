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
    // Another instance may share the file: the change starts from what it holds now, not from an old copy.
    if (&list == &g_settings.recentFiles) {
        ChangeRecentFiles([&] {
            PushRecentEntry(value, list, &g_settings.recentPositions);
            return true;
        });
    } else {
        ChangeRecentList(list, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN,
                         [&] {
                             PushRecentEntry(value, list, nullptr);
                             return true;
                         });
    }
}

void SavePlace(const WindowPlace& place) {
    WriteWindowPlace(place);
    if (g_paths.mainFile[0] == '\0') return;
    ChangeRecentFiles([&] {
        const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
        if (i < 0) return false;
        FormatPosition(place, g_settings.recentPositions.entries[i]);
        return true;
    });
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
