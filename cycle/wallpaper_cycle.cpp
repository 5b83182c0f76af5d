// The wallpaper run, in the order it happens: list, choose, prepare, apply.
// Everything lives on this stack: no heap is used.
#include "wallpaper_cycle.h"

#include <stdlib.h>
#include <time.h>

#include "apply_wallpaper.h"
#include "choose_position.h"
#include "desktop_style.h"
#include "image_list.h"
#include "join_path.h"
#include "per_monitor_cycle.h"
#include "prepare_image.h"
#include "rotation_history.h"
#include "settings_key.h"

namespace
{
const int MaxRetries = 100; // after the first try: 101 tries in all

// What both runs read first: the directory and the history.
void ReadRunStart(RegistryKey &settingsKey, wchar_t (&imageDir)[MAX_PATH], RotationHistory &history)
{
    settingsKey.Open(SettingsKeyPath, 1);
    DWORD size = sizeof(imageDir);
    settingsKey.ReadString(ImageDirValue, imageDir, &size, DefaultImageDir);
    history.h0 = settingsKey.ReadDword(LastImageShownValue, DefaultLastImageShown);
    history.h1 = settingsKey.ReadDword(LastImageShown1Value, DefaultLastImageShown1);
    history.h2 = settingsKey.ReadDword(LastImageShown2Value, DefaultLastImageShown2);
}
}

void CycleWallpaper(RegistryKey &settingsKey, const wchar_t *imageDir, RotationHistory history,
                    const CycleOptions &options)
{
    ImageList list;
    if (!ListImages(imageDir, list) || list.count == 0)
    {
        settingsKey.Close();
        return;
    }
    MonitorList monitors;
    if (options.perMonitor && ListMonitors(&monitors) && monitors.count > 1 &&
        CyclePerMonitor(settingsKey, imageDir, list, history, options, monitors))
    {
        settingsKey.Close();
        return;
    }

    for (int retriesLeft = MaxRetries;; --retriesLeft)
    {
        // Reseeded before every try: two tries in the same second draw the
        // same numbers, and only the failed position is excluded anew.
        srand(static_cast<unsigned>(time(NULL)));
        const int position = ChoosePosition(list.count, history, options.random, rand);
        RecordChoice(settingsKey, position, history);

        // A name too long to join is as unusable as a file of no known type.
        wchar_t path[MAX_PATH];
        if (JoinPath(path, imageDir, list.names[position]) && PrepareImage(path, options.tile))
        {
            // One picture again after one for each monitor: the style the
            // user had comes back.
            RestoreUserStyle(settingsKey);
            ApplyWallpaper(path, options.tile, options.immediate);
            settingsKey.Close();
            return;
        }

        history.h0 = history.h1 = history.h2 = position;
        if (retriesLeft == 0)
            break;
    }
    settingsKey.Close();
}

void ChangeNow(const CycleOptions &options)
{
    RegistryKey settingsKey;
    wchar_t imageDir[MAX_PATH];
    RotationHistory history;
    ReadRunStart(settingsKey, imageDir, history);
    CycleWallpaper(settingsKey, imageDir, history, options);
}

extern "C" void CALLBACK AfterLogon(HWND, HINSTANCE, LPSTR, int)
{
    RegistryKey settingsKey;
    wchar_t imageDir[MAX_PATH];
    RotationHistory history;
    ReadRunStart(settingsKey, imageDir, history);
    // Every switch is read, so each missing one is written back even when
    // the run stops here.
    CycleOptions options;
    options.random = settingsKey.ReadDword(DoRandomSearchValue, DefaultDoRandomSearch);
    const int active = settingsKey.ReadDword(IsActiveValue, DefaultIsActive);
    options.tile = settingsKey.ReadDword(DoTileValue, DefaultDoTile);
    options.immediate = settingsKey.ReadDword(ImmediateChangeValue, DefaultImmediateChange);
    options.perMonitor = settingsKey.ReadDword(DoPerMonitorValue, DefaultDoPerMonitor);
    if (!active)
        return;
    CycleWallpaper(settingsKey, imageDir, history, options);
}
