// Fuzzes the filter list of the open-file dialog: any number of user values and defaults of any length.
// The list always ends with two NULs, holds whole pairs only, in order, and stops at the first pair
// that would not fit.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "settings/filter_list.h"

namespace {

// Values up to the first empty one, as a settings file would give them (a C string has no NUL inside).
std::vector<std::string> ReadValues(FuzzInput& input, std::size_t count) {
    std::vector<std::string> values;
    for (std::size_t k = 0; k < count; ++k) values.emplace_back(UpToNul(input.Value()));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t userCount = input.Byte() % 64;
    const std::size_t defaultCount = input.Byte() % 16;
    const std::vector<std::string> user = ReadValues(input, userCount);
    const std::vector<std::string> defaults = ReadValues(input, defaultCount);

    // The reader is asked for 1, 2, 3, ... and never again after an empty answer.
    int lastAsked = 0;
    bool answeredEmpty = false;
    const FilterList list = BuildFilterList(
        [&](int n) {
            FUZZ_CHECK(n == lastAsked + 1 && !answeredEmpty);
            lastAsked = n;
            const std::string value = static_cast<std::size_t>(n) <= user.size() ? user[n - 1] : std::string();
            answeredEmpty = value.empty();
            return value;
        },
        defaults);

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
