// The settings store's rules that need no system call.
#include "settings/settings_rules.h"

#include <cctype>
#include <climits>
#include <string_view>

signed char LowByteSigned(unsigned int value) {
    const unsigned int low = value & 0xFFu;
    return static_cast<signed char>(low >= 0x80u ? static_cast<int>(low) - 0x100 : static_cast<int>(low));
}

QuotedOptions QuoteOptionsText(std::string_view value) {
    QuotedOptions quoted{};
    // Cut only what the options field itself could never hold, so the quotes always close.
    value = text::Part(value, 0, sizeof(ButtonDef::options) - 1);
    CopyText(quoted.text, "\"");
    AppendText(quoted.text, value);
    AppendText(quoted.text, "\"");
    return quoted;
}

void CompactRecentValues(RecentList& list, const std::string_view (&values)[kRecentCount]) {
    int c = 0;
    for (const std::string_view value : values) {
        if (value.empty()) continue;
        CopyText(list.entries[c], value);
        ++c;
    }
    for (; c < kRecentCount; ++c) CopyText(list.entries[c], "");
}

void CompactRecentPairs(RecentList& files, RecentList& positions, const std::string_view (&fileValues)[kRecentCount],
                        const std::string_view (&positionValues)[kRecentCount]) {
    int c = 0;
    for (int k = 0; k < kRecentCount; ++k) {
        if (fileValues[k].empty()) continue;
        CopyText(files.entries[c], fileValues[k]);
        CopyText(positions.entries[c], positionValues[k]);
        ++c;
    }
    for (; c < kRecentCount; ++c) {
        CopyText(files.entries[c], "");
        CopyText(positions.entries[c], "");
    }
}

void ClampGrid(AppOptions& options) {
    if (options.rows > kMaxRows) options.rows = kMaxRows;
    if (options.rows < 1) options.rows = 1;
    if (options.cols > kMaxCols) options.cols = kMaxCols;
    if (options.cols < 1) options.cols = 1;
}

SettingsChoice ChooseSettingsPlace(const SettingsFacts& facts) {
    if (facts.besideProgram) {
        if (facts.besideProgramWritable) return {SettingsPlace::kBesideProgram, SettingsPlace::kNone};
        return {SettingsPlace::kUser, facts.user ? SettingsPlace::kNone : SettingsPlace::kBesideProgram};
    }
    if (facts.user) return {SettingsPlace::kUser, SettingsPlace::kNone};
    if (facts.windowsWritable) return {SettingsPlace::kWindows, SettingsPlace::kNone};
    return {SettingsPlace::kUser, facts.windows ? SettingsPlace::kWindows : SettingsPlace::kNone};
}

static char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

// ---- Recent lists

int FindRecent(const RecentList& list, std::string_view name) {
    for (int i = 0; i < kRecentCount; ++i) {
        if (SameName(FieldText(list.entries[i]), name)) return i;
    }
    return -1;
}

void PushRecentEntry(std::string_view value, RecentList& list, RecentList* positions) {
    char remembered[kPathSize] = "";
    int i = FindRecent(list, value);
    if (i >= 0) {
        if (positions) CopyText(remembered, FieldText(positions->entries[i]));
    } else {
        i = kRecentCount - 1;
    }
    for (int n = i; n >= 1; --n) {
        CopyText(list.entries[n], FieldText(list.entries[n - 1]));
        if (positions) CopyText(positions->entries[n], FieldText(positions->entries[n - 1]));
    }
    CopyText(list.entries[0], value);
    if (positions) CopyText(positions->entries[0], remembered);
}

void FormatPosition(const WindowPlace& place, char (&text)[kPathSize]) {
    FormatText(text, "%d,%d,%d,%d", place.x, place.y, place.width, place.height);
}

namespace {
// One "%d" as the C library reads it: optional white space, an optional sign, then digits.
bool ReadNumber(std::string_view text, std::size_t& at, int& value) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return false;
    long long magnitude = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX || signedValue < INT_MIN) return false;
    value = static_cast<int>(signedValue);
    return true;
}
}  // namespace

bool ParsePosition(std::string_view text, WindowPlace& place) {
    int numbers[4];
    std::size_t at = 0;
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            if (at >= text.size() || text[at] != ',') return false;
            ++at;
        }
        if (!ReadNumber(text, at, numbers[k])) return false;
    }
    place = {numbers[0], numbers[1], numbers[2], numbers[3]};
    return true;
}

// ---- The filter list

namespace {

// Appends a description and its patterns, each with its NUL, when both fit with one byte left for the
// final empty string.
bool AppendPair(FilterList& list, std::size_t& used, std::string_view description, std::string_view patterns) {
    const std::size_t needed = description.size() + 1 + patterns.size() + 1;
    if (needed > kFilterListSize - 1 - used) return false;
    for (std::string_view part : {description, patterns}) {
        for (const char c : part) list.text[used++] = c;
        list.text[used++] = '\0';
    }
    return true;
}

}  // namespace

FilterList BuildFilterList(FilterValues& values) {
    FilterList list;
    std::size_t used = 0;
    char description[kFilterValueSize];
    char patterns[kFilterValueSize];
    // A description without patterns, or a pair that does not fit, ends the list there; the defaults are
    // left out too.
    bool whole = true;
    for (int n = 1;; n += 2) {
        values.UserValue(n, description);
        if (description[0] == '\0') break;
        values.UserValue(n + 1, patterns);
        if (patterns[0] == '\0' || !AppendPair(list, used, FieldText(description), FieldText(patterns))) {
            whole = false;
            break;
        }
    }
    for (int k = 0; whole; k += 2) {
        values.DefaultValue(k, description);
        if (description[0] == '\0') break;
        values.DefaultValue(k + 1, patterns);
        whole = patterns[0] != '\0' && AppendPair(list, used, FieldText(description), FieldText(patterns));
    }
    list.text[used] = '\0';
    return list;
}
