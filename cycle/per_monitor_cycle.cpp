// Each picture is converted for its own monitor into a temporary file of its
// own, scaled as for one monitor (a photo is never held larger than its
// monitor shows it), then the converter puts them together a band at a
// time into this run's temporary file, which replaces the converted bitmap
// in one step, as for one monitor. Windows tiles a wallpaper from the
// primary monitor's top-left corner on every monitor, so a bitmap of the
// virtual screen's size, rolled to start at that corner, shows each
// monitor exactly its own part, monitors at negative coordinates included.
#include "per_monitor_cycle.h"

#include <stdlib.h>
#include <time.h>

#include "apply_wallpaper.h"
#include "choose_position.h"
#include "converted_bitmap.h"
#include "desktop_style.h"
#include "image_type.h"
#include "join_path.h"
#include "pending_bitmap.h"
#include "rotation_history.h"

namespace
{
// Monitors left to right, then top to bottom: consecutive pictures go
// across the desk as it stands.
void OrderMonitors(const MonitorList &monitors, MonitorArea (&ordered)[MaxMonitors])
{
    for (int i = 0; i < monitors.count; ++i)
    {
        const MonitorArea area = monitors.areas[i];
        int at = i;
        for (; at > 0 && (ordered[at - 1].left > area.left ||
                          (ordered[at - 1].left == area.left && ordered[at - 1].top > area.top));
             --at)
            ordered[at] = ordered[at - 1];
        ordered[at] = area;
    }
}

// The style places a picture on its own monitor as it would place it on one
// screen; Span, across the monitors, means Fill on each. A style the run
// does not know shows every pixel at its own size.
int PlacementForStyle(int style, int tile)
{
    if (tile)
        return PieceTile;
    switch (style)
    {
    case FillStyle:
    case SpanStyle:
        return PieceFill;
    case FitStyle:
        return PieceFit;
    case StretchStyle:
        return PieceStretch;
    default:
        return PieceCenter;
    }
}

// The size a picture is converted at for a monitor: what placement shows of
// it there, or all of it when it shows every pixel. Fill, Fit and Stretch
// have the numbers of the scaled conversion's cover, fit and each axis.
ScaleTarget TargetForPlacement(int placement, const MonitorArea &monitor)
{
    if (placement == PieceCenter || placement == PieceTile)
        return FullSizeTarget;
    const ScaleTarget target = {monitor.width, monitor.height, placement};
    return target;
}

struct ScreenRun
{
    RegistryKey &settingsKey;
    const wchar_t *imageDir;
    const ImageList &list;
    int random;
    ImageConverter convert;
    ScreenChoices choices;
    RotationHistory recent; // the latest three shown, this run's included
};

// Converts a picture for one monitor into piece, choosing again until one
// converts. False when every entry failed.
bool ShowOnMonitor(ScreenRun &run, const wchar_t *piece, const ScaleTarget &target)
{
    for (;;)
    {
        const int position = ChooseForScreen(run.list.count, run.choices, run.random, rand);
        if (position < 0)
            return false;
        RecordChoice(run.settingsKey, position, run.recent);
        run.choices.cursor = position;
        wchar_t path[MAX_PATH];
        if (JoinPath(path, run.imageDir, run.list.names[position]) && ClassifyImage(path) != UnusableImage &&
            RunImageConverter(run.convert, path, piece, target))
        {
            run.choices.shown[run.choices.shownCount++] = position;
            const RotationHistory recent = {position, run.recent.h0, run.recent.h1};
            run.recent = recent;
            return true;
        }
        run.choices.failed[position] = true;
    }
}
}

bool CyclePerMonitor(RegistryKey &settingsKey, const wchar_t *imageDir, const ImageList &list,
                     const RotationHistory &history, const CycleOptions &options, const MonitorList &monitors)
{
    ScreenRun run = {settingsKey, imageDir, list, options.random, LoadImageConverter(), {}, history};
    wchar_t pending[MAX_PATH];
    wchar_t converted[MAX_PATH];
    // A style that could not be given back exactly keeps the run to one
    // picture.
    if (run.convert.compose == NULL || run.convert.scaled == NULL || !UserStyleKeepable() ||
        !PrepareBitmapPaths(pending, converted))
        return false;
    const int placement = PlacementForStyle(UserWallpaperStyle(), options.tile);
    MonitorArea ordered[MaxMonitors];
    OrderMonitors(monitors, ordered);
    StartScreenChoices(history, &run.choices);
    // Seeded once: reseeded per try within one second, every monitor would
    // draw the same numbers.
    srand(static_cast<unsigned>(time(NULL)));

    wchar_t pieces[MaxMonitors][MAX_PATH];
    const wchar_t *piecePaths[MaxMonitors];
    RECT areas[MaxMonitors];
    int made = 0;
    bool shown = true;
    for (; shown && made < monitors.count; ++made)
    {
        const MonitorArea &monitor = ordered[made];
        const RECT area = {monitor.left, monitor.top, static_cast<LONG>(monitor.left + monitor.width),
                           static_cast<LONG>(monitor.top + monitor.height)};
        areas[made] = area;
        piecePaths[made] = pieces[made];
        shown = PendingPiecePath(pending, made, pieces[made]) &&
                ShowOnMonitor(run, pieces[made], TargetForPlacement(placement, monitor));
    }
    // A rename within one folder, as for one picture: readers see the old
    // bitmap or the new one.
    shown = shown &&
            RunImageComposer(run.convert, pending, static_cast<UINT>(made), piecePaths, areas, placement) &&
            MoveFileExW(pending, converted, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    for (int i = 0; i < made; ++i)
        DeleteFileW(pieces[i]);
    if (!shown)
    {
        DeleteFileW(pending);
        return true;
    }
    // Kept only now that the desktop is made to tile: a run that shows
    // nothing leaves the user free to change the style meanwhile.
    if (RememberUserStyle(settingsKey))
        ApplyWallpaper(converted, 1, options.immediate);
    return true;
}
