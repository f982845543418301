// The settings rules that need no system call: 8-bit values, options quoting, recent lists, grid bounds, names.
#include "settings/settings_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace {

struct LowByteRow {
    unsigned int value;
    int expected;
};

const LowByteRow kLowByteRows[] = {
    {0, 0},          {6, 6},     {127, 127},   {128, -128}, {200, -56},
    {255, -1},       {256, 0},   {300, 44},    {511, -1},   {static_cast<unsigned int>(-56), -56},
    {static_cast<unsigned int>(-1), -1}, {0x12345678u, 0x78},
};

TEST(LowByteSigned, Table) {
    for (const LowByteRow& row : kLowByteRows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(static_cast<int>(LowByteSigned(row.value)), row.expected);
    }
}

struct QuoteRow {
    const char* name;
    std::string value;
    std::string expected;
};

const QuoteRow kQuoteRows[] = {
    {"empty", "", "\"\""},
    {"plain", "%@n%", "\"%@n%\""},
    {"already quoted", "\"my file.tex\"", "\"\"my file.tex\"\""},
    {"257 characters", std::string(257, 'a'), "\"" + std::string(257, 'a') + "\""},
    {"258 characters stay whole", std::string(258, 'b'), "\"" + std::string(258, 'b') + "\""},
    {"259 characters stay whole", std::string(259, 'c'), "\"" + std::string(259, 'c') + "\""},
    {"more than the field is cut to it", std::string(300, 'd'), "\"" + std::string(259, 'd') + "\""},
};

TEST(QuoteOptionsText, Table) {
    for (const QuoteRow& row : kQuoteRows) {
        SCOPED_TRACE(row.name);
        const QuotedOptions quoted = QuoteOptionsText(row.value);
        EXPECT_EQ(std::string(quoted.text), row.expected);
    }
}

// Ten values of one list as the file gave them (empty for a missing key).
using Values = std::array<std::string, kRecentCount>;

struct Views {
    std::string_view items[kRecentCount];
    explicit Views(const Values& values) {
        for (int k = 0; k < kRecentCount; ++k) items[k] = values[k];
    }
};

Values ListOf(const RecentList& list) {
    Values values;
    for (int k = 0; k < kRecentCount; ++k) values[k] = list.entries[k];
    return values;
}

RecentList StaleList() {
    RecentList list;
    for (int k = 0; k < kRecentCount; ++k) list.entries[k][0] = static_cast<char>('0' + k);
    return list;
}

struct CompactRow {
    const char* name;
    Values file;
    Values expected;
};

const CompactRow kCompactRows[] = {
    {"all empty", {}, {}},
    {"gap in the middle", {"A", "", "B"}, {"A", "B"}},
    {"gaps first", {"", "", "", "X", "", "Y"}, {"X", "Y"}},
    {"full", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
    {"only the last", {"", "", "", "", "", "", "", "", "", "Z"}, {"Z"}},
};

TEST(CompactRecentValues, Table) {
    for (const CompactRow& row : kCompactRows) {
        SCOPED_TRACE(row.name);
        RecentList list = StaleList();  // nothing held before the read may survive it
        const Views views(row.file);
        CompactRecentValues(list, views.items);
        EXPECT_EQ(ListOf(list), row.expected);
    }
}

TEST(CompactRecentValues, LongValueIsCutToTheEntry) {
    Values file;
    file[0] = std::string(400, 'p');
    RecentList list;
    const Views views(file);
    CompactRecentValues(list, views.items);
    EXPECT_EQ(std::string(list.entries[0]), std::string(kPathSize - 1, 'p'));
}

struct PairRow {
    const char* name;
    Values files;
    Values positions;
    Values expectedFiles;
    Values expectedPositions;
};

const PairRow kPairRows[] = {
    {"gap in both", {"A", "", "B"}, {"1,1,1,1", "", "2,2,2,2"}, {"A", "B"}, {"1,1,1,1", "2,2,2,2"}},
    {"empty position stays with its file", {"A", "B"}, {"", "2,2,2,2"}, {"A", "B"}, {"", "2,2,2,2"}},
    {"position of a missing file is dropped", {"", "B"}, {"9,9,9,9", "2,2,2,2"}, {"B"}, {"2,2,2,2"}},
    {"no files", {}, {"1,1,1,1"}, {}, {}},
};

TEST(CompactRecentPairs, Table) {
    for (const PairRow& row : kPairRows) {
        SCOPED_TRACE(row.name);
        RecentList files = StaleList();
        RecentList positions = StaleList();
        const Views fileViews(row.files);
        const Views positionViews(row.positions);
        CompactRecentPairs(files, positions, fileViews.items, positionViews.items);
        EXPECT_EQ(ListOf(files), row.expectedFiles);
        EXPECT_EQ(ListOf(positions), row.expectedPositions);
    }
}

struct ClampRow {
    int rows, cols;
    int expectedRows, expectedCols;
};

const ClampRow kClampRows[] = {
    {2, 8, 2, 8},  {0, 0, 1, 1},     {9, 12, 5, 10}, {-3, -3, 1, 1}, {1, 1, 1, 1},
    {5, 10, 5, 10}, {6, 11, 5, 10}, {3, -2147483647 - 1, 3, 1}, {2147483647, 4, 5, 4},
};

TEST(ClampGrid, Table) {
    for (const ClampRow& row : kClampRows) {
        SCOPED_TRACE(std::to_string(row.rows) + "x" + std::to_string(row.cols));
        AppOptions options;
        options.rows = row.rows;
        options.cols = row.cols;
        options.space = 77;
        ClampGrid(options);
        EXPECT_EQ(options.rows, row.expectedRows);
        EXPECT_EQ(options.cols, row.expectedCols);
        EXPECT_EQ(options.space, 77);  // space is the configuration dialog's to bound
    }
}

struct SameNameRow {
    std::string a, b;
    bool same;
};

const SameNameRow kSameNameRows[] = {
    {"C:\\Papers\\a.tex", "c:\\papers\\A.TEX", true},
    {"abc", "abc", true},
    {"", "", true},
    {"abc", "abd", false},
    {"abc", "abcd", false},
    {"a b", "a_b", false},
    {"[", "{", false},  // only letters fold: '[' and '{' differ by the same 32 as a case pair
    {"@", "`", false},
    {"\xC4rger.tex", "\xE4rger.tex", false},  // bytes above 127 compare exactly
    {"\xC4rger.tex", "\xC4RGER.TEX", true},
    {"\xFF", "\xDF", false},
};

TEST(SameName, Table) {
    for (const SameNameRow& row : kSameNameRows) {
        SCOPED_TRACE(row.a + " / " + row.b);
        EXPECT_EQ(SameName(row.a, row.b), row.same);
        EXPECT_EQ(SameName(row.b, row.a), row.same);
    }
}

// Facts: beside the program (exists, writable), the user's own, the Windows folder's (exists, writable).
TEST(ChooseSettingsPlace, Table) {
    using P = SettingsPlace;
    const struct {
        const char* name;
        SettingsFacts facts;
        P use;
        P seedFrom;
    } rows[] = {
        {"a portable set-up", {true, true, true, true, true}, P::kBesideProgram, P::kNone},
        {"a read-only portable set-up seeds the user's", {true, false, false, true, true}, P::kUser, P::kBesideProgram},
        {"... once", {true, false, true, false, false}, P::kUser, P::kNone},
        {"the user's own beats a writable Windows folder", {false, false, true, true, true}, P::kUser, P::kNone},
        {"the Windows folder while it may be written", {false, false, false, false, true}, P::kWindows, P::kNone},
        {"else the user's, seeded from it", {false, false, false, true, false}, P::kUser, P::kWindows},
        {"with nothing to seed from", {false, false, false, false, false}, P::kUser, P::kNone},
    };
    for (const auto& row : rows) {
        const SettingsChoice choice = ChooseSettingsPlace(row.facts);
        EXPECT_EQ(choice.use, row.use) << row.name;
        EXPECT_EQ(choice.seedFrom, row.seedFrom) << row.name;
    }
}

}  // namespace
