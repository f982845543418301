// The open-file dialog's filter list: the user's pairs, the defaults, odd counts, gaps and a full buffer.
#include "settings/filter_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

const Texts kDefaults = {"TeX and LaTeX files", "*.tex", "C and C++ files", "*.c;*.cpp", "All files", "*.*"};

// The texts of a list up to its final empty string, or a marker when that end is not inside the buffer.
Texts Entries(const FilterList& list, std::size_t* length = nullptr) {
    Texts texts;
    std::size_t at = 0;
    while (at < kFilterListSize && list.text[at] != '\0') {
        const std::size_t end = std::string_view(list.text + at, kFilterListSize - at).find('\0');
        if (end == std::string_view::npos) return {"<runs past the buffer>"};
        texts.emplace_back(list.text + at, end);
        at += end + 1;
    }
    if (at >= kFilterListSize) return {"<no final empty string>"};
    if (length) *length = at + 1;
    return texts;
}

// Builds from values as the settings file gives them (a missing key reads as empty), counting the reads.
FilterList Build(const Texts& user, const Texts& defaults = kDefaults, int* reads = nullptr) {
    return BuildFilterList(
        [&](int n) {
            if (reads) ++*reads;
            return n <= static_cast<int>(user.size()) ? user[n - 1] : std::string();
        },
        defaults);
}

Texts Join(Texts first, const Texts& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(BuildFilterList, UserPairsComeBeforeTheDefaults) {
    const std::string d255(255, 'd'), p255(255, 'p');
    const struct {
        const char* name;
        Texts user, defaults, expected;
    } rows[] = {
        {"no user values", {}, kDefaults, kDefaults},
        {"one pair", {"BibTeX files", "*.bib"}, kDefaults, Join({"BibTeX files", "*.bib"}, kDefaults)},
        {"three values: the lone description ends the list", {"A", "*.a", "B"}, kDefaults, {"A", "*.a"}},
        {"a lone Filter1 leaves no filter", {"A"}, kDefaults, {}},
        {"a gap after Filter1 stops the reading", {"A", "", "B", "*.b"}, kDefaults, {}},
        {"values of 255 characters", {d255, p255}, kDefaults, Join({d255, p255}, kDefaults)},
        {"odd characters pass unchanged", {"T\xE9X | =;\"", "*.t?x;;"}, kDefaults, Join({"T\xE9X | =;\"", "*.t?x;;"}, kDefaults)},
        {"defaults end at their first empty text", {}, {"E", "*.exe", "", "A", "*.*"}, {"E", "*.exe"}},
        {"a default description without patterns is left out", {}, {"E", "*.exe", "A"}, {"E", "*.exe"}},
    };
    for (const auto& row : rows) EXPECT_EQ(Entries(Build(row.user, row.defaults)), row.expected) << row.name;
}

// Values of 255 characters take 512 bytes a pair: 19 pairs fit before the final empty string, 20 do not.
TEST(BuildFilterList, TooManyValuesKeepWholePairsAndTheEnd) {
    for (int count : {38, 39, 40, 200, 201}) {
        Texts user;
        for (int n = 0; n < count; ++n) user.push_back(std::string(255, static_cast<char>('a' + n % 26)));
        int reads = 0;
        std::size_t length = 0;
        const Texts texts = Entries(Build(user, kDefaults, &reads), &length);
        Texts expected(user.begin(), user.begin() + 2 * std::min(count / 2, 19));
        // 19 pairs leave 511 bytes, room for the defaults; after a pair that did not fit nothing follows.
        if (count == 38) expected = Join(expected, kDefaults);
        EXPECT_EQ(texts, expected) << count;
        EXPECT_LE(length, kFilterListSize) << count;
        EXPECT_LE(reads, 42) << count << ": reading goes on past what could fit";
    }
    // The defaults, too, go in whole pairs, in order, until one does not fit.
    const Texts user(38, std::string(255, 'v'));
    EXPECT_EQ(Entries(Build(user, {"T", "*.tex", "Long", std::string(500, '*'), "A", "*.*"})), Join(user, {"T", "*.tex"}));
}

// A pair that ends where only the final empty string is left fits; one byte more does not.
TEST(BuildFilterList, ThePairThatFillsTheBufferExactly) {
    for (std::size_t extra : {0, 1}) {
        Texts user(36, std::string(255, 'v'));  // 9216 bytes
        user.push_back("last");
        user.push_back(std::string(kFilterListSize - 1 - 36 * 256 - 5 - 1 + extra, 'x'));
        std::size_t length = 0;
        const Texts texts = Entries(Build(user), &length);
        EXPECT_EQ(texts, extra ? Texts(user.begin(), user.begin() + 36) : user) << extra;
        EXPECT_EQ(length, extra ? 36 * 256 + 1 : kFilterListSize) << extra;
    }
}

}  // namespace
