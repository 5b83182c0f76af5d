// Choosing the ImageList position of the next picture.
#pragma once

#include "cycle_types.h"
#include "monitor_list.h"

// The generator's next number, never negative: rand in a real run.
typedef int(__cdecl *RandomDraw)();

// In turn, the position after history.h0. At random (random non-zero and more
// than two entries), a drawn position that is none of the last three, drawn
// again at most 100 times; the hundredth redraw is taken as it comes, so a
// list with only three entries still gets an answer. Always a position from
// 0 to count - 1, whatever the history holds. count must be at least 1.
int ChoosePosition(int count, const RotationHistory &history, int random, RandomDraw draw);

// What a run that shows a picture on each monitor has chosen so far.
struct ScreenChoices
{
    RotationHistory before; // the last three shown before this run
    int cursor;             // the position tried last: in turn goes on after it
    int shown[MaxMonitors]; // the positions shown on the monitors so far
    int shownCount;
    bool failed[MaxImages]; // positions that could not be shown in this run
};

// The choices of a run that starts after history.
void StartScreenChoices(const RotationHistory &history, ScreenChoices *choices);

// The position for the next monitor, or -1 when every position failed.
// Never one that failed in this run. In turn, the first after the cursor.
// At random, one neither shown in this run nor among the last three before
// it, as far as the list allows: with too few entries left the oldest of
// those is allowed again. Redrawn at most 100 times, then the first allowed one after the last
// draw is taken. count must be at least 1 and at most MaxImages.
int ChooseForScreen(int count, const ScreenChoices &choices, int random, RandomDraw draw);
