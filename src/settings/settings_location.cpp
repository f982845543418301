// Where the default settings file lives.
#include "settings/settings_location.h"

#include <windows.h>
#include <shlobj.h>

#include "base/ansi_file_name.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "settings/settings_rules.h"

namespace {

// A wide path built from a folder and a name; empty when the folder is unknown or the path too long.
struct WidePath {
    wchar_t text[kPathSize] = L"";
};

WidePath Join(const wchar_t* folder, const wchar_t* name) {
    WidePath path;
    if (folder[0] == L'\0' || lstrlenW(folder) + 1 + lstrlenW(name) >= static_cast<int>(kPathSize)) return path;
    lstrcpyW(path.text, folder);
    lstrcatW(path.text, L"\\");
    lstrcatW(path.text, name);
    return path;
}

bool IsFile(const WidePath& path) {
    const DWORD attributes = path.text[0] != L'\0' ? GetFileAttributesW(path.text) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Asks the system whether a write would be allowed, without changing the file or leaving one behind.
bool CanWrite(const WidePath& path, bool exists) {
    if (path.text[0] == L'\0') return false;
    const HANDLE file = CreateFileW(path.text, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, exists ? OPEN_EXISTING : CREATE_NEW,
                                    exists ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// The user's own file made from the seed; the copy is the user's to change, whatever the seed's marks.
bool Seed(const WidePath& seed, const WidePath& own) {
    if (!CopyFileW(seed.text, own.text, TRUE)) return false;
    const DWORD attributes = GetFileAttributesW(own.text);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW(own.text, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    return true;
}

}  // namespace

SettingsFolders SystemSettingsFolders() {
    SettingsFolders folders;
    const DWORD length = GetModuleFileNameW(nullptr, folders.program, kPathSize);
    if (length == 0 || length >= kPathSize) folders.program[0] = L'\0';
    for (int i = lstrlenW(folders.program); i > 0; --i) {
        if (folders.program[i - 1] == L'\\') {
            folders.program[i - 1] = L'\0';
            break;
        }
    }
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folders.user)))
        folders.user[0] = L'\0';
    const UINT windows = GetWindowsDirectoryW(folders.windows, kPathSize);
    if (windows == 0 || windows >= kPathSize) folders.windows[0] = L'\0';
    return folders;
}

void SettleDefaultSettingsFile(char (&file)[kPathSize], const SettingsFolders& folders) {
    wchar_t name[kPathSize] = L"";
    if (MultiByteToWideChar(CP_ACP, 0, file, -1, name, kPathSize) == 0) return;
    const WidePath beside = Join(folders.program, name);
    const WidePath userFolder = Join(folders.user, L"Brisolt");
    const WidePath own = userFolder.text[0] != L'\0' ? Join(userFolder.text, name) : WidePath{};
    const WidePath windows = Join(folders.windows, name);

    SettingsFacts facts;
    char besideName[kPathSize] = "";
    // A portable file that no name of the code page reaches is as good as none.
    facts.besideProgram = IsFile(beside) && AnsiFileName(beside.text, besideName, sizeof besideName) != AnsiName::kNone;
    facts.besideProgramWritable = facts.besideProgram && CanWrite(beside, true);
    facts.user = IsFile(own);
    facts.windows = IsFile(windows);
    facts.windowsWritable = CanWrite(windows, facts.windows);
    const SettingsChoice choice = ChooseSettingsPlace(facts);

    switch (choice.use) {
    case SettingsPlace::kBesideProgram:
        CopyText(file, FieldText(besideName));
        return;
    case SettingsPlace::kUser:
        break;
    default:
        return;  // the bare name: the Windows folder's file
    }
    // Were the user's file made by a later save, it would hide the seed's buttons for good: without it,
    // this run reads the seed, its saves fail and are told, and the next start tries again.
    const auto readSeed = [&] {
        if (choice.seedFrom == SettingsPlace::kBesideProgram) CopyText(file, FieldText(besideName));
    };
    if (own.text[0] == L'\0') return readSeed();
    CreateDirectoryW(userFolder.text, nullptr);
    const WidePath& seed = choice.seedFrom == SettingsPlace::kBesideProgram ? beside : windows;
    if (choice.seedFrom != SettingsPlace::kNone && !Seed(seed, own)) return readSeed();
    char ownName[kPathSize];
    if (AnsiNewFileName(own.text, ownName, sizeof ownName) == AnsiName::kNone) {
        FileNameErrorBox(own.text);
        return readSeed();
    }
    CopyText(file, FieldText(ownName));
}
