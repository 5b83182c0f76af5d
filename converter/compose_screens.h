// One composite: the bitmaps made for each monitor in, one bitmap of the
// whole virtual screen out.
#pragma once

#include <windows.h>

#include "write_composite.h"

// Writes the composite of pieces (write_composite.h) at destination, each
// placed by placement, the desktop colour around them. On any failure no
// file is left at destination unless one was there and could not be
// replaced, which is then left as it was.
int ComposeScreenFile(const wchar_t *destination, const ScreenPiece *pieces, UINT count, int placement);
