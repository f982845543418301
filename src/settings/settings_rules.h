// The settings store's rules that need no system call: what the file's values become, the recent lists'
// moves and window positions, the grid's bounds, where the default file lives and the open-file
// dialog's filter list; no windows.h.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/bounded_text.h"
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

// ---- Recent lists

// Moves value to the front of list (inserting it when absent, the tenth entry falling out), spelled
// as given. With positions, the paired positions move in step and the front takes the matched
// entry's position, or an empty one for a new value.
void PushRecentEntry(std::string_view value, RecentList& list, RecentList* positions);

// Index of the first entry equal to name (SameName), or -1.
int FindRecent(const RecentList& list, std::string_view name);

// A window rectangle as left, top, width, height.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// "%d,%d,%d,%d" of the place.
void FormatPosition(const WindowPlace& place, char (&text)[kPathSize]);
// Four decimal integers separated by commas, white space allowed before each number; false (and place
// unchanged) when fewer than four parse or a number does not fit an int.
bool ParsePosition(std::string_view text, WindowPlace& place);

// ---- The filter list of the open-file dialog: the user's "Filter1", "Filter2", ... pairs, then the defaults

// Room of the whole list, the final empty string included.
constexpr std::size_t kFilterListSize = 10240;

// NUL-terminated texts in pairs, a description and its patterns, ended by an empty string.
using FilterList = FixedText<kFilterListSize>;

// The room of one value: a value longer than its reader's room arrives cut.
constexpr std::size_t kFilterValueSize = 256;

// Where the values come from: the user's "Filter<n>" keys and the program's default texts.
class FilterValues {
public:
    virtual ~FilterValues() = default;
    // The user's value number n (1, 2, ...) in `value`; empty when the key is missing or empty.
    virtual void UserValue(int n, char (&value)[kFilterValueSize]) = 0;
    // The default text number k (0, 1, ...) in `value`; empty after the last one.
    virtual void DefaultValue(int k, char (&value)[kFilterValueSize]) = 0;
};

// Reads the user's values until the first empty one and builds the list: the user's pairs, then, when
// the user gave an even number of values, the default texts (read until their first empty one). An odd
// number of values ends the list after the last whole pair, without defaults. Pairs are entered whole
// or not at all: the first pair that would not fit, with room for the final empty string, ends the list
// and the reading.
FilterList BuildFilterList(FilterValues& values);
