// Deciding whether a chosen entry can become the wallpaper.
#pragma once

#include <windows.h>

// True when path can be used as the wallpaper: a bitmap as it is, or a JPEG
// once the converter has made a bitmap of it, in which case path is rewritten
// to name that bitmap. Anything else, or a JPEG that cannot be converted,
// leaves path as it was and is false.
bool PrepareImage(wchar_t (&path)[MAX_PATH]);
