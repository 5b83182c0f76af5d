#include "choose_position.h"

namespace
{
// A position inside the list for any value: the history comes from the store,
// where anyone can write any 32-bit value, a negative one or the largest one,
// whose successor does not fit an int.
int WrapPosition(long long value, int count)
{
    const long long position = value % count;
    return static_cast<int>(position < 0 ? position + count : position);
}

bool RecentlyShown(int position, const RotationHistory &history)
{
    return position == history.h0 || position == history.h1 || position == history.h2;
}
}

int ChoosePosition(int count, const RotationHistory &history, int random, RandomDraw draw)
{
    if (!random || count <= 2)
        return WrapPosition(static_cast<long long>(history.h0) + 1, count);

    int position = WrapPosition(draw(), count);
    for (int rerollsLeft = 99; RecentlyShown(position, history); --rerollsLeft)
    {
        position = WrapPosition(draw(), count);
        if (rerollsLeft == 0)
            break;
    }
    return position;
}

void StartScreenChoices(const RotationHistory &history, ScreenChoices *choices)
{
    choices->before = history;
    choices->cursor = history.h0;
    choices->shownCount = 0;
    for (int i = 0; i < MaxImages; ++i)
        choices->failed[i] = false;
}

namespace
{
bool Listed(int position, const int *positions, int count)
{
    for (int i = 0; i < count; ++i)
        if (positions[i] == position)
            return true;
    return false;
}
}

int ChooseForScreen(int count, const ScreenChoices &choices, int random, RandomDraw draw)
{
    int usable = 0;
    for (int p = 0; p < count; ++p)
        usable += choices.failed[p] ? 0 : 1;
    if (usable == 0)
        return -1;
    if (!random)
    {
        for (int step = 1;; ++step)
        {
            const int position = WrapPosition(static_cast<long long>(choices.cursor) + step, count);
            if (!choices.failed[position])
                return position;
        }
    }

    // What to avoid, newest first: the oldest is let go first until some
    // usable position is left.
    int avoid[MaxMonitors + 3];
    int avoided = 0;
    const int before[3] = {choices.before.h0, choices.before.h1, choices.before.h2};
    const int shown = choices.shownCount;
    for (int i = 0; i < shown + 3; ++i)
    {
        const int position = i < shown ? choices.shown[shown - 1 - i] : before[i - shown];
        if (position >= 0 && position < count && !choices.failed[position] && !Listed(position, avoid, avoided))
            avoid[avoided++] = position;
    }
    if (avoided == usable)
        --avoided;

    int position = WrapPosition(draw(), count);
    for (int redraws = 0; redraws < 100 && (choices.failed[position] || Listed(position, avoid, avoided));
         ++redraws)
        position = WrapPosition(draw(), count);
    while (choices.failed[position] || Listed(position, avoid, avoided))
        position = (position + 1) % count;
    return position;
}
