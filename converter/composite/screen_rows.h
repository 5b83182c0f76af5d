// One monitor's rows: its picture placed on it (screen_placement.h), the
// desktop colour wherever the picture does not reach.
#pragma once

#include <windows.h>

#include "piece_bitmap.h"
#include "screen_placement.h"

class ScreenRows
{
public:
    // piece stays open and owned by the caller; background is blue, green,
    // red.
    ScreenRows(PieceBitmap &piece, const ScreenPlace &place, UINT width, UINT height, const BYTE *background);
    ~ScreenRows();
    ScreenRows(const ScreenRows &) = delete;
    ScreenRows &operator=(const ScreenRows &) = delete;

    // Takes the memory for the columns' sampling; false when there is none.
    bool Prepare();
    // Row y of the monitor, counted from its top, as width BGR pixels into
    // out. False when the picture cannot be read.
    bool CopyRow(UINT y, BYTE *out);

private:
    // Where a visible column samples the picture: the left of the two
    // columns it lies between and the weight of the right one, in 256ths.
    struct Sample
    {
        UINT column;
        UINT weight;
    };

    bool Resampled() const;
    void Fill(BYTE *out, UINT count) const;

    PieceBitmap &piece;
    const ScreenPlace place;
    const UINT width, height;
    BYTE background[3];
    Sample *samples; // one for each column of the monitor the picture covers
    UINT firstColumn, endColumn; // the monitor's columns the picture covers
};
