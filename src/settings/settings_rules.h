// Rules of the settings file that need no system call: value truncation, quoting, list compaction, grid bounds.
#pragma once

#include <string_view>

#include "settings/settings_records.h"

// "Type", "Show" and "Log" keep only the low 8 bits of what the file says, read as a signed value.
signed char LowByteSigned(unsigned int value);

// A stored "Options" value that keeps its outer quotes when read back: the profile reader drops one
// pair of quotes. The buffer holds a whole 259-character value with its two quotes.
struct QuotedOptions {
    char text[262];
};
QuotedOptions QuoteOptionsText(std::string_view value);

// Compaction of a recent list on reading: the non-empty values move up in order and the entries after
// them are emptied, so nothing stale from memory survives a change made to the file from outside.
// values[k] is what key k gave (empty when missing).
void CompactRecentValues(RecentList& list, const std::string_view (&values)[kRecentCount]);

// The same for the recent files and their positions, compacted as pairs on the files' values, so a
// position always stays with its file even when a position ahead of it is empty.
void CompactRecentPairs(RecentList& files, RecentList& positions, const std::string_view (&fileValues)[kRecentCount],
                        const std::string_view (&positionValues)[kRecentCount]);

// rows into 1..5, cols into 1..10.
void ClampGrid(AppOptions& options);

// Where the default settings file lives, from what the places hold. In this order: a file beside the
// program (a portable set-up), or when that folder may not be written the user's own file seeded from
// it; the user's own file once it exists; the Windows folder's file when it may be written; else the
// user's own file, seeded from the Windows folder's.
enum class SettingsPlace { kNone, kBesideProgram, kUser, kWindows };
struct SettingsFacts {
    bool besideProgram = false;
    bool besideProgramWritable = false;
    bool user = false;
    bool windows = false;
    bool windowsWritable = false;
};
struct SettingsChoice {
    SettingsPlace use = SettingsPlace::kWindows;
    SettingsPlace seedFrom = SettingsPlace::kNone;  // the file the user's own is made from, the first time
};
SettingsChoice ChooseSettingsPlace(const SettingsFacts& facts);

// Equality of two file or folder names: letters a..z taken as A..Z, everything else exact.
bool SameName(std::string_view a, std::string_view b);
