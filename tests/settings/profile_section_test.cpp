// The section parser's rules, one table per function; the rows are what the system's profile functions
// answered for the same text (profile_section_wine_test compares the two on many more files).
#include "settings/profile_section.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::string_literals;

struct FindRow {
    const char* name;
    std::string block;
    std::string key;
    const char* expected;  // nullptr: not found (the caller's default)
};

const FindRow kFindRows[] = {
    {"plain", "Rows=5\0"s, "Rows", "5"},
    {"case of A..Z does not count", "ROWS=5\0"s, "rows", "5"},
    {"key of several words", "Use Long Names1=1\0"s, "use long names1", "1"},
    {"blanks around key and value", " \tRows \x0b= \x0c" "5 \x1a\0"s, "Rows", "5"},
    {"blanks around the key asked", "Rows=5\0"s, " \tRows\n\r", "5"},
    {"blanks inside a key count", "Use long names1=1\0"s, "Use  long names1", nullptr},
    {"a non-breaking space is no blank", "\xa0Rows=5\0"s, "Rows", nullptr},
    {"a non-breaking space is part of the key", "\xa0Rows=5\0"s, "\xa0rows", "5"},
    {"letters above 127 keep their case", "\xc9t=1\0"s, "\xe9t", nullptr},
    {"letters above 127 match themselves", "\xc9t=1\0"s, "\xc9T", "1"},
    {"first of two entries", "k=1\0K=2\0"s, "k", "1"},
    {"an entry without = hides the later ones", "k\0k=2\0"s, "k", nullptr},
    {"comment", ";k=1\0"s, ";k", nullptr},
    {"empty key", "a=1\0=v\0"s, "", "v"},
    {"blank key", " =v\0"s, "\t ", "v"},
    {"no entry of the empty key", "a=1\0"s, "", nullptr},
    {"inner = and quotes kept", "k=a=\"b\"\0"s, "k", "a=\"b\""},
    {"empty value", "k=\0"s, "k", ""},
    {"a longer key is another key", "Title10=x\0Title1=y\0"s, "Title1", "y"},
    {"a shorter key is another key", "Title1=y\0"s, "Title10", nullptr},
    {"block without its last NUL", "a=1\0b=2"s, "b", "2"},
    {"empty block", "", "k", nullptr},
    {"the block ends at two NULs", "a=1\0\0b=2\0"s, "b", nullptr},
    {"missing key", "a=1\0"s, "x", nullptr},
};

TEST(ProfileSectionFind, Table) {
    for (const FindRow& row : kFindRows) {
        SCOPED_TRACE(row.name);
        const ProfileSection section(row.block);
        std::string_view value = "untouched";
        const bool found = section.Find(row.key, value);
        EXPECT_EQ(found, row.expected != nullptr);
        if (row.expected) {
            EXPECT_EQ(value, row.expected);
        } else {
            EXPECT_EQ(value, "untouched");
        }
    }
}

TEST(ProfileSectionFind, HasSeesEntriesWithAndWithoutValue) {
    const std::string block = "k\0v=\0w=1\0;c=1\0"s;
    const ProfileSection section(block);
    EXPECT_TRUE(section.Has("K"));
    EXPECT_TRUE(section.Has("v"));
    EXPECT_TRUE(section.Has(" w "));
    EXPECT_FALSE(section.Has(";c"));
    EXPECT_FALSE(section.Has("x"));
    EXPECT_FALSE(section.Has(""));
    const std::string withEmptyKey = "=1\0"s;
    EXPECT_TRUE(ProfileSection(std::string_view(withEmptyKey)).Has(" "));
}

TEST(ProfileSectionFind, ManyKeys) {
    std::string block;
    for (int i = 0; i < 700; ++i) block += "Key" + std::to_string(i) + "=" + std::to_string(i * 3) + '\0';
    block += "key5=again"s + '\0';
    const ProfileSection section(block);
    for (int i = 0; i < 700; ++i) {
        std::string_view value;
        ASSERT_TRUE(section.Find("KEY" + std::to_string(i), value)) << i;
        EXPECT_EQ(value, std::to_string(i * 3));
    }
}

struct StringRow {
    std::string stored;
    std::size_t size;
    const char* expected;
};

const StringRow kStringRows[] = {
    {"abc", 0, ""},           {"abc", 1, ""},           {"abc", 3, "ab"},         {"abc", 4, "abc"},
    {"\"abc\"", 1, ""},       {"\"abc\"", 2, "a"},      {"\"abc\"", 3, "ab"},     {"\"abc\"", 4, "ab"},
    {"\"abc\"", 5, "abc"},    {"\"abc\"", 6, "abc"},    {"'abc'", 5, "abc"},      {"'abc'", 4, "ab"},
    {"\"abc'", 4, "\"ab"},    {"\"abc'", 6, "\"abc'"},  {"\"", 5, "\""},          {"\"\"", 5, ""},
    {"''", 2, ""},            {"\"a", 5, "\"a"},        {"\"a\"", 2, ""},         {"\"a\"", 3, "a"},
    {"\"ab\"c\"", 4, "ab\""}, {"\"ab\"c\"", 6, "ab\"c"}, {"'", 3, "'"},
};

TEST(ProfileStringValue, QuotesAndCuts) {
    for (const StringRow& row : kStringRows) {
        SCOPED_TRACE(row.stored + " into " + std::to_string(row.size));
        EXPECT_EQ(ProfileStringValue(row.stored, row.size), row.expected);
    }
}

TEST(ProfileStringValue, AQuotedValueThatOnlyJustFitsLosesItsLastCharacter) {
    const std::string quoted = "\"" + std::string(259, 'c') + "\"";
    EXPECT_EQ(ProfileStringValue(quoted, 260), std::string(258, 'c'));
    EXPECT_EQ(ProfileStringValue(quoted, 261), std::string(259, 'c'));
    EXPECT_EQ(ProfileStringValue(std::string(300, 'x'), 260), std::string(259, 'x'));
}

struct IntRow {
    std::string stored;
    unsigned expected;
};

const IntRow kIntRows[] = {
    {"12", 12},
    {"\x01\x02 12", 12},
    {"+12", 12},
    {"-12", 4294967284u},
    {"--5", 0},
    {"0x1F", 31},
    {"0X1F", 0},
    {"0o17", 15},
    {"0b101", 5},
    {"-0x10", 4294967280u},
    {"x", 0},
    {"", 7},
    {"12abc", 12},
    {"99999999999999999999", 1661992959u},
    {"4294967296", 0},
    {"4294967297", 1},
    {"-2147483649", 2147483647u},
    {"2147483648", 2147483648u},
    {"\"42\"", 42},
    {"'42'", 42},
    {"\"\"", 7},
    {std::string(31, '0') + "12", 0},  // cut to 29 characters
    {std::string(27, '0') + "12", 12},
    {"0x", 0},
    {"0xg", 0},
    {"+", 0},
    {"-", 0},
    {"1e3", 1},
    {"\xa0" "5", 0},
    {"0x7fffffff", 2147483647u},
    {"0xffffffff", 4294967295u},
    {"0x100000000", 0},
};

TEST(ProfileIntValue, Table) {
    for (const IntRow& row : kIntRows) {
        SCOPED_TRACE(row.stored);
        EXPECT_EQ(ProfileIntValue(row.stored, 7), row.expected);
    }
}

TEST(ParseProfileInt, DigitsBeyondTheBaseEndTheNumber) {
    EXPECT_EQ(ParseProfileInt("0b102"), 2u);
    EXPECT_EQ(ParseProfileInt("0o78"), 7u);
    EXPECT_EQ(ParseProfileInt("0xfg"), 15u);
    EXPECT_EQ(ParseProfileInt(" \t-3"), 4294967293u);
}

}  // namespace
