// Choosing a position, with the generator replaced by a scripted sequence so
// every reroll can be counted.
#include <gtest/gtest.h>

#include <limits.h>

#include "choose_position.h"

namespace
{
const int *Script = NULL;
int Draws = 0;

int __cdecl ScriptedDraw()
{
    return Script[Draws++];
}

int Choose(int count, RotationHistory history, int random, const int *script)
{
    Script = script;
    Draws = 0;
    return ChoosePosition(count, history, random, ScriptedDraw);
}

TEST(ChoosePosition, InTurnTakesThePositionAfterTheLatest)
{
    const RotationHistory afterLast = {4, 3, 2};
    EXPECT_EQ(Choose(5, afterLast, 0, NULL), 0) << "after the last of 5 comes the first";
    const RotationHistory middle = {1, 0, 3};
    EXPECT_EQ(Choose(4, middle, 0, NULL), 2);
    const RotationHistory shrunk = {9, 8, 7};
    EXPECT_EQ(Choose(4, shrunk, 0, NULL), 2) << "a directory that shrank: 10 mod 4";
}

TEST(ChoosePosition, StoredValuesFromOutsideStayInsideTheList)
{
    const RotationHistory negative = {-7, 0, 0};
    EXPECT_EQ(Choose(4, negative, 0, NULL), 2) << "-6 wraps to 2 of 4";
    const RotationHistory largest = {INT_MAX, 0, 0};
    EXPECT_EQ(Choose(3, largest, 0, NULL), static_cast<int>((static_cast<long long>(INT_MAX) + 1) % 3));
    const RotationHistory smallest = {INT_MIN, 0, 0};
    const int p = Choose(7, smallest, 0, NULL);
    EXPECT_GE(p, 0);
    EXPECT_LT(p, 7);
}

TEST(ChoosePosition, RandomWithOneOrTwoEntriesGoesInTurn)
{
    const int never[] = {0};
    const RotationHistory first = {0, 1, 2};
    EXPECT_EQ(Choose(2, first, 1, never), 1);
    EXPECT_EQ(Draws, 0) << "two entries must not draw at all";
    const RotationHistory second = {1, 0, 1};
    EXPECT_EQ(Choose(2, second, 1, never), 0) << "two entries alternate";
    EXPECT_EQ(Choose(1, second, 1, never), 0);
}

TEST(ChoosePosition, RandomRedrawsWhileTheDrawWasShownLately)
{
    const RotationHistory history = {3, 0, 5};
    const int script[] = {3, 6, 12, 7, 4};
    // 3, 0 (6 mod 6) and 0 (12 mod 6) were shown lately; 7 mod 6 = 1 was not.
    EXPECT_EQ(Choose(6, history, 1, script), 1);
    EXPECT_EQ(Draws, 4);

    const int fresh[] = {2};
    EXPECT_EQ(Choose(6, history, 1, fresh), 2);
    EXPECT_EQ(Draws, 1) << "a first draw outside the history is taken at once";
}

TEST(ChoosePosition, TheHundredthRedrawIsTakenAsItComes)
{
    // Three entries all in the history: every draw is rejected.
    int script[200];
    for (int i = 0; i < 200; ++i)
        script[i] = i;
    const RotationHistory history = {2, 0, 1};
    const int p = Choose(3, history, 1, script);
    EXPECT_EQ(Draws, 101) << "one draw and at most 100 redraws";
    EXPECT_EQ(p, 100 % 3);
}

// Choosing for each monitor in turn: rows of what the run has done so far
// and the draws the generator gives.
TEST(ChooseForScreen, NeverAFailedOneAndAsFewRepeatsAsTheListAllows)
{
    struct Row
    {
        const char *what;
        int count, random;
        RotationHistory before;
        int shown[3], shownCount;
        int failed[3], failedCount;
        int script[4];
        int expected;
    } rows[] = {
        {"in turn, after the cursor", 5, 0, {1, 0, 4}, {}, 0, {}, 0, {}, 2},
        {"in turn, past a failed one", 5, 0, {3, 2, 1}, {}, 0, {4}, 1, {}, 0},
        {"in turn, every one failed", 2, 0, {0, 1, 1}, {}, 0, {0, 1}, 2, {}, -1},
        {"at random, none shown now or in the last three", 6, 1, {3, 0, 5}, {1}, 1, {}, 0, {3, 1, 0, 8}, 2},
        {"at random, never a failed one", 6, 1, {3, 0, 5}, {}, 0, {2, 4}, 2, {2, 4, 1}, 1},
        {"at random, the oldest of the last three again when nothing else is left", 4, 1, {0, 1, 2}, {3}, 1, {},
         0, {3, 4, 1, 2}, 2},
        {"at random, the only usable one", 3, 1, {2, 2, 2}, {}, 0, {0, 1}, 2, {0, 1, 2}, 2},
    };
    for (const Row &row : rows)
    {
        ScreenChoices choices;
        StartScreenChoices(row.before, &choices);
        for (int i = 0; i < row.shownCount; ++i)
            choices.shown[choices.shownCount++] = row.shown[i];
        for (int i = 0; i < row.failedCount; ++i)
            choices.failed[row.failed[i]] = true;
        Script = row.script;
        Draws = 0;
        EXPECT_EQ(ChooseForScreen(row.count, choices, row.random, ScriptedDraw), row.expected) << row.what;
    }

    // Redraws that never leave what is to be avoided end at the first
    // allowed position after the last draw.
    int zeros[101] = {};
    ScreenChoices choices;
    StartScreenChoices(RotationHistory{0, 1, 2}, &choices);
    Script = zeros;
    Draws = 0;
    EXPECT_EQ(ChooseForScreen(5, choices, 1, ScriptedDraw), 3);
    EXPECT_EQ(Draws, 101);
}
}
