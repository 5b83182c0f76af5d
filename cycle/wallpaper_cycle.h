// One wallpaper change, from listing the image directory to the new desktop.
#pragma once

#include <windows.h>

#include "cycle_types.h"
#include "registry_key.h"

// Lists imageDir, chooses a position with history and options, records it in
// settingsKey at once, and makes the entry the wallpaper when it can be
// prepared; an unusable entry makes the run try again, at most 101 tries in
// all. A directory that cannot be listed, or holds no candidate, changes
// nothing. settingsKey is the caller's open settings key; the run closes it.
void CycleWallpaper(RegistryKey &settingsKey, const wchar_t *imageDir, RotationHistory history,
                    const CycleOptions &options);

// One run with the caller's switches, on the image directory and history in
// the store; "IsActive" and the stored switches are not consulted.
void ChangeNow(const CycleOptions &options);

// The logon run: every switch comes from the store, and nothing changes when
// "IsActive" is 0. Called through rundll32, whose four arguments it ignores.
extern "C" void CALLBACK AfterLogon(HWND window, HINSTANCE instance, LPSTR commandLine, int show);
