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

// Equality of two file or folder names: letters a..z taken as A..Z, everything else exact.
bool SameName(std::string_view a, std::string_view b);
