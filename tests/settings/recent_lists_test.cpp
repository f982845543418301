// Recent-list moves and the position text of a recent file: table-driven, platform-free.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "settings/recent_lists.h"

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
