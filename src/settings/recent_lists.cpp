// The recent lists' moves and the window-position text of a recent file.
#include "settings/recent_lists.h"

#include <cctype>
#include <climits>

#include "base/bounded_text.h"
#include "settings/settings_rules.h"

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
