// The small rules of the bar: the close question, what a press does, the hint's text and place.
#include <gtest/gtest.h>

#include "app/button_action.h"
#include "app/close_rule.h"
#include "app/hint_text.h"
#include "base/bounded_text.h"
#include "res/resource.h"

TEST(CloseRule, AsksOnlyWhileChildrenAreWatched) {
    EXPECT_EQ(CloseQuestionId(0), 0);
    EXPECT_EQ(CloseQuestionId(1), IDS_CLOSE_ONE_CHILD);
    EXPECT_EQ(CloseQuestionId(3), IDS_CLOSE_CHILDREN);
}

TEST(ActionForButton, FollowsTheTypeAndIgnoresStrangeValues) {
    struct Row {
        int index;
        int type;
        ButtonAction action;
    };
    const Row rows[] = {
        {0, 0, ButtonAction::kRunCommand},  {49, 1, ButtonAction::kSelectMainFile},
        {3, 2, ButtonAction::kSelectFolder}, {4, 3, ButtonAction::kConfigure},
        {5, 4, ButtonAction::kHelpIndex},   {6, 5, ButtonAction::kAbout},
        {7, 6, ButtonAction::kNothing},     {8, 9, ButtonAction::kNothing},
        {8, -1, ButtonAction::kNothing},    {-1, 0, ButtonAction::kNothing},
        {50, 0, ButtonAction::kNothing},    {-498, 0, ButtonAction::kNothing},
    };
    for (const Row& row : rows) EXPECT_EQ(ActionForButton(row.index, row.type), row.action) << row.index;
}

TEST(Hint, LineBreaksBecomeCarriageReturnLineFeed) {
    char text[64];
    CopyText(text, "First line\\nSecond line\\");
    HintLineBreaks(text, sizeof text);
    EXPECT_STREQ(text, "First line\r\nSecond line\\");
}

TEST(Hint, PlacedBelowTheClickAndKeptOnScreen) {
    const HintPlace inside = PlaceHint(100, 100, 50, 20, 32, 1, 1, 1024, 768);
    EXPECT_EQ(inside.x, 100);
    EXPECT_EQ(inside.y, 116);
    EXPECT_EQ(inside.width, 60);
    EXPECT_EQ(inside.height, 30);
    const HintPlace corner = PlaceHint(1000, 760, 50, 20, 32, 1, 1, 1024, 768);
    EXPECT_EQ(corner.x, 1024 - 60);
    EXPECT_EQ(corner.y, 768 - 30);
}

TEST(Hint, TypeDescriptionsExistOnlyForTheSevenTypes) {
    EXPECT_EQ(TypeDescriptionId(0), IDS_HINT_EXECUTE);
    EXPECT_EQ(TypeDescriptionId(6), IDS_HINT_INVISIBLE);
    EXPECT_EQ(TypeDescriptionId(7), 0);
    EXPECT_EQ(TypeDescriptionId(-56), 0);
}
