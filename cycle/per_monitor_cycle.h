// The wallpaper run that gives each monitor a picture of its own.
#pragma once

#include "cycle_types.h"
#include "monitor_list.h"
#include "registry_key.h"

// Chooses a picture of list for each of monitors (two or more), converts
// each for its monitor, puts them together into the converted bitmap and
// makes it the wallpaper, tiled from the primary monitor's corner. Each
// choice is recorded in settingsKey at once, as for one monitor; a picture
// that cannot be shown makes the run try another for that monitor. The
// user's own style places each picture on its monitor and is kept in
// settingsKey for when the run shows one picture again. True when the run
// is over, shown or with nothing usable (the wallpaper then stays as it
// was); false, with nothing changed, when it cannot start (the converter
// cannot put pictures together, or no folder takes the bitmap), and the
// caller shows one picture instead.
bool CyclePerMonitor(RegistryKey &settingsKey, const wchar_t *imageDir, const ImageList &list,
                     const RotationHistory &history, const CycleOptions &options, const MonitorList &monitors);
