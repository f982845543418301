// Reading and writing the settings file through the system's profile functions. Reads of more than one
// key take the section whole in one call; writes of several keys leave out those whose value the file
// already holds.
#pragma once

#include <functional>
#include <string>

#include "base/bounded_text.h"
#include "settings/settings_rules.h"
#include "settings/settings_records.h"

// Room of a settings key name, such as "Icon number50".
constexpr std::size_t kKeyNameSize = 64;
using KeyName = FixedText<kKeyNameSize>;

// The block GetPrivateProfileSectionA gives for [section] of file: "key=value" entries each ended by a
// NUL. The buffer starts with the file's size and grows until the block fits, up to 16 MB; a section
// larger than that is read as far as it goes. Empty for a missing section or file.
std::string ReadSectionBlock(const char* section, const char* file);

// Reads the whole file into g_settings (and, when it is empty, the main file and default folder). The
// buttons' icons are the caller's to load afterwards.
void ReadSettings();
// Writes the grid options and all 50 buttons.
void WriteSettings();

// Key name of button `index` (0-based) for key string `keyId`, e.g. "Title1".
KeyName ButtonKey(int index, int keyId);
void ReadButtonString(int index, int keyId, char* buffer, int size);
// An empty value deletes the key.
void WriteButtonString(int index, int keyId, const char* value);
int WriteIniInt(const char* section, const char* key, int value, const char* file);

void ReadRecentList(RecentList& list, int sectionId, int keyPatternId);
// Every entry, empty ones as empty values; an entry the file already holds is left as it is.
void WriteRecentList(const RecentList& list, int sectionId, int keyPatternId);
// Reads the list from the file and lets `change` change it; when `change` says so, writes it back,
// comparing against that one reading: another instance's changes made before are kept.
void ChangeRecentList(RecentList& list, int sectionId, int keyPatternId, const std::function<bool()>& change);
// recentFiles and recentPositions, read together so that each position stays with its file.
void ReadRecentFiles();
// recentFiles, then recentPositions.
void WriteRecentFiles();
// ChangeRecentList for recentFiles and recentPositions together.
void ChangeRecentFiles(const std::function<bool()>& change);

// The bar's place: "X", "Y", "Width", "Height" of [Options], 0 for one that is missing.
WindowPlace ReadWindowPlace();
// Writes those of the four that differ from what the file holds.
void WriteWindowPlace(const WindowPlace& place);

// Reads an [Options] string of the settings file into a buffer of the caller's.
void ReadOptionString(int keyId, char* buffer, int size);
int ReadOptionInt(int keyId, int fallback);
void WriteOptionString(int keyId, const char* value);
void WriteOptionInt(int keyId, int value);
