// Where the default settings file lives.
#include "settings/settings_location.h"

#include <windows.h>
#include <shlobj.h>

#include "base/bounded_text.h"

namespace {

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Asks the system whether a write would be allowed, without changing the file or leaving one behind.
bool CanWrite(const char* path, bool exists) {
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, exists ? OPEN_EXISTING : CREATE_NEW,
                                    exists ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

void SettleDefaultSettingsFile(char (&file)[kPathSize]) {
    char windowsFile[kPathSize] = "";
    const UINT length = GetWindowsDirectoryA(windowsFile, sizeof windowsFile);
    if (length == 0 || length >= sizeof windowsFile) return;
    AppendText(windowsFile, "\\");
    if (!AppendText(windowsFile, FieldText(file))) return;

    char userFile[kPathSize] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, userFile)))
        return;
    AppendText(userFile, "\\Brisolt");
    char folder[kPathSize];
    CopyText(folder, FieldText(userFile));
    AppendText(userFile, "\\");
    if (!AppendText(userFile, FieldText(file))) return;

    const bool windowsExists = Exists(windowsFile);
    if (CanWrite(windowsFile, windowsExists)) return;
    CreateDirectoryA(folder, nullptr);
    // Only the first time: the user's own file, once made, is the one that is kept up to date.
    if (windowsExists && !Exists(userFile)) CopyFileA(windowsFile, userFile, TRUE);
    CopyText(file, FieldText(userFile));
}
