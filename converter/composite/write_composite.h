// The bitmap of the whole virtual screen, each monitor's part its own
// picture, for the desktop to tile.
#pragma once

#include <windows.h>

#include "convert_result.h"
#include "destination_file.h"

// One monitor and the bitmap made for it: its rectangle in physical pixels
// on the virtual screen, where the primary monitor's top-left corner is 0, 0.
struct ScreenPiece
{
    const wchar_t *bitmap;
    RECT area;
};

// The most monitors one composite holds.
const UINT MaxScreenPieces = 16;

// Creates file and writes the bitmap of the box around every area, each
// area holding its piece placed by placement (a ScreenPlacement) and the
// desktop colour background (a COLORREF) everywhere else. It is rolled so
// that the virtual screen's 0, 0 is the bitmap's top-left pixel: tiled from
// the primary monitor's corner, as the desktop tiles, each monitor shows its
// own part. Rows are made a band at a time; besides that band, each piece
// holds two of its rows.
ConvertResult WriteComposite(const ScreenPiece *pieces, UINT count, int placement, COLORREF background,
                             DestinationFile &file);
