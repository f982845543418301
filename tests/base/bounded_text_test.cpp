// Bounded copy, append and format: every result terminates inside its buffer and says whether it cut.
#include "base/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct CopyRow {
    const char* name;
    std::string source;
    const char* expected;
    bool whole;
};

// A buffer of 8 bytes holds 7 characters and the NUL.
const CopyRow kCopyRows[] = {
    {"empty", "", "", true},
    {"short", "abc", "abc", true},
    {"fits at the last byte", "1234567", "1234567", true},
    {"cut by one", "12345678", "1234567", false},
    {"cut by many", "1234567890abcdef", "1234567", false},
};

TEST(CopyText, Table) {
    for (const CopyRow& row : kCopyRows) {
        SCOPED_TRACE(row.name);
        char buffer[8];
        std::memset(buffer, 'X', sizeof buffer);
        EXPECT_EQ(CopyText(buffer, row.source), row.whole);
        EXPECT_STREQ(buffer, row.expected);
    }
}

TEST(CopyText, NeverWritesPastTheBuffer) {
    char block[16];
    std::memset(block, '#', sizeof block);
    EXPECT_FALSE(text::CopyInto(block, 4, "abcdefgh"));
    EXPECT_STREQ(block, "abc");
    for (std::size_t i = 4; i < sizeof block; ++i) EXPECT_EQ(block[i], '#') << "byte " << i;
}

TEST(CopyText, ZeroRoomTakesOnlyEmptyText) {
    char untouched = 'Q';
    EXPECT_TRUE(text::CopyInto(&untouched, 0, ""));
    EXPECT_FALSE(text::CopyInto(&untouched, 0, "a"));
    EXPECT_EQ(untouched, 'Q');
}

TEST(CopyText, OverlappingSourceMovesWithinTheBuffer) {
    char buffer[16] = "abcdefgh";
    EXPECT_TRUE(text::CopyInto(buffer, sizeof buffer, std::string_view(buffer + 2, 4)));
    EXPECT_STREQ(buffer, "cdef");
}

struct AppendRow {
    const char* name;
    const char* start;
    const char* tail;
    const char* expected;
    bool whole;
};

const AppendRow kAppendRows[] = {
    {"into empty", "", "abc", "abc", true},
    {"fits at the last byte", "abc", "defg", "abcdefg", true},
    {"cut by one", "abc", "defgh", "abcdefg", false},
    {"into a full buffer", "1234567", "x", "1234567", false},
    {"nothing into a full buffer", "1234567", "", "1234567", true},
};

TEST(AppendText, Table) {
    for (const AppendRow& row : kAppendRows) {
        SCOPED_TRACE(row.name);
        char buffer[8];
        std::memset(buffer, 'X', sizeof buffer);
        CopyText(buffer, row.start);
        EXPECT_EQ(AppendText(buffer, row.tail), row.whole);
        EXPECT_STREQ(buffer, row.expected);
    }
}

TEST(AppendText, UnterminatedBufferIsCutAndTerminated) {
    char block[12];
    std::memset(block, '#', sizeof block);
    char* buffer = block;  // the first 8 bytes are the buffer, all without a NUL
    std::memset(buffer, 'A', 8);
    EXPECT_FALSE(text::AppendInto(buffer, 8, "b"));
    EXPECT_EQ(std::string(buffer, 7), "AAAAAAA");
    EXPECT_EQ(buffer[7], '\0');
    for (std::size_t i = 8; i < sizeof block; ++i) EXPECT_EQ(block[i], '#') << "byte " << i;
}

struct FormatRow {
    const char* name;
    int value;
    const char* expected;
    bool whole;
};

// "n=%d" into 8 bytes: up to 5 digits fit.
const FormatRow kFormatRows[] = {
    {"short", 7, "n=7", true},
    {"fits at the last byte", 12345, "n=12345", true},
    {"cut by one", 123456, "n=12345", false},
    {"negative cut", -1234567, "n=-1234", false},
};

TEST(FormatText, Table) {
    for (const FormatRow& row : kFormatRows) {
        SCOPED_TRACE(row.name);
        char buffer[8];
        std::memset(buffer, 'X', sizeof buffer);
        EXPECT_EQ(FormatText(buffer, "n=%d", row.value), row.whole);
        EXPECT_STREQ(buffer, row.expected);
    }
}

TEST(FormatText, StringArgumentIsCut) {
    char buffer[6];
    EXPECT_FALSE(FormatText(buffer, "%s%d", "Title", 12));
    EXPECT_STREQ(buffer, "Title");
    EXPECT_TRUE(text::FormatInto(buffer, sizeof buffer, "%s%d", "Tip", 1));
    EXPECT_STREQ(buffer, "Tip1");
}

TEST(FieldText, StopsAtTheNulOrTheFieldEnd) {
    char terminated[8] = "ab";
    EXPECT_EQ(FieldText(terminated), "ab");
    char full[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(FieldText(full), "wxyz");
    EXPECT_EQ(text::BoundedLength(full, 3), 3u);
}

}  // namespace
