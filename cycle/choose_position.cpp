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
