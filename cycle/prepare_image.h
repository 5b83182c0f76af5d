// Deciding whether a chosen entry can become the wallpaper.
#pragma once

#include <windows.h>

// True when path can be used as the wallpaper: a bitmap as it is, or another
// picture (image_type.h) once the converter has made a bitmap of it, in which
// case path is rewritten to name that bitmap. Anything else, or a picture
// that cannot be converted (damaged, or with no codec on this PC), leaves
// path as it was and is false. A converted picture is made no larger than
// the desktop's style will show it (scale_target.h); tiled is the run's
// tiling switch.
bool PrepareImage(wchar_t (&path)[MAX_PATH], int tiled);
