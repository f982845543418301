// Rules of the settings file that need no system call.
#include "settings/settings_rules.h"

#include "base/bounded_text.h"

signed char LowByteSigned(unsigned int value) {
    const unsigned int low = value & 0xFFu;
    return static_cast<signed char>(low >= 0x80u ? static_cast<int>(low) - 0x100 : static_cast<int>(low));
}

QuotedOptions QuoteOptionsText(std::string_view value) {
    QuotedOptions quoted{};
    // Cut only what the options field itself could never hold, so the quotes always close.
    if (value.size() > sizeof(ButtonDef::options) - 1) value = value.substr(0, sizeof(ButtonDef::options) - 1);
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
