// The filter list of the open-file dialog.
#include "settings/filter_list.h"

#include <string_view>

namespace {

// Appends a description and its patterns, each with its NUL, when both fit with one byte left for the
// final empty string.
bool AppendPair(FilterList& list, std::size_t& used, std::string_view description, std::string_view patterns) {
    const std::size_t needed = description.size() + 1 + patterns.size() + 1;
    if (needed > kFilterListSize - 1 - used) return false;
    for (std::string_view part : {description, patterns}) {
        part.copy(list.text + used, part.size());
        used += part.size();
        list.text[used++] = '\0';
    }
    return true;
}

// Adds values two by two; false when a pair was left out for want of room.
bool AppendPairs(FilterList& list, std::size_t& used, const std::vector<std::string>& values) {
    for (std::size_t k = 0; k + 1 < values.size(); k += 2) {
        if (!AppendPair(list, used, values[k], values[k + 1])) return false;
    }
    return true;
}

}  // namespace

FilterList BuildFilterList(const FilterValueReader& userValue, const std::vector<std::string>& defaults) {
    // Each value takes its length and a NUL: once the values read exceed the list, later ones cannot enter.
    std::vector<std::string> values;
    std::size_t wanted = 0;
    for (int n = 1; wanted <= kFilterListSize; ++n) {
        std::string value = userValue(n);
        if (value.empty()) break;
        wanted += value.size() + 1;
        values.push_back(std::move(value));
    }
    FilterList list;
    std::size_t used = 0;
    // A description without patterns ends the list there; the defaults are left out too.
    if (AppendPairs(list, used, values) && values.size() % 2 == 0) {
        std::vector<std::string> defaultTexts;
        for (const std::string& text : defaults) {
            if (text.empty()) break;
            defaultTexts.push_back(text);
        }
        AppendPairs(list, used, defaultTexts);
    }
    list.text[used] = '\0';
    return list;
}
