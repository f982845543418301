// Fuzzes the settings store's rules: the low byte of a number, the quoting of options, the compaction of
// the recent lists, the grid bounds and the comparison of names; the recent lists' moves and the
// position text; and the open-file dialog's filter list with any user values and defaults.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "fuzz_input.h"
#include "settings/settings_rules.h"

namespace settings_rules_case {
namespace {

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

// The non-empty values in order, cut to the field, then empty entries.
void CheckCompacted(const RecentList& list, const std::vector<std::string_view>& values) {
    int k = 0;
    for (const std::string_view value : values) {
        if (value.empty()) continue;
        FUZZ_CHECK(FieldText(list.entries[k]) == UpToNul(value.substr(0, kPathSize - 1)));
        ++k;
    }
    for (; k < kRecentCount; ++k) FUZZ_CHECK(list.entries[k][0] == '\0');
}

}  // namespace

int FuzzSettingsRules(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    const auto number = static_cast<unsigned int>(input.Int());
    const signed char low = LowByteSigned(number);
    FUZZ_CHECK(static_cast<unsigned char>(low) == (number & 0xFFu));

    AppOptions options;
    options.rows = input.Int();
    options.cols = input.Int();
    const AppOptions given = options;
    ClampGrid(options);
    FUZZ_CHECK(options.rows >= 1 && options.rows <= kMaxRows && options.cols >= 1 && options.cols <= kMaxCols);
    if (given.rows >= 1 && given.rows <= kMaxRows) FUZZ_CHECK(options.rows == given.rows);
    if (given.cols >= 1 && given.cols <= kMaxCols) FUZZ_CHECK(options.cols == given.cols);

    // The quotes always close around what the options field can hold.
    const std::string value = input.Value();
    const QuotedOptions quoted = QuoteOptionsText(value);
    FUZZ_CHECK(Terminated(quoted.text, sizeof quoted.text));
    const std::string_view quotedText = FieldText(quoted.text);
    FUZZ_CHECK(quotedText.size() >= 2 && quotedText.front() == '"' && quotedText.back() == '"');
    FUZZ_CHECK(quotedText.substr(1, quotedText.size() - 2) == UpToNul(std::string_view(value).substr(0, 259)));

    // Names: equal exactly when equal with a..z taken as A..Z.
    const std::string a = input.Value();
    const std::string b = input.Value();
    FUZZ_CHECK(SameName(a, b) == (UpperAscii(a) == UpperAscii(b)));
    FUZZ_CHECK(SameName(a, b) == SameName(b, a));
    FUZZ_CHECK(SameName(a, a) && SameName(a, UpperAscii(a)));

    // Ten values of a list and ten positions, any of them missing, over lists holding anything.
    std::vector<std::string> texts;
    for (int k = 0; k < 2 * kRecentCount; ++k) texts.push_back(input.Value());
    std::string_view files[kRecentCount];
    std::string_view positions[kRecentCount];
    for (int k = 0; k < kRecentCount; ++k) {
        files[k] = texts[k];
        positions[k] = texts[kRecentCount + k];
    }
    RecentList list;
    RecentList positionList;
    for (int k = 0; k < kRecentCount; ++k) {
        CopyText(list.entries[k], "stale");
        CopyText(positionList.entries[k], "1,2,3,4");
    }
    CompactRecentValues(list, files);
    CheckCompacted(list, std::vector<std::string_view>(std::begin(files), std::end(files)));

    CompactRecentPairs(list, positionList, files, positions);
    CheckCompacted(list, std::vector<std::string_view>(std::begin(files), std::end(files)));
    // Each position stays with its file, even when it is empty itself.
    int c = 0;
    for (int k = 0; k < kRecentCount; ++k) {
        if (files[k].empty()) continue;
        FUZZ_CHECK(FieldText(positionList.entries[c]) == UpToNul(positions[k].substr(0, kPathSize - 1)));
        ++c;
    }
    for (; c < kRecentCount; ++c) FUZZ_CHECK(positionList.entries[c][0] == '\0');
    return 0;
}
}  // namespace settings_rules_case

namespace recent_lists_case {
namespace {

using Pair = std::pair<std::string, std::string>;

bool SamePlace(const WindowPlace& a, const WindowPlace& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

Pair PairAt(const RecentList& files, const RecentList& positions, int k) {
    return {std::string(FieldText(files.entries[k])), std::string(FieldText(positions.entries[k]))};
}

// The value goes to the front with the position it had (or none), the other pairs keep their order.
void CheckPush(std::string_view value, RecentList& files, RecentList* positions) {
    const RecentList oldFiles = files;
    const RecentList oldPositions = positions ? *positions : RecentList();
    const int found = FindRecent(files, value);
    if (found >= 0) {
        FUZZ_CHECK(found < kRecentCount && SameName(FieldText(files.entries[found]), value));
        for (int k = 0; k < found; ++k) FUZZ_CHECK(!SameName(FieldText(files.entries[k]), value));
    }
    PushRecentEntry(value, files, positions);

    const RecentList newPositions = positions ? *positions : RecentList();
    const std::string_view front = UpToNul(value.substr(0, kPathSize - 1));
    FUZZ_CHECK(FieldText(files.entries[0]) == front);
    const int removed = found >= 0 ? found : kRecentCount - 1;
    FUZZ_CHECK(FieldText(newPositions.entries[0]) == (found >= 0 ? FieldText(oldPositions.entries[found]) : ""));
    int next = 1;
    for (int k = 0; k < kRecentCount; ++k) {
        if (k == removed) continue;
        FUZZ_CHECK(PairAt(files, newPositions, next) == PairAt(oldFiles, oldPositions, k));
        ++next;
    }
    for (const auto& entry : files.entries) FUZZ_CHECK(Terminated(entry, kPathSize));
}

// ParsePosition leaves the place alone on failure, and what it read formats and parses back the same.
void CheckParse(std::string_view text) {
    const WindowPlace sentinel{-7, 13, 1234, -99};
    WindowPlace place = sentinel;
    const bool parsed = ParsePosition(text, place);
    if (!parsed) {
        FUZZ_CHECK(SamePlace(place, sentinel));
    } else {
        char formatted[kPathSize];
        FormatPosition(place, formatted);
        WindowPlace again;
        FUZZ_CHECK(ParsePosition(FieldText(formatted), again));
        FUZZ_CHECK(SamePlace(again, place));
    }

    // Where no number can overflow, the C library's reading of the same text is the reference.
    if (text.find('\0') != std::string_view::npos) return;
    std::size_t digits = 0;
    for (const char c : text) {
        digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
        if (digits > 9) return;
    }
    const std::string terminated(text);
    int n[4];
    const bool scanned = std::sscanf(terminated.c_str(), "%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3]) == 4;
    FUZZ_CHECK(scanned == parsed);
    if (parsed) FUZZ_CHECK(SamePlace(place, WindowPlace{n[0], n[1], n[2], n[3]}));
}

void CheckRoundTrip(const WindowPlace& place) {
    char text[kPathSize];
    FormatPosition(place, text);
    WindowPlace back;
    FUZZ_CHECK(ParsePosition(FieldText(text), back));
    FUZZ_CHECK(SamePlace(back, place));
}

}  // namespace

int FuzzRecentLists(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    RecentList files;
    RecentList positions;
    RecentList folders;
    while (!input.Empty()) {
        switch (input.Byte() % 5) {
        case 0: CheckPush(input.Value(), files, &positions); break;
        case 1: CheckPush(input.Value(), folders, nullptr); break;
        case 2: {
            // The bar writes the front file's position when it moves.
            const int k = input.Byte() % kRecentCount;
            CopyText(positions.entries[k], input.Line());
            break;
        }
        case 3: CheckParse(input.Line()); break;
        default: {
            WindowPlace place;
            place.x = input.Int();
            place.y = input.Int();
            place.width = input.Int();
            place.height = input.Int();
            CheckRoundTrip(place);
            break;
        }
        }
    }
    return 0;
}
}  // namespace recent_lists_case

namespace filter_list_case {
namespace {

// Values as a settings file would give them to a reader's room (a C string has no NUL inside).
std::vector<std::string> ReadValues(FuzzInput& input, std::size_t count) {
    std::vector<std::string> values;
    for (std::size_t k = 0; k < count; ++k) values.emplace_back(UpToNul(input.Value()).substr(0, kFilterValueSize - 1));
    return values;
}

// The user's values are asked for 1, 2, 3, ... and never again after an empty answer; the defaults for
// 0, 1, 2, ... likewise.
struct CheckedValues : FilterValues {
    const std::vector<std::string>& user;
    const std::vector<std::string>& defaults;
    int lastUser = 0;
    int lastDefault = -1;
    bool userEnded = false;
    bool defaultsEnded = false;
    CheckedValues(const std::vector<std::string>& u, const std::vector<std::string>& d) : user(u), defaults(d) {}
    void UserValue(int n, char (&value)[kFilterValueSize]) override {
        FUZZ_CHECK(n == lastUser + 1 && !userEnded && lastDefault < 0);
        lastUser = n;
        CopyText(value, static_cast<std::size_t>(n) <= user.size() ? user[n - 1] : std::string());
        userEnded = value[0] == '\0';
    }
    void DefaultValue(int k, char (&value)[kFilterValueSize]) override {
        FUZZ_CHECK(k == lastDefault + 1 && !defaultsEnded);
        lastDefault = k;
        CopyText(value, static_cast<std::size_t>(k) < defaults.size() ? defaults[k] : std::string());
        defaultsEnded = value[0] == '\0';
    }
};

}  // namespace

int FuzzFilterList(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t userCount = input.Byte() % 64;
    const std::size_t defaultCount = input.Byte() % 16;
    const std::vector<std::string> user = ReadValues(input, userCount);
    const std::vector<std::string> defaults = ReadValues(input, defaultCount);

    CheckedValues values(user, defaults);
    const FilterList list = BuildFilterList(values);

    // The pairs the list should hold: the user's up to the first empty value, then, after an even number
    // of them, the defaults up to theirs.
    std::vector<std::string> wanted;
    for (const std::string& value : user) {
        if (value.empty()) break;
        wanted.push_back(value);
    }
    const bool withDefaults = wanted.size() % 2 == 0;
    const std::size_t userPairs = wanted.size() / 2;
    wanted.resize(userPairs * 2);
    if (withDefaults) {
        for (const std::string& value : defaults) {
            if (value.empty()) break;
            wanted.push_back(value);
        }
        if (wanted.size() % 2 == 1) wanted.pop_back();
    }

    // Walk the list: whole pairs in order while they fit with the final empty string.
    std::size_t used = 0;
    std::size_t pair = 0;
    for (; pair * 2 + 1 < wanted.size(); ++pair) {
        const std::string& description = wanted[pair * 2];
        const std::string& patterns = wanted[pair * 2 + 1];
        const std::size_t needed = description.size() + 1 + patterns.size() + 1;
        if (used + needed > kFilterListSize - 1) break;
        FUZZ_CHECK(CText(list.text + used, kFilterListSize - used) == description);
        used += description.size() + 1;
        FUZZ_CHECK(CText(list.text + used, kFilterListSize - used) == patterns);
        used += patterns.size() + 1;
    }
    FUZZ_CHECK(used < kFilterListSize);
    FUZZ_CHECK(list.text[used] == '\0');
    FUZZ_CHECK(used == 0 ? list.text[1] == '\0' : list.text[used - 1] == '\0');
    return 0;
}
}  // namespace filter_list_case

// The first byte chooses the rule; the rest is that rule's input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    switch (data[0] % 3) {
    case 0: return settings_rules_case::FuzzSettingsRules(data + 1, size - 1);
    case 1: return recent_lists_case::FuzzRecentLists(data + 1, size - 1);
    case 2: return filter_list_case::FuzzFilterList(data + 1, size - 1);
    default: return 0;
    }
}
