// Reading and writing the settings file through the system's profile functions.
#include "settings/settings_file.h"

#include <windows.h>

#include <cstring>

#include "res/resource.h"
#include "base/handles.h"
#include "base/heap_array.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "settings/profile_section.h"
#include "settings/settings_rules.h"

SettingsStore g_settings;
PathStore g_paths;

namespace {

// A section's block is never longer than the file (a Unicode file gives fewer characters than bytes),
// so a room of the file's size takes any section in one call; small sections need little room.
constexpr DWORD kSmallestRoom = 1024;
constexpr DWORD kLastRoom = 16 * 1024 * 1024;

DWORD FirstRoom(const char* file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0) return kSmallestRoom;
    const DWORD room = data.nFileSizeLow + 2;
    return room < kSmallestRoom ? kSmallestRoom : (room > kLastRoom ? kLastRoom : room);
}

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

KeyName NumberedKey(const ResText& name, int number) {
    KeyName key;
    FormatText(key.text, "%s%d", name.text, number);
    return key;
}

// One section of the settings file read whole with one call, answering lookups as the profile
// functions would have answered them at that moment.
class StoredSection {
public:
    explicit StoredSection(int sectionId)
        : name_(ResStr(sectionId)), block_(ReadSectionBlock(name_.text, g_paths.settingsFile)),
          lookup_(block_.text()) {}
    StoredSection(const StoredSection&) = delete;
    StoredSection& operator=(const StoredSection&) = delete;

    // What GetPrivateProfileStringA with an empty default puts in a buffer of `size` bytes.
    void ReadText(std::string_view key, char* buffer, std::size_t size) const {
        std::string_view value;
        if (lookup_.Find(key, value)) value = ProfileStringValue(value, size);
        text::CopyInto(buffer, size, value);
    }
    template <std::size_t N>
    void ReadText(std::string_view key, char (&field)[N]) const {
        ReadText(key, field, N);
    }
    // What GetPrivateProfileIntA gives.
    int ReadInt(std::string_view key, int fallback) const {
        std::string_view value;
        return static_cast<int>(lookup_.Find(key, value) ? ProfileIntValue(value, fallback)
                                                         : static_cast<unsigned>(fallback));
    }
    // Writes key = value unless the section held exactly that when it was read: writing the same value
    // again leaves the file as it is.
    void Write(const char* key, const char* value) const {
        std::string_view stored;
        if (!lookup_.Find(key, stored) || stored != value) WriteValue(name_.text, key, value);
    }
    void WriteInt(const char* key, int value) const {
        char text[32];
        FormatText(text, "%d", value);
        Write(key, text);
    }
    // Write for a text that the file does without when it is empty: an empty value takes the key away,
    // when the section has it.
    void WriteOrDelete(const char* key, const char* value) const {
        if (value[0] != '\0') {
            Write(key, value);
        } else if (lookup_.Has(key)) {
            WriteValue(name_.text, key, nullptr);
        }
    }

private:
    ResText name_;
    SectionBlock block_;
    ProfileSection lookup_;  // views block_
};

// Key k of a recent list, from its pattern such as "File%d".
KeyName RecentKey(const ResText& pattern, int k) {
    KeyName key;
    FormatText(key.text, pattern.text, k);
    return key;
}

using RecentValues = char[kRecentCount][kPathSize];

void ReadRecentValues(const StoredSection& section, int keyPatternId, RecentValues& values) {
    const ResText pattern = ResStr(keyPatternId);
    for (int k = 0; k < kRecentCount; ++k) section.ReadText(RecentKey(pattern, k).text, values[k]);
}

void ToViews(const RecentValues& values, std::string_view (&views)[kRecentCount]) {
    for (int k = 0; k < kRecentCount; ++k) views[k] = FieldText(values[k]);
}

void ReadRecentListFrom(const StoredSection& section, RecentList& list, int keyPatternId) {
    static_assert(sizeof(RecentList) == sizeof(RecentValues));
    RecentValues values;
    ReadRecentValues(section, keyPatternId, values);
    std::string_view views[kRecentCount];
    ToViews(values, views);
    CompactRecentValues(list, views);
}

void ReadRecentFilesFrom(const StoredSection& files, const StoredSection& positions) {
    RecentValues fileValues;
    RecentValues positionValues;
    ReadRecentValues(files, IDS_KEY_FILE_PATTERN, fileValues);
    ReadRecentValues(positions, IDS_KEY_POS_PATTERN, positionValues);
    std::string_view fileViews[kRecentCount];
    std::string_view positionViews[kRecentCount];
    ToViews(fileValues, fileViews);
    ToViews(positionValues, positionViews);
    CompactRecentPairs(g_settings.recentFiles, g_settings.recentPositions, fileViews, positionViews);
}

// Writes the entries of list that differ from what `stored`, read just before, holds: the file ends as
// it would after writing every entry.
void WriteRecentAgainst(const StoredSection& stored, const RecentList& list, int keyPatternId) {
    const ResText pattern = ResStr(keyPatternId);
    for (int k = 0; k < kRecentCount; ++k) stored.Write(RecentKey(pattern, k).text, list.entries[k]);
}
// Reads the list from the file and lets `change` change it; when `change` says so, writes it back,
// comparing against that one reading: another instance's changes made before are kept.
template <typename Change>
void ChangeRecentList(RecentList& list, int sectionId, int keyPatternId, Change change) {
    const StoredSection stored(sectionId);
    ReadRecentListFrom(stored, list, keyPatternId);
    if (change()) WriteRecentAgainst(stored, list, keyPatternId);
}


// ChangeRecentList for recentFiles and recentPositions together.
template <typename Change>
void ChangeRecentFiles(Change change) {
    const StoredSection files(IDS_SEC_FILES);
    const StoredSection positions(IDS_SEC_POSITIONS);
    ReadRecentFilesFrom(files, positions);
    if (!change()) return;
    WriteRecentAgainst(files, g_settings.recentFiles, IDS_KEY_FILE_PATTERN);
    WriteRecentAgainst(positions, g_settings.recentPositions, IDS_KEY_POS_PATTERN);
}

}  // namespace

SectionBlock ReadSectionBlock(const char* section, const char* file) {
    // A bare name is the profile functions' file in the Windows folder, not one here: the first room may
    // then be too small, and the buffer grows.
    for (DWORD room = FirstRoom(file);; room = room < kLastRoom / 4 ? room * 4 : kLastRoom) {
        // Left unfilled, so only what the block takes is ever touched.
        SectionBlock block;
        block.bytes = HeapArray<char>(room);
        if (!block.bytes) return SectionBlock{};
        const DWORD length = GetPrivateProfileSectionA(section, block.bytes.get(), room, file);
        // A block that did not fit comes back cut, its length room - 2; one that only just fits does too.
        if (length + 2 < room || room >= kLastRoom) {
            block.length = length < room ? length : room;
            return block;
        }
    }
}

void WriteOptionString(int keyId, const char* value) {
    WriteValue(ResStr(IDS_SEC_OPTIONS).text, ResStr(keyId).text, value);
}

void ReadRecentList(RecentList& list, int sectionId, int keyPatternId) {
    ReadRecentListFrom(StoredSection(sectionId), list, keyPatternId);
}

void ReadRecentFiles() {
    ReadRecentFilesFrom(StoredSection(IDS_SEC_FILES), StoredSection(IDS_SEC_POSITIONS));
}

WindowPlace ReadWindowPlace() {
    const StoredSection options(IDS_SEC_OPTIONS);
    return {options.ReadInt(ResStr(IDS_KEY_X).text, 0), options.ReadInt(ResStr(IDS_KEY_Y).text, 0),
            options.ReadInt(ResStr(IDS_KEY_WIDTH).text, 0), options.ReadInt(ResStr(IDS_KEY_HEIGHT).text, 0)};
}

void WriteWindowPlace(const WindowPlace& place) {
    const StoredSection options(IDS_SEC_OPTIONS);
    options.WriteInt(ResStr(IDS_KEY_X).text, place.x);
    options.WriteInt(ResStr(IDS_KEY_Y).text, place.y);
    options.WriteInt(ResStr(IDS_KEY_WIDTH).text, place.width);
    options.WriteInt(ResStr(IDS_KEY_HEIGHT).text, place.height);
}

void ReadSettings() {
    const StoredSection optionsSection(IDS_SEC_OPTIONS);
    if (g_paths.mainFile[0] == '\0') {
        optionsSection.ReadText(ResStr(IDS_KEY_LAST_FILE).text, g_paths.mainFile);
        if (g_paths.mainFile[0] != '\0') optionsSection.ReadText(ResStr(IDS_KEY_LAST_DIR).text, g_paths.defaultFolder);
    }
    AppOptions& options = g_settings.options;
    optionsSection.ReadText(ResStr(IDS_KEY_CAPTION).text, options.caption);
    options.rows = optionsSection.ReadInt(ResStr(IDS_KEY_ROWS).text, 2);
    options.cols = optionsSection.ReadInt(ResStr(IDS_KEY_COLS).text, 8);
    options.space = optionsSection.ReadInt(ResStr(IDS_KEY_SPACE).text, 0);
    options.onTop = optionsSection.ReadInt(ResStr(IDS_KEY_ON_TOP).text, 0);
    options.saveFilePos = optionsSection.ReadInt(ResStr(IDS_KEY_SAVE_FILE_POS).text, 1);
    options.displayTips = optionsSection.ReadInt(ResStr(IDS_KEY_DISPLAY_TIPS).text, 1);

    const StoredSection buttons(IDS_SEC_BUTTONS);
    // The key names, loaded once for all 50 buttons.
    const ResText type = ResStr(IDS_KEY_TYPE), show = ResStr(IDS_KEY_SHOW), log = ResStr(IDS_KEY_LOG),
                  debug = ResStr(IDS_KEY_DEBUG), wait = ResStr(IDS_KEY_WAIT),
                  longNames = ResStr(IDS_KEY_USE_LONG_NAMES), useIcon = ResStr(IDS_KEY_USE_ICON),
                  iconNumber = ResStr(IDS_KEY_ICON_NUMBER), title = ResStr(IDS_KEY_TITLE),
                  command = ResStr(IDS_KEY_COMMAND), optionsKey = ResStr(IDS_KEY_OPTIONS),
                  directory = ResStr(IDS_KEY_DIRECTORY), tip = ResStr(IDS_KEY_TIP), icon = ResStr(IDS_KEY_ICON);
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonDef& def = g_settings.buttons[i];
        const int n = i + 1;
        def.type = LowByteSigned(static_cast<unsigned>(buttons.ReadInt(NumberedKey(type, n).text, 0)));
        def.show = LowByteSigned(static_cast<unsigned>(buttons.ReadInt(NumberedKey(show, n).text, 0)));
        def.log = LowByteSigned(static_cast<unsigned>(buttons.ReadInt(NumberedKey(log, n).text, 0)));
        def.editCommandLine = buttons.ReadInt(NumberedKey(debug, n).text, 0);
        def.wait = buttons.ReadInt(NumberedKey(wait, n).text, 0);
        def.useLongNames = buttons.ReadInt(NumberedKey(longNames, n).text, 0);
        def.useIcon = buttons.ReadInt(NumberedKey(useIcon, n).text, 0);
        def.iconNumber = buttons.ReadInt(NumberedKey(iconNumber, n).text, -1);
        buttons.ReadText(NumberedKey(title, n).text, def.title);
        buttons.ReadText(NumberedKey(command, n).text, def.command);
        // A quoted 258- or 259-character value comes through the reader with its quotes before they are
        // dropped, so it needs the room of the quoted form to arrive whole.
        char quoted[sizeof(QuotedOptions::text)];
        buttons.ReadText(NumberedKey(optionsKey, n).text, quoted);
        CopyText(def.options, FieldText(quoted));
        buttons.ReadText(NumberedKey(directory, n).text, def.directory);
        buttons.ReadText(NumberedKey(tip, n).text, def.tip);
        buttons.ReadText(NumberedKey(icon, n).text, def.iconFile);
    }

    ReadRecentFiles();
    ReadRecentList(g_settings.recentFolders, IDS_SEC_DIRECTORIES, IDS_KEY_DIRECTORY_PATTERN);
}

void WriteSettings() {
    const AppOptions& options = g_settings.options;
    const StoredSection optionsSection(IDS_SEC_OPTIONS);
    optionsSection.WriteInt(ResStr(IDS_KEY_ROWS).text, options.rows);
    optionsSection.WriteInt(ResStr(IDS_KEY_COLS).text, options.cols);
    optionsSection.WriteInt(ResStr(IDS_KEY_SPACE).text, options.space);
    optionsSection.WriteInt(ResStr(IDS_KEY_ON_TOP).text, options.onTop);
    optionsSection.WriteInt(ResStr(IDS_KEY_SAVE_FILE_POS).text, options.saveFilePos);
    optionsSection.WriteInt(ResStr(IDS_KEY_DISPLAY_TIPS).text, options.displayTips);

    const StoredSection buttons(IDS_SEC_BUTTONS);
    const ResText type = ResStr(IDS_KEY_TYPE), show = ResStr(IDS_KEY_SHOW), log = ResStr(IDS_KEY_LOG),
                  debug = ResStr(IDS_KEY_DEBUG), wait = ResStr(IDS_KEY_WAIT),
                  longNames = ResStr(IDS_KEY_USE_LONG_NAMES), useIcon = ResStr(IDS_KEY_USE_ICON),
                  iconNumber = ResStr(IDS_KEY_ICON_NUMBER), title = ResStr(IDS_KEY_TITLE),
                  command = ResStr(IDS_KEY_COMMAND), optionsKey = ResStr(IDS_KEY_OPTIONS),
                  directory = ResStr(IDS_KEY_DIRECTORY), tip = ResStr(IDS_KEY_TIP), icon = ResStr(IDS_KEY_ICON);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonDef& def = g_settings.buttons[i];
        const int n = i + 1;
        buttons.WriteInt(NumberedKey(type, n).text, def.type);
        buttons.WriteInt(NumberedKey(show, n).text, def.show);
        buttons.WriteInt(NumberedKey(log, n).text, def.log);
        buttons.WriteInt(NumberedKey(debug, n).text, def.editCommandLine);
        buttons.WriteInt(NumberedKey(wait, n).text, def.wait);
        buttons.WriteInt(NumberedKey(longNames, n).text, def.useLongNames);
        buttons.WriteInt(NumberedKey(useIcon, n).text, def.useIcon);
        buttons.WriteInt(NumberedKey(iconNumber, n).text, def.iconNumber);
        buttons.WriteOrDelete(NumberedKey(title, n).text, def.title);
        buttons.WriteOrDelete(NumberedKey(command, n).text, def.command);
        // Options that start and end with a quote keep them only inside another pair.
        const bool quote = def.options[0] != '\0' && def.useLongNames != 0;
        buttons.WriteOrDelete(NumberedKey(optionsKey, n).text, quote ? QuoteOptionsText(def.options).text : def.options);
        buttons.WriteOrDelete(NumberedKey(directory, n).text, def.directory);
        buttons.WriteOrDelete(NumberedKey(tip, n).text, def.tip);
        buttons.WriteOrDelete(NumberedKey(icon, n).text, def.iconFile);
    }
}

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
