#include "monitor_layout.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

namespace
{
// "+N" or "-N" at text; advances it past the number.
bool ReadOffset(const char *&text, LONG *value)
{
    if (*text != '+' && *text != '-')
        return false;
    char *end = NULL;
    const long number = strtol(text, &end, 10);
    if (end <= text + 1 || number < -65535 || number > 65535)
        return false;
    text = end;
    *value = number;
    return true;
}

bool ReadSize(const char *&text, UINT *value)
{
    if (*text < '0' || *text > '9')
        return false;
    char *end = NULL;
    const unsigned long number = strtoul(text, &end, 10);
    if (number == 0 || number > 65535)
        return false;
    text = end;
    *value = static_cast<UINT>(number);
    return true;
}

bool ParseMonitor(const std::string &word, MonitorArea *area)
{
    const char *text = word.c_str();
    return ReadSize(text, &area->width) && *text++ == 'x' && ReadSize(text, &area->height) &&
           ReadOffset(text, &area->left) && ReadOffset(text, &area->top) && *text == '\0';
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    std::vector<ReportedMonitor> *list = reinterpret_cast<std::vector<ReportedMonitor> *>(context);
    MONITORINFOEXW info;
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    ReportedMonitor reported = {};
    const RECT &rect = info.rcMonitor;
    reported.area = {rect.left, rect.top, static_cast<UINT>(rect.right - rect.left),
                     static_cast<UINT>(rect.bottom - rect.top)};
    reported.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
        reported.mode = {mode.dmPosition.x, mode.dmPosition.y, mode.dmPelsWidth, mode.dmPelsHeight};
    list->push_back(reported);
    return TRUE;
}
}

bool ParseMonitorLayout(const std::string &text, std::vector<MonitorArea> *monitors)
{
    monitors->clear();
    size_t start = text.find_first_not_of(' ');
    while (start != std::string::npos)
    {
        const size_t end = text.find(' ', start);
        MonitorArea area;
        if (!ParseMonitor(text.substr(start, end - start), &area))
            return false;
        monitors->push_back(area);
        start = end == std::string::npos ? end : text.find_first_not_of(' ', end);
    }
    return !monitors->empty();
}

std::vector<MonitorArea> LayoutMonitors()
{
    wchar_t value[512];
    const DWORD length = GetEnvironmentVariableW(L"VISTRANE_MONITORS", value, ARRAYSIZE(value));
    std::vector<MonitorArea> monitors;
    if (length == 0 || length >= ARRAYSIZE(value))
        return monitors;
    // A layout is plain ASCII: anything else is no layout.
    std::string text;
    for (DWORD i = 0; i < length; ++i)
        text += value[i] < 0x80 ? static_cast<char>(value[i]) : '?';
    if (!ParseMonitorLayout(text, &monitors))
        monitors.clear();
    return monitors;
}

std::vector<ReportedMonitor> ReportedMonitors()
{
    std::vector<ReportedMonitor> monitors;
    if (!EnumDisplayMonitors(NULL, NULL, &AddMonitor, reinterpret_cast<LPARAM>(&monitors)))
        monitors.clear();
    std::stable_partition(monitors.begin(), monitors.end(), [](const ReportedMonitor &m) { return m.primary; });
    return monitors;
}

std::vector<MonitorArea> MonitorAreas(const std::vector<ReportedMonitor> &monitors)
{
    std::vector<MonitorArea> areas;
    for (const ReportedMonitor &monitor : monitors)
        areas.push_back(monitor.area);
    return areas;
}

std::string MonitorText(const MonitorArea &area)
{
    char text[64];
    snprintf(text, sizeof(text), "%ux%u%+ld%+ld", area.width, area.height, static_cast<long>(area.left),
             static_cast<long>(area.top));
    return text;
}

std::string LayoutText(std::vector<MonitorArea> monitors)
{
    if (monitors.size() > 1)
        std::sort(monitors.begin() + 1, monitors.end(), [](const MonitorArea &a, const MonitorArea &b) {
            return a.left != b.left ? a.left < b.left : a.top < b.top;
        });
    std::string text;
    for (const MonitorArea &area : monitors)
        text += (text.empty() ? "" : " ") + MonitorText(area);
    return text;
}
