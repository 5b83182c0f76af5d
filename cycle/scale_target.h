// The size a converted picture is made for: what the desktop's wallpaper
// style will do with it, on the monitors this user has.
#pragma once

#include <windows.h>

#include "desktop_style.h"
#include "monitor_list.h"

// A box and how the picture meets it, as the converter's scaled export takes
// them (0 cover, 1 fit inside, 2 each axis). An empty box: the picture's own
// size.
struct ScaleTarget
{
    UINT width;
    UINT height;
    int fit;
};
const ScaleTarget FullSizeTarget = {0, 0, 0};

// The target for style, tiled or not, over count monitors: the per-axis
// largest monitor for Fill, Fit and Stretch, the box around them all for
// Span. Full size when tiled, for another style, with no monitor, or when
// any monitor reports no size.
ScaleTarget TargetForStyle(int style, int tiled, const MonitorArea *monitors, int count);

// The target for this user's style and monitors now; tiled is the run's own
// tiling switch, which the run writes to the desktop's values.
ScaleTarget CurrentScaleTarget(int tiled);
