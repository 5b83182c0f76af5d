// Monitor layouts as the tests and scripts/monitors.sh write them: one
// "WxH+X+Y" word per monitor in Windows' virtual-screen coordinates
// ("1024x768-1024+312" lies left of the primary), the primary first, at +0+0.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "scale_target.h"

// One monitor as Windows reports it: the rectangle GetMonitorInfoW gives, and
// the current mode EnumDisplaySettingsW gives for its device (position and
// size; all zero when it gives none).
struct ReportedMonitor
{
    MonitorArea area;
    MonitorArea mode;
    bool primary;
};

// False when a word is not a monitor or there is none.
bool ParseMonitorLayout(const std::string &text, std::vector<MonitorArea> *monitors);
// The layout the program runs under, from VISTRANE_MONITORS; empty when it is
// unset or not a layout.
std::vector<MonitorArea> LayoutMonitors();
// Every monitor EnumDisplayMonitors lists, the primary first.
std::vector<ReportedMonitor> ReportedMonitors();
std::vector<MonitorArea> MonitorAreas(const std::vector<ReportedMonitor> &monitors);

std::string MonitorText(const MonitorArea &area);
// The words of a layout, the first kept first and the others by position, so
// two lists of the same monitors give the same text in whatever order they
// were listed.
std::string LayoutText(std::vector<MonitorArea> monitors);
