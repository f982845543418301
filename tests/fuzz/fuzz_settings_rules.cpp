// Fuzzes the settings file's rules: the low byte of a number, the quoting of options, the compaction of
// the recent lists read from the file, the grid bounds and the comparison of names.
#include <cctype>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "fuzz_input.h"
#include "settings/settings_rules.h"

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
