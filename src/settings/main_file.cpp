// The main file and the default folder, and telling the shell of a main file.
#include "settings/main_file.h"

#include <shlobj.h>
#include <shellapi.h>

#include "base/handles.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/settings_rules.h"
#include "settings/settings_file.h"

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

void AddToShellRecent(const char* path) {
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
        AppendText(shortcut, ShellDisplayName(path).text);
        const bool whole = AppendText(shortcut, ".lnk");
        // A shortcut name too long to check is announced anyway: the shell keeps one entry per document.
        if (!whole || GetFileAttributesA(shortcut) == INVALID_FILE_ATTRIBUTES) SHAddToRecentDocs(SHARD_PATHA, path);
    }
    allocator->Free(recent);
    allocator->Release();
}

namespace {
// The file the shell is still to hear of, told once the bar has had a moment to settle.
struct ShellRecentTask {
    char path[kPathSize] = "";  // empty when there is none
};
ShellRecentTask g_shellRecent;

// The bar's timer for the task: an id no other timer of the bar has ("SH" for the shell). The delay lets
// the bar show first; the shell needs a moment longer than that to load the first time anyway.
constexpr UINT_PTR kShellRecentTimer = 0x5348;
constexpr UINT kShellRecentDelayMs = 200;

void CALLBACK TellShellRecent(HWND, UINT, UINT_PTR, DWORD) {
    FinishShellRecent();
}
}  // namespace

void AddToShellRecentLater(const char* path) {
    FinishShellRecent();
    CopyText(g_shellRecent.path, path);
    if (g_app.mainWindow == nullptr ||
        SetTimer(g_app.mainWindow, kShellRecentTimer, kShellRecentDelayMs, TellShellRecent) == 0) {
        FinishShellRecent();
    }
}

void FinishShellRecent() {
    if (g_app.mainWindow != nullptr) KillTimer(g_app.mainWindow, kShellRecentTimer);
    if (g_shellRecent.path[0] == '\0') return;
    char path[kPathSize];
    CopyText(path, FieldText(g_shellRecent.path));
    g_shellRecent.path[0] = '\0';
    AddToShellRecent(path);
}

void TakeMainFile(std::string_view name) {
    CopyText(g_paths.mainFile, name);
    if (g_paths.mainFile[0] == '\0') return;
    PushRecent(g_paths.mainFile, g_settings.recentFiles);
    AddToShellRecentLater(g_paths.mainFile);
}

void TakeDefaultFolder(std::string_view folder) {
    CopyText(g_paths.defaultFolder, folder);
    PushRecent(g_paths.defaultFolder, g_settings.recentFolders);
}
