// The monitors this user's desktop spans, as the wallpaper sees them.
#pragma once

#include <windows.h>

// A monitor's place on the virtual screen, in physical pixels; the primary
// monitor's top-left corner is 0, 0.
struct MonitorArea
{
    LONG left;
    LONG top;
    UINT width;
    UINT height;
};

// More monitors than any desk has; the rest are left out.
const int MaxMonitors = 16;

struct MonitorList
{
    MonitorArea areas[MaxMonitors];
    int count;
};

// Each monitor's current mode, in physical pixels whatever this process's
// DPI awareness makes of its rectangle. False when the monitors cannot be
// listed or one of them cannot tell its mode.
bool ListMonitors(MonitorList *list);
