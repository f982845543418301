// Reading and writing the settings file through the system's profile functions.
#pragma once

#include "base/bounded_text.h"
#include "settings/settings_records.h"

// Room of a settings key name, such as "Icon number50".
constexpr std::size_t kKeyNameSize = 64;
using KeyName = FixedText<kKeyNameSize>;

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
void WriteRecentList(const RecentList& list, int sectionId, int keyPatternId);
// recentFiles and recentPositions, read together so that each position stays with its file.
void ReadRecentFiles();
// recentFiles, then recentPositions.
void WriteRecentFiles();

// Reads an [Options] string of the settings file into a buffer of the caller's.
void ReadOptionString(int keyId, char* buffer, int size);
int ReadOptionInt(int keyId, int fallback);
void WriteOptionString(int keyId, const char* value);
void WriteOptionInt(int keyId, int value);
