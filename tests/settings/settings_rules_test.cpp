// The settings store's rules that need no system call: 8-bit values, options quoting, recent lists and
// their positions, grid bounds, names, where the default file lives, and the open-file dialog's filter list.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/bounded_text.h"
#include "settings/settings_rules.h"

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

namespace {
RecentList MakeList(const std::vector<std::string>& values) {
    RecentList list;
    for (std::size_t i = 0; i < values.size(); ++i) CopyText(list.entries[i], values[i]);
    return list;
}

std::vector<std::string> Entries(const RecentList& list) {
    std::vector<std::string> out;
    for (const auto& entry : list.entries) out.emplace_back(FieldText(entry));
    return out;
}

std::vector<std::string> Padded(std::vector<std::string> values) {
    values.resize(kRecentCount);
    return values;
}
}  // namespace

TEST(PushRecentEntry, MovesAMatchWithItsPosition) {
    RecentList files = MakeList({"f1", "f2", "f3", "f4"});
    RecentList positions = MakeList({"p1", "p2", "p3", "p4"});
    PushRecentEntry("f3", files, &positions);
    EXPECT_EQ(Entries(files), Padded({"f3", "f1", "f2", "f4"}));
    EXPECT_EQ(Entries(positions), Padded({"p3", "p1", "p2", "p4"}));
}

TEST(PushRecentEntry, NewEntryPushesTheTenthOut) {
    std::vector<std::string> names, places;
    for (int i = 0; i < kRecentCount; ++i) {
        names.push_back("f" + std::to_string(i));
        places.push_back("p" + std::to_string(i));
    }
    RecentList files = MakeList(names);
    RecentList positions = MakeList(places);
    PushRecentEntry("N", files, &positions);
    std::vector<std::string> expectedFiles{"N"}, expectedPositions{""};
    for (int i = 0; i < kRecentCount - 1; ++i) {
        expectedFiles.push_back(names[i]);
        expectedPositions.push_back(places[i]);
    }
    EXPECT_EQ(Entries(files), expectedFiles);
    EXPECT_EQ(Entries(positions), expectedPositions);
}

TEST(PushRecentEntry, MatchIgnoresCaseAndTakesTheNewSpelling) {
    RecentList files = MakeList({"a", "b", "c", "d", "C:\\doc\\a.tex", "e"});
    RecentList positions = MakeList({"", "", "", "", "1,2,3,4", ""});
    PushRecentEntry("c:\\DOC\\A.TEX", files, &positions);
    EXPECT_EQ(Entries(files), Padded({"c:\\DOC\\A.TEX", "a", "b", "c", "d", "e"}));
    EXPECT_EQ(std::string(positions.entries[0]), "1,2,3,4");
}

TEST(PushRecentEntry, FoldersHaveNoPositions) {
    RecentList folders = MakeList({"x", "y"});
    PushRecentEntry("y", folders, nullptr);
    EXPECT_EQ(Entries(folders), Padded({"y", "x"}));
}

TEST(PushRecentEntry, OverlongValueIsCutToTheEntry) {
    RecentList files;
    PushRecentEntry(std::string(400, 'q'), files, nullptr);
    EXPECT_EQ(std::string(files.entries[0]), std::string(kPathSize - 1, 'q'));
}

TEST(Position, FormatsAndParses) {
    char text[kPathSize];
    FormatPosition({120, 80, 452, 96}, text);
    EXPECT_STREQ(text, "120,80,452,96");
    WindowPlace place;
    ASSERT_TRUE(ParsePosition(text, place));
    EXPECT_EQ(place.x, 120);
    EXPECT_EQ(place.height, 96);
    FormatPosition({-32000, -32000, 0, 0}, text);
    EXPECT_STREQ(text, "-32000,-32000,0,0");
}

TEST(Position, RejectsWhatDoesNotHoldFourNumbers) {
    struct Row {
        const char* text;
        bool parsed;
    };
    const Row rows[] = {
        {"10,20,300", false},        {"1,2,x,4", false},     {"1, 2, 3, 4", true},   {" 1,2,3,4", true},
        {"1 ,2,3,4", false},         {"", false},            {"1,2,3,99999999999", false},
        {"-5,+6,7,8", true},         {"1,2,3,4,5", true},    {"2147483647,-2147483648,1,1", true},
    };
    for (const Row& row : rows) {
        WindowPlace place{9, 9, 9, 9};
        EXPECT_EQ(ParsePosition(row.text, place), row.parsed) << row.text;
        if (!row.parsed) {
            EXPECT_EQ(place.x, 9) << row.text;
        }
    }
}

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
// The user's values and the defaults from tables; a value is cut to the reader's room, as the system's are.
struct TableValues : FilterValues {
    const Texts& user;
    const Texts& defaults;
    int* reads;
    TableValues(const Texts& u, const Texts& d, int* r) : user(u), defaults(d), reads(r) {}
    void UserValue(int n, char (&value)[kFilterValueSize]) override {
        if (reads) ++*reads;
        CopyText(value, n <= static_cast<int>(user.size()) ? user[n - 1] : std::string());
    }
    void DefaultValue(int k, char (&value)[kFilterValueSize]) override {
        CopyText(value, k < static_cast<int>(defaults.size()) ? defaults[k] : std::string());
    }
};

FilterList Build(const Texts& user, const Texts& defaults = kDefaults, int* reads = nullptr) {
    TableValues values(user, defaults, reads);
    return BuildFilterList(values);
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
    const std::string d255(255, 'd'), p255(255, '*');
    EXPECT_EQ(Entries(Build(user, {"T", "*.tex", d255, p255, "A", "*.*"})), Join(user, {"T", "*.tex"}));
}

// A pair that ends where only the final empty string is left fits; one byte more does not.
TEST(BuildFilterList, ThePairThatFillsTheBufferExactly) {
    for (std::size_t extra : {0, 1}) {
        Texts user(38, std::string(255, 'v'));  // 9728 bytes, 511 left before the final empty string
        user.push_back(std::string(254 + extra, 'x'));
        user.push_back(std::string(255, 'y'));
        std::size_t length = 0;
        const Texts texts = Entries(Build(user), &length);
        EXPECT_EQ(texts, extra ? Texts(user.begin(), user.begin() + 38) : user) << extra;
        EXPECT_EQ(length, extra ? 38 * 256 + 1 : kFilterListSize) << extra;
    }
}

}  // namespace
