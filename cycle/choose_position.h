// Choosing the ImageList position of the next picture.
#pragma once

#include "cycle_types.h"

// The generator's next number, never negative: rand in a real run.
typedef int(__cdecl *RandomDraw)();

// In turn, the position after history.h0. At random (random non-zero and more
// than two entries), a drawn position that is none of the last three, drawn
// again at most 100 times; the hundredth redraw is taken as it comes, so a
// list with only three entries still gets an answer. Always a position from
// 0 to count - 1, whatever the history holds. count must be at least 1.
int ChoosePosition(int count, const RotationHistory &history, int random, RandomDraw draw);
