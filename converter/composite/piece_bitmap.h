// A bitmap this library wrote for one monitor, read back a row at a time.
#pragma once

#include <windows.h>

#include "bitmap_geometry.h"

class PieceBitmap
{
public:
    PieceBitmap();
    ~PieceBitmap();
    PieceBitmap(const PieceBitmap &) = delete;
    PieceBitmap &operator=(const PieceBitmap &) = delete;

    // Opens the file for reading. False unless it is the kind of bitmap this
    // library writes (24 bits, bottom-up, uncompressed, headers of their
    // usual size) and holds every row its headers promise.
    bool Open(const wchar_t *path);

    UINT Width() const { return geometry.width; }
    UINT Height() const { return geometry.height; }

    // Row y, counted from the top, as BGR; NULL when it cannot be read. The
    // two rows asked for last stay valid, so a row and the one below it can
    // be blended.
    const BYTE *Row(UINT y);

private:
    HANDLE file;
    BitmapGeometry geometry;
    BYTE *rows[2];
    UINT held[2]; // which row each buffer holds; Height() when none
    int older;    // the buffer to fill next
};
