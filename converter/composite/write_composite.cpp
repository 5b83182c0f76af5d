#include "write_composite.h"

#include <new>

#include "bitmap_geometry.h"
#include "bitmap_rows.h"
#include "heap_buffer.h"
#include "piece_bitmap.h"
#include "screen_rows.h"
#include "write_upright.h"

namespace
{
// A piece opened and placed on its monitor, with a row of the monitor's
// width to make its rows in.
struct OpenPiece
{
    PieceBitmap bitmap;
    ScreenRows *rows;
    BYTE *row;
    RECT area;

    OpenPiece() : rows(NULL), row(NULL), area() {}
    ~OpenPiece()
    {
        delete rows;
        if (row != NULL)
            HeapFree(GetProcessHeap(), 0, row);
    }
};

// Nothing here raises: operator new of a class of ours returns NULL where
// plain new would throw, and the pieces check for it.
ConvertResult OpenPieces(const ScreenPiece *pieces, UINT count, int placement, const BYTE *background,
                         OpenPiece *open)
{
    for (UINT i = 0; i < count; ++i)
    {
        OpenPiece &piece = open[i];
        piece.area = pieces[i].area;
        const UINT width = static_cast<UINT>(piece.area.right - piece.area.left);
        const UINT height = static_cast<UINT>(piece.area.bottom - piece.area.top);
        ScreenPlace place;
        if (!piece.bitmap.Open(pieces[i].bitmap))
            return ConvertSourceUnreadable;
        if (!PlaceOnScreen(piece.bitmap.Width(), piece.bitmap.Height(), width, height, placement, &place))
            return ConvertTooLarge;
        piece.rows = new (std::nothrow) ScreenRows(piece.bitmap, place, width, height, background);
        piece.row = static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(width) * 3));
        if (piece.rows == NULL || piece.row == NULL || !piece.rows->Prepare())
            return ConvertOutOfMemory;
    }
    return ConvertDone;
}

// Virtual row or column v of a box from low to high, rolled: 0 is the
// bitmap's first, and what lies before 0 comes after high.
UINT Rolled(LONG v, long long extent)
{
    return static_cast<UINT>(v >= 0 ? v : v + extent);
}

// Row virtualY of the composite into out (width pixels of BGR).
bool MakeRow(OpenPiece *pieces, UINT count, LONG virtualY, const BYTE *background, UINT width, BYTE *out)
{
    for (UINT x = 0; x < width; ++x)
        CopyMemory(out + static_cast<size_t>(x) * 3, background, 3);
    for (UINT i = 0; i < count; ++i)
    {
        OpenPiece &piece = pieces[i];
        if (virtualY < piece.area.top || virtualY >= piece.area.bottom)
            continue;
        if (!piece.rows->CopyRow(static_cast<UINT>(virtualY - piece.area.top), piece.row))
            return false;
        // A monitor across the virtual screen's 0 column is cut in two by
        // the roll: the part left of 0 goes to the bitmap's right end.
        const LONG split = piece.area.left < 0 && piece.area.right > 0 ? 0 : piece.area.right;
        const UINT before = static_cast<UINT>(split - piece.area.left);
        CopyMemory(out + static_cast<size_t>(Rolled(piece.area.left, width)) * 3, piece.row,
                   static_cast<size_t>(before) * 3);
        if (split != piece.area.right)
            CopyMemory(out, piece.row + static_cast<size_t>(before) * 3,
                       static_cast<size_t>(piece.area.right - split) * 3);
    }
    return true;
}
}

ConvertResult WriteComposite(const ScreenPiece *pieces, UINT count, int placement, COLORREF colour,
                             DestinationFile &file)
{
    if (count == 0 || count > MaxScreenPieces)
        return ConvertBadArguments;
    long long left = 0, top = 0, right = 0, bottom = 0;
    for (UINT i = 0; i < count; ++i)
    {
        const RECT &area = pieces[i].area;
        if (pieces[i].bitmap == NULL || area.right <= area.left || area.bottom <= area.top)
            return ConvertBadArguments;
        left = area.left < left ? area.left : left;
        top = area.top < top ? area.top : top;
        right = area.right > right ? area.right : right;
        bottom = area.bottom > bottom ? area.bottom : bottom;
    }
    BitmapGeometry geometry;
    if (right - left > 0xFFFFFFFFll || bottom - top > 0xFFFFFFFFll ||
        !MeasureBitmap(static_cast<UINT>(right - left), static_cast<UINT>(bottom - top), &geometry))
        return ConvertTooLarge;

    const BYTE background[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    OpenPiece open[MaxScreenPieces];
    const ConvertResult opened = OpenPieces(pieces, count, placement, background, open);
    if (opened != ConvertDone)
        return opened;
    // Zeroed: the padding at the end of each row is never written by a copy.
    const UINT bandRows = RowsInBytes(geometry.stride, BandBytes, geometry.height);
    HeapBuffer band(static_cast<size_t>(bandRows) * geometry.stride, true);
    if (band.data() == NULL)
        return ConvertOutOfMemory;
    const ConvertResult started = StartBitmapFile(geometry, file);
    if (started != ConvertDone)
        return started;
    // The bitmap's row r shows virtual row r, or r - height past the
    // virtual screen's bottom; the file holds the bottom row first, so a
    // band of rows is written last row first.
    for (UINT first = 0, rows = 0; first < geometry.height; first += rows)
    {
        rows = geometry.height - first < bandRows ? geometry.height - first : bandRows;
        for (UINT i = 0; i < rows; ++i)
        {
            const UINT r = first + i;
            const LONG virtualY = r < bottom ? static_cast<LONG>(r) : static_cast<LONG>(r - geometry.height);
            if (!MakeRow(open, count, virtualY, background, geometry.width,
                         band.data() + static_cast<size_t>(rows - 1 - i) * geometry.stride))
                return ConvertSourceUnreadable;
        }
        const UINT fileRow = geometry.height - first - rows;
        if (!file.WriteAt(RowOffset(geometry, fileRow), band.data(), rows * geometry.stride))
            return ConvertDestinationUnwritable;
    }
    return ConvertDone;
}
