// Reading and writing the settings file through the system's profile functions.
#include "settings/settings_file.h"

#include <windows.h>

#include <cstring>

#include "res/resource.h"
#include "base/app_handles.h"
#include "base/bounded_text.h"
#include "base/res_strings.h"
#include "settings/settings_rules.h"

SettingsStore g_settings;
PathStore g_paths;

namespace {

// A settings file that cannot be written is announced once, rather than losing changes unnoticed.
struct WriteFailure {
    char toldFor[kPathSize] = "";  // the file the user has been told about
};
WriteFailure g_writeFailure;

// The file as the profile functions see it: a bare name lives in the Windows folder.
FixedText<kPathSize> FullSettingsPath() {
    FixedText<kPathSize> path;
    if (std::strpbrk(g_paths.settingsFile, "\\/:") == nullptr) {
        const UINT length = GetWindowsDirectoryA(path.text, sizeof path.text);
        if (length == 0 || length >= sizeof path.text) path.text[0] = '\0';
        if (path.text[0] != '\0') AppendText(path.text, "\\");
    }
    AppendText(path.text, FieldText(g_paths.settingsFile));
    return path;
}

void TellWriteFailed() {
    if (SameName(FieldText(g_writeFailure.toldFor), FieldText(g_paths.settingsFile))) return;
    CopyText(g_writeFailure.toldFor, FieldText(g_paths.settingsFile));
    char text[kResTextSize + kPathSize];
    FormatText(text, ResStr(IDS_SETTINGS_NOT_SAVED).text, FullSettingsPath().text);
    MessageBoxA(g_app.mainWindow, text, ResStr(IDS_PROGRAM_NAME).text, MB_ICONWARNING | MB_OK);
}

// Every write of the settings file goes through here.
void WriteValue(const char* section, const char* key, const char* value) {
    if (!WritePrivateProfileStringA(section, key, value, g_paths.settingsFile)) TellWriteFailed();
}

void WriteIntValue(const char* section, const char* key, int value) {
    char text[32];
    FormatText(text, "%d", value);
    WriteValue(section, key, text);
}

template <std::size_t N>
void ReadButtonField(int index, int keyId, char (&field)[N]) {
    ReadButtonString(index, keyId, field, static_cast<int>(N));
}

int ReadButtonInt(int index, int keyId, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA(ResStr(IDS_SEC_BUTTONS).text, ButtonKey(index, keyId).text,
                                                   fallback, g_paths.settingsFile));
}

void WriteButtonInt(int index, int keyId, int value) {
    WriteIntValue(ResStr(IDS_SEC_BUTTONS).text, ButtonKey(index, keyId).text, value);
}

void ReadRecentValues(int sectionId, int keyPatternId, char (&values)[kRecentCount][kPathSize]) {
    const ResText section = ResStr(sectionId);
    const ResText pattern = ResStr(keyPatternId);
    for (int k = 0; k < kRecentCount; ++k) {
        KeyName key;
        FormatText(key.text, pattern.text, k);
        GetPrivateProfileStringA(section.text, key.text, "", values[k], kPathSize, g_paths.settingsFile);
    }
}

void ToViews(const char (&values)[kRecentCount][kPathSize], std::string_view (&views)[kRecentCount]) {
    for (int k = 0; k < kRecentCount; ++k) views[k] = FieldText(values[k]);
}
}  // namespace

KeyName ButtonKey(int index, int keyId) {
    KeyName key;
    FormatText(key.text, "%s%d", ResStr(keyId).text, index + 1);
    return key;
}

void ReadButtonString(int index, int keyId, char* buffer, int size) {
    GetPrivateProfileStringA(ResStr(IDS_SEC_BUTTONS).text, ButtonKey(index, keyId).text, "", buffer,
                             static_cast<DWORD>(size), g_paths.settingsFile);
}

void WriteButtonString(int index, int keyId, const char* value) {
    WriteValue(ResStr(IDS_SEC_BUTTONS).text, ButtonKey(index, keyId).text, value[0] ? value : nullptr);
}

int WriteIniInt(const char* section, const char* key, int value, const char* file) {
    char text[32];
    FormatText(text, "%d", value);
    return WritePrivateProfileStringA(section, key, text, file);
}

void ReadOptionString(int keyId, char* buffer, int size) {
    GetPrivateProfileStringA(ResStr(IDS_SEC_OPTIONS).text, ResStr(keyId).text, "", buffer, static_cast<DWORD>(size),
                             g_paths.settingsFile);
}

int ReadOptionInt(int keyId, int fallback) {
    return static_cast<int>(
        GetPrivateProfileIntA(ResStr(IDS_SEC_OPTIONS).text, ResStr(keyId).text, fallback, g_paths.settingsFile));
}

void WriteOptionString(int keyId, const char* value) {
    WriteValue(ResStr(IDS_SEC_OPTIONS).text, ResStr(keyId).text, value);
}

void WriteOptionInt(int keyId, int value) {
    WriteIntValue(ResStr(IDS_SEC_OPTIONS).text, ResStr(keyId).text, value);
}

void ReadRecentList(RecentList& list, int sectionId, int keyPatternId) {
    static_assert(sizeof(RecentList) == sizeof(char[kRecentCount][kPathSize]));
    char values[kRecentCount][kPathSize];
    ReadRecentValues(sectionId, keyPatternId, values);
    std::string_view views[kRecentCount];
    ToViews(values, views);
    CompactRecentValues(list, views);
}

void WriteRecentList(const RecentList& list, int sectionId, int keyPatternId) {
    const ResText section = ResStr(sectionId);
    const ResText pattern = ResStr(keyPatternId);
    for (int k = 0; k < kRecentCount; ++k) {
        KeyName key;
        FormatText(key.text, pattern.text, k);
        WriteValue(section.text, key.text, list.entries[k]);
    }
}

void ReadRecentFiles() {
    char files[kRecentCount][kPathSize];
    char positions[kRecentCount][kPathSize];
    ReadRecentValues(IDS_SEC_FILES, IDS_KEY_FILE_PATTERN, files);
    ReadRecentValues(IDS_SEC_POSITIONS, IDS_KEY_POS_PATTERN, positions);
    std::string_view fileViews[kRecentCount];
    std::string_view positionViews[kRecentCount];
    ToViews(files, fileViews);
    ToViews(positions, positionViews);
    CompactRecentPairs(g_settings.recentFiles, g_settings.recentPositions, fileViews, positionViews);
}

void WriteRecentFiles() {
    WriteRecentList(g_settings.recentFiles, IDS_SEC_FILES, IDS_KEY_FILE_PATTERN);
    WriteRecentList(g_settings.recentPositions, IDS_SEC_POSITIONS, IDS_KEY_POS_PATTERN);
}

void ReadSettings() {
    if (g_paths.mainFile[0] == '\0') {
        ReadOptionString(IDS_KEY_LAST_FILE, g_paths.mainFile, sizeof g_paths.mainFile);
        if (g_paths.mainFile[0] != '\0')
            ReadOptionString(IDS_KEY_LAST_DIR, g_paths.defaultFolder, sizeof g_paths.defaultFolder);
    }
    AppOptions& options = g_settings.options;
    ReadOptionString(IDS_KEY_CAPTION, options.caption, sizeof options.caption);
    options.rows = ReadOptionInt(IDS_KEY_ROWS, 2);
    options.cols = ReadOptionInt(IDS_KEY_COLS, 8);
    options.space = ReadOptionInt(IDS_KEY_SPACE, 0);
    options.onTop = ReadOptionInt(IDS_KEY_ON_TOP, 0);
    options.saveFilePos = ReadOptionInt(IDS_KEY_SAVE_FILE_POS, 1);
    options.displayTips = ReadOptionInt(IDS_KEY_DISPLAY_TIPS, 1);

    for (int i = 0; i < kButtonCount; ++i) {
        ButtonDef& def = g_settings.buttons[i];
        def.type = LowByteSigned(static_cast<unsigned>(ReadButtonInt(i, IDS_KEY_TYPE, 0)));
        def.show = LowByteSigned(static_cast<unsigned>(ReadButtonInt(i, IDS_KEY_SHOW, 0)));
        def.log = LowByteSigned(static_cast<unsigned>(ReadButtonInt(i, IDS_KEY_LOG, 0)));
        def.editCommandLine = ReadButtonInt(i, IDS_KEY_DEBUG, 0);
        def.wait = ReadButtonInt(i, IDS_KEY_WAIT, 0);
        def.useLongNames = ReadButtonInt(i, IDS_KEY_USE_LONG_NAMES, 0);
        def.useIcon = ReadButtonInt(i, IDS_KEY_USE_ICON, 0);
        def.iconNumber = ReadButtonInt(i, IDS_KEY_ICON_NUMBER, -1);
        ReadButtonField(i, IDS_KEY_TITLE, def.title);
        ReadButtonField(i, IDS_KEY_COMMAND, def.command);
        // A quoted 258- or 259-character value comes through the reader with its quotes before they are
        // dropped, so it needs the room of the quoted form to arrive whole.
        char options[sizeof(QuotedOptions::text)];
        ReadButtonField(i, IDS_KEY_OPTIONS, options);
        CopyText(def.options, FieldText(options));
        ReadButtonField(i, IDS_KEY_DIRECTORY, def.directory);
        ReadButtonField(i, IDS_KEY_TIP, def.tip);
        ReadButtonField(i, IDS_KEY_ICON, def.iconFile);
    }

    ReadRecentFiles();
    ReadRecentList(g_settings.recentFolders, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN);
}

void WriteSettings() {
    const AppOptions& options = g_settings.options;
    WriteOptionInt(IDS_KEY_ROWS, options.rows);
    WriteOptionInt(IDS_KEY_COLS, options.cols);
    WriteOptionInt(IDS_KEY_SPACE, options.space);
    WriteOptionInt(IDS_KEY_ON_TOP, options.onTop);
    WriteOptionInt(IDS_KEY_SAVE_FILE_POS, options.saveFilePos);
    WriteOptionInt(IDS_KEY_DISPLAY_TIPS, options.displayTips);

    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonDef& def = g_settings.buttons[i];
        WriteButtonInt(i, IDS_KEY_TYPE, def.type);
        WriteButtonInt(i, IDS_KEY_SHOW, def.show);
        WriteButtonInt(i, IDS_KEY_LOG, def.log);
        WriteButtonInt(i, IDS_KEY_DEBUG, def.editCommandLine);
        WriteButtonInt(i, IDS_KEY_WAIT, def.wait);
        WriteButtonInt(i, IDS_KEY_USE_LONG_NAMES, def.useLongNames);
        WriteButtonInt(i, IDS_KEY_USE_ICON, def.useIcon);
        WriteButtonInt(i, IDS_KEY_ICON_NUMBER, def.iconNumber);
        WriteButtonString(i, IDS_KEY_TITLE, def.title);
        WriteButtonString(i, IDS_KEY_COMMAND, def.command);
        const bool quote = def.options[0] != '\0' && def.useLongNames != 0;
        WriteButtonString(i, IDS_KEY_OPTIONS, quote ? QuoteOptionsText(def.options).text : def.options);
        WriteButtonString(i, IDS_KEY_DIRECTORY, def.directory);
        WriteButtonString(i, IDS_KEY_TIP, def.tip);
        WriteButtonString(i, IDS_KEY_ICON, def.iconFile);
    }
}
