// Reading and writing the settings file through the system's profile functions. Reads of more than one
// key take the section whole in one call; writes of several keys leave out those whose value the file
// already holds.
#pragma once

#include <string_view>

#include "base/bounded_text.h"
#include "base/heap_array.h"
#include "settings/settings_rules.h"
#include "settings/settings_records.h"

// Room of a settings key name, such as "Icon number50".
constexpr std::size_t kKeyNameSize = 64;
using KeyName = FixedText<kKeyNameSize>;

// The block GetPrivateProfileSectionA gives for [section] of file: "key=value" entries each ended by a
// NUL. The buffer starts with the file's size and grows until the block fits, up to 16 MB; a section
// larger than that is read as far as it goes. Empty for a missing section or file.
struct SectionBlock {
    HeapArray<char> bytes;
    std::size_t length = 0;
    std::string_view text() const { return std::string_view(bytes.get(), length); }
};
SectionBlock ReadSectionBlock(const char* section, const char* file);

// Reads the whole file into g_settings (and, when it is empty, the main file and default folder). The
// buttons' icons are the caller's to load afterwards.
void ReadSettings();
// Writes the grid options and all 50 buttons: each key whose value the file does not hold yet.
void WriteSettings();

// Reads a recent list from the file.
void ReadRecentList(RecentList& list, int sectionId, int keyPatternId);
// recentFiles and recentPositions, read together so that each position stays with its file.
void ReadRecentFiles();
// The bar's place: "X", "Y", "Width", "Height" of [Options], 0 for one that is missing.
WindowPlace ReadWindowPlace();
// Writes those of the four that differ from what the file holds.
void WriteWindowPlace(const WindowPlace& place);

// Writes an [Options] string of the settings file.
void WriteOptionString(int keyId, const char* value);

// Moves or inserts value at the front of recentFiles (with its position) or recentFolders, after
// re-reading that list from the settings file, and writes the changed list or lists back.
void PushRecent(const char* value, RecentList& list);
// The bar's place into "X", "Y", "Width", "Height" and, when the main file is among the recent files
// as the file holds them now, into its position entry. Only what the file does not hold yet is written.
void SavePlace(const WindowPlace& place);
