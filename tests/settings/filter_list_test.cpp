// The open-file dialog's filter list: the user's pairs, the defaults, odd counts, gaps and a full buffer.
#include "settings/filter_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

const Texts kMainDefaults = {"TeX and LaTeX files", "*.tex", "C and C++ files", "*.c;*.cpp", "All files", "*.*"};

// The texts of a list up to its final empty string, or a marker when that end lies outside the buffer.
Texts Entries(const FilterList& list, std::size_t* length = nullptr) {
    Texts texts;
    std::size_t at = 0;
    while (at < kFilterListSize && list.text[at] != '\0') {
        const std::string text(list.text + at);  // within the buffer: checked below
        at += text.size() + 1;
        if (at > kFilterListSize) return {"<runs past the buffer>"};
        texts.push_back(text);
    }
    if (at >= kFilterListSize) return {"<no final empty string>"};
    if (length) *length = at + 1;
    return texts;
}

// Values as the settings file would give them: missing keys (past the end, or "") read as empty.
struct Reader {
    Texts values;
    int reads = 0;
    std::string operator()(int n) {
        ++reads;
        return n >= 1 && n <= static_cast<int>(values.size()) ? values[n - 1] : std::string();
    }
};

FilterList Build(Reader& reader, const Texts& defaults) {
    return BuildFilterList([&reader](int n) { return reader(n); }, defaults);
}

Texts Joined(Texts first, const Texts& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

struct Row {
    const char* name;
    Texts user;
    Texts expected;
};

TEST(BuildFilterList, UserPairsComeBeforeTheDefaults) {
    const std::string long1(255, 'd'), long2(255, 'p');
    const Row rows[] = {
        {"no user values", {}, kMainDefaults},
        {"one pair", {"BibTeX files", "*.bib"}, Joined({"BibTeX files", "*.bib"}, kMainDefaults)},
        {"two pairs", {"A", "*.a", "B", "*.b;*.bb"}, Joined({"A", "*.a", "B", "*.b;*.bb"}, kMainDefaults)},
        {"three values: the lone description ends the list", {"A", "*.a", "B"}, {"A", "*.a"}},
        {"a lone Filter1 leaves no filter", {"A"}, {}},
        {"a gap after Filter1 stops the reading", {"A", "", "B", "*.b"}, {}},
        {"a gap after the first pair", {"A", "*.a", "", "*.b"}, Joined({"A", "*.a"}, kMainDefaults)},
        {"values of 255 characters", {long1, long2}, Joined({long1, long2}, kMainDefaults)},
        {"odd characters pass unchanged", {"T\xE9X \"files\" | =;", "*.t?x;*.[ab]"},
         Joined({"T\xE9X \"files\" | =;", "*.t?x;*.[ab]"}, kMainDefaults)},
    };
    for (const Row& row : rows) {
        Reader reader{row.user};
        EXPECT_EQ(Entries(Build(reader, kMainDefaults)), row.expected) << row.name;
    }
}

TEST(BuildFilterList, DefaultsStopAtTheirFirstEmptyText) {
    Reader reader;
    EXPECT_EQ(Entries(Build(reader, {"Executable files", "*.exe", "", "never", "*.*"})),
              Texts({"Executable files", "*.exe"}));
    // A default description without patterns is left out rather than offered alone.
    EXPECT_EQ(Entries(Build(reader, {"Executable files", "*.exe", "All files"})), Texts({"Executable files", "*.exe"}));
}

// Pairs of 255-character values, each pair taking 512 bytes: 19 fit in the 10239 bytes before the end.
TEST(BuildFilterList, TooManyValuesKeepWholePairsAndTheEnd) {
    for (int count : {38, 39, 40, 41, 200, 201}) {
        Reader reader;
        for (int n = 0; n < count; ++n) reader.values.push_back(std::string(254, 'a' + n % 26) + (n % 2 ? "p" : "d"));
        std::size_t length = 0;
        const Texts texts = Entries(Build(reader, kMainDefaults), &length);
        const int pairs = count / 2 < 19 ? count / 2 : 19;
        Texts expected(reader.values.begin(), reader.values.begin() + 2 * pairs);
        // 19 whole pairs leave 511 bytes, room for every default pair; 20 or more do not fit, and then
        // nothing after the last pair that fit is offered.
        if (count == 38) expected = Joined(expected, kMainDefaults);
        EXPECT_EQ(texts, expected) << count << " values";
        EXPECT_LE(length, kFilterListSize) << count;
        EXPECT_LE(reader.reads, 42) << count << " values: reading goes on past what could fit";
    }
}

// A pair that ends exactly where only the final empty string is left fits; one byte more does not.
TEST(BuildFilterList, ThePairThatFillsTheBufferExactly) {
    for (int extra : {0, 1}) {
        Reader reader;
        // 18 pairs of 512 bytes, then one pair filling the rest but one byte.
        for (int n = 0; n < 36; ++n) reader.values.push_back(std::string(255, n % 2 ? 'p' : 'd'));
        const std::size_t rest = kFilterListSize - 1 - 36 * 256;
        reader.values.push_back("last");
        reader.values.push_back(std::string(rest - 5 - 1 + extra, 'x'));
        std::size_t length = 0;
        const Texts texts = Entries(Build(reader, kMainDefaults), &length);
        if (extra == 0) {
            EXPECT_EQ(texts, reader.values);
            EXPECT_EQ(length, kFilterListSize);
        } else {
            EXPECT_EQ(texts, Texts(reader.values.begin(), reader.values.begin() + 36));
        }
    }
}

// The user's pairs leave room for some default pairs only: whole pairs go in, in order, then the list ends.
TEST(BuildFilterList, DefaultsThatDoNotAllFitEndWithAWholePair) {
    Reader reader;
    for (int n = 0; n < 38; ++n) reader.values.push_back(std::string(255, 'v'));
    // 38 * 256 = 9728 bytes used, 511 left before the end: "TeX and LaTeX files" and "*.tex" (26 bytes) fit.
    const std::string longPatterns(480, '*');
    const Texts defaults = {"TeX and LaTeX files", "*.tex", "Long", longPatterns, "All files", "*.*"};
    EXPECT_EQ(Entries(Build(reader, defaults)), Joined(reader.values, {"TeX and LaTeX files", "*.tex"}));
}

}  // namespace
