// The user's own wallpaper style: how the desktop places a picture, as the
// user chose it in Windows' settings, also while a picture for several
// monitors has the desktop tile.
#pragma once

#include "registry_key.h"

// "WallpaperStyle" values under "Control Panel\Desktop" that the run scales
// for; every other value (Center, 0, among them) shows every pixel at its own
// size.
const int CenterStyle = 0;
const int StretchStyle = 2;
const int FitStyle = 6;
const int FillStyle = 10;
const int SpanStyle = 22;

// The style as the decimal number Windows' settings write as its text: the
// one kept while the desktop tiles a picture for several monitors, else the
// desktop's. -1 for a value that is missing, of another type, or not such a
// number. Nothing is written: the value is the user's own.
int UserWallpaperStyle();

// True when the desktop's "WallpaperStyle" and "TileWallpaper" are of a kind
// and length RememberUserStyle keeps exactly.
bool UserStyleKeepable();

// As the desktop is made to tile a picture for several monitors: keeps its
// "WallpaperStyle" and "TileWallpaper" in settingsKey, unless it already
// keeps them and the desktop still has the values such a picture set (the
// user changed nothing since). False, with nothing kept, when a value could
// not be written back exactly.
bool RememberUserStyle(RegistryKey &settingsKey);

// Forgets the values RememberUserStyle kept, if any, and gives them back to
// the desktop unless the user has chosen others there since.
void RestoreUserStyle(RegistryKey &settingsKey);
