// Windows scales a wallpaper itself when it shows it, but only after the
// whole picture has been decoded, written and loaded; a bitmap made at the
// size the style will show keeps every logon from writing and loading far
// more pixels than any monitor shows.
#include "scale_target.h"

#include "registry_key.h"
#include "settings_key.h"

namespace
{
// More monitors than any desk has; the rest are left out of the box.
const int MaxMonitors = 16;

struct MonitorList
{
    MonitorArea areas[MaxMonitors];
    int count;
    bool unknown; // a monitor whose size could not be told
};

// The monitor's current mode, in physical pixels whatever this process's
// DPI awareness makes of its rectangle.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    MonitorList *list = reinterpret_cast<MonitorList *>(context);
    MONITORINFOEXW info;
    info.cbSize = sizeof(info);
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    if (!GetMonitorInfoW(monitor, &info) || !EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
    {
        list->unknown = true;
        return FALSE;
    }
    if (list->count < MaxMonitors)
    {
        MonitorArea &area = list->areas[list->count++];
        area.left = mode.dmPosition.x;
        area.top = mode.dmPosition.y;
        area.width = mode.dmPelsWidth;
        area.height = mode.dmPelsHeight;
    }
    return TRUE;
}

// The decimal number Windows' settings write as the style's text; -1 for a
// value that is missing, of another type, or not such a number. Nothing is
// written back: the value is the user's own Windows setting.
int ReadWallpaperStyle()
{
    RegistryKey desktop;
    desktop.Open(DesktopKeyPath, 1);
    wchar_t text[8];
    DWORD type = 0, bytes = sizeof(text);
    if (desktop.Query(WallpaperStyleValue, &type, reinterpret_cast<BYTE *>(text), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ || bytes % sizeof(wchar_t) != 0)
        return -1;
    const DWORD length = bytes / sizeof(wchar_t);
    int style = 0, digits = 0;
    for (DWORD i = 0; i < length && text[i] != L'\0'; ++i, ++digits)
    {
        if (text[i] < L'0' || text[i] > L'9' || digits == 3)
            return -1;
        style = style * 10 + (text[i] - L'0');
    }
    return digits == 0 ? -1 : style;
}
}

ScaleTarget TargetForStyle(int style, int tiled, const MonitorArea *monitors, int count)
{
    int fit = 0;
    switch (style)
    {
    case FillStyle:
    case SpanStyle:
        fit = 0;
        break;
    case FitStyle:
        fit = 1;
        break;
    case StretchStyle:
        fit = 2;
        break;
    default:
        return FullSizeTarget;
    }
    if (tiled || count <= 0)
        return FullSizeTarget;
    long long left = monitors[0].left, top = monitors[0].top, right = left, bottom = top;
    UINT widest = 0, tallest = 0;
    for (int i = 0; i < count; ++i)
    {
        const MonitorArea &area = monitors[i];
        if (area.width == 0 || area.height == 0)
            return FullSizeTarget;
        widest = area.width > widest ? area.width : widest;
        tallest = area.height > tallest ? area.height : tallest;
        left = area.left < left ? area.left : left;
        top = area.top < top ? area.top : top;
        right = area.left + static_cast<long long>(area.width) > right ? area.left + area.width : right;
        bottom = area.top + static_cast<long long>(area.height) > bottom ? area.top + area.height : bottom;
    }
    ScaleTarget target = {widest, tallest, fit};
    if (style == SpanStyle)
    {
        if (right - left > 0xFFFFFFFFll || bottom - top > 0xFFFFFFFFll)
            return FullSizeTarget;
        target.width = static_cast<UINT>(right - left);
        target.height = static_cast<UINT>(bottom - top);
    }
    return target;
}

ScaleTarget CurrentScaleTarget(int tiled)
{
    const int style = ReadWallpaperStyle();
    if (tiled || style < 0)
        return FullSizeTarget;
    MonitorList list = {};
    if (!EnumDisplayMonitors(NULL, NULL, &AddMonitor, reinterpret_cast<LPARAM>(&list)) || list.unknown)
        return FullSizeTarget;
    return TargetForStyle(style, tiled, list.areas, list.count);
}
