#include "monitor_list.h"

namespace
{
struct Listing
{
    MonitorList *list;
    bool unknown; // a monitor whose mode could not be told
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    Listing *listing = reinterpret_cast<Listing *>(context);
    MONITORINFOEXW info;
    info.cbSize = sizeof(info);
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    if (!GetMonitorInfoW(monitor, &info) || !EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
    {
        listing->unknown = true;
        return FALSE;
    }
    MonitorList &list = *listing->list;
    if (list.count < MaxMonitors)
    {
        MonitorArea &area = list.areas[list.count++];
        area.left = mode.dmPosition.x;
        area.top = mode.dmPosition.y;
        area.width = mode.dmPelsWidth;
        area.height = mode.dmPelsHeight;
    }
    return TRUE;
}
}

bool ListMonitors(MonitorList *list)
{
    list->count = 0;
    Listing listing = {list, false};
    return EnumDisplayMonitors(NULL, NULL, &AddMonitor, reinterpret_cast<LPARAM>(&listing)) && !listing.unknown;
}
