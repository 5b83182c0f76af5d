// Windows scales a wallpaper itself when it shows it, but only after the
// whole picture has been decoded, written and loaded; a bitmap made at the
// size the style will show keeps every logon from writing and loading far
// more pixels than any monitor shows.
#include "scale_target.h"

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
    const int style = UserWallpaperStyle();
    if (tiled || style < 0)
        return FullSizeTarget;
    MonitorList list;
    if (!ListMonitors(&list))
        return FullSizeTarget;
    return TargetForStyle(style, tiled, list.areas, list.count);
}
