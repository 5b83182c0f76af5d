// The size a converted picture is made for: what the desktop's wallpaper
// style will do with it, on the monitors this user has.
#pragma once

#include <windows.h>

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

// "WallpaperStyle" values under "Control Panel\Desktop" that the run scales
// for; every other value (Center, 0, among them) shows every pixel at its own
// size.
const int StretchStyle = 2;
const int FitStyle = 6;
const int FillStyle = 10;
const int SpanStyle = 22;

// A monitor's place on the virtual screen, in physical pixels.
struct MonitorArea
{
    LONG left;
    LONG top;
    UINT width;
    UINT height;
};

// The target for style, tiled or not, over count monitors: the per-axis
// largest monitor for Fill, Fit and Stretch, the box around them all for
// Span. Full size when tiled, for another style, with no monitor, or when
// any monitor reports no size.
ScaleTarget TargetForStyle(int style, int tiled, const MonitorArea *monitors, int count);

// The target for this user's style and monitors now; tiled is the run's own
// tiling switch, which the run writes to the desktop's values.
ScaleTarget CurrentScaleTarget(int tiled);
