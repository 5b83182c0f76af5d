// Each row of the file is a column of the stored picture, but a JPEG decoder
// gives rows top to bottom, and the platform's decoder is only cheap when
// read that way: reading it by columns would decode it again for each. So the
// picture is read once, top to bottom, and turned through the destination
// file itself, in two passes:
// - The file's rows are taken in strips of a few rows. The stored columns
//   that become one strip lie side by side, so every band of stored rows
//   holds a tile of them, which goes into the strip's place in the file right
//   after the tiles of the bands before. The strip's place then holds, row
//   after row, the part of the stored picture the strip is made of; it fits,
//   as the strip's rows hold a pixel for each stored row.
// - Each strip's place is read back, turned in memory, and written over with
//   the strip's rows.
// The file in the system's cache takes the place of the whole picture in
// memory, which the decoder may already hold once.
#include "write_turned.h"

#include "bitmap_rows.h"
#include "heap_buffer.h"

namespace
{
// The memory the turn holds besides the decoder: a sixteenth of the bitmap,
// at least a megabyte. Each pass splits it in two (a band of stored rows and
// its tile, a strip's part and its rows), and every write of the first pass
// has a band's share of a strip, so a picture of any size is written in
// about five hundred writes: each write costs a system call, and small ones
// cost far more than their bytes.
const DWORD TurnShare = 16;
const DWORD LeastTurnBytes = 1024 * 1024;

struct Turn
{
    UINT storedWidth;
    UINT storedHeight;
    // File row r is stored column (storedWidth - 1 - r) for 5 and 6 and
    // stored column r for 7 and 8.
    bool columnsFromRight;
    // Stored row y is upright column y for 5 and 8, and column
    // (storedHeight - 1 - y) for 6 and 7.
    bool rowsFromLeft;
    UINT bandRows;  // stored rows decoded at a time
    UINT stripRows; // file rows turned at a time: the stored columns of a tile
};

// The rows of the strip that starts at fileRow: stripRows, fewer in the last.
UINT RowsOfStrip(const Turn &turn, UINT fileRow)
{
    const UINT left = turn.storedWidth - fileRow;
    return left < turn.stripRows ? left : turn.stripRows;
}

// Pass one: every band of stored rows, top to bottom, spread as tiles into
// the places of the strips.
ConvertResult WriteTiles(RowSource &pixels, const Turn &turn, const BitmapGeometry &geometry, BYTE *band,
                         BYTE *tile, DestinationFile &file)
{
    const size_t storedStride = static_cast<size_t>(turn.storedWidth) * 3;
    UINT rows = 0;
    for (UINT top = 0; top < turn.storedHeight; top += rows)
    {
        rows = turn.storedHeight - top < turn.bandRows ? turn.storedHeight - top : turn.bandRows;
        if (!pixels.CopyRows(top, rows, band, static_cast<UINT>(storedStride)))
            return ConvertDecodeFailed;
        for (UINT fileRow = 0; fileRow < turn.storedWidth; fileRow += turn.stripRows)
        {
            const UINT columns = RowsOfStrip(turn, fileRow);
            const UINT firstColumn = turn.columnsFromRight ? turn.storedWidth - fileRow - columns : fileRow;
            const size_t tileStride = static_cast<size_t>(columns) * 3;
            const BYTE *from = band + static_cast<size_t>(firstColumn) * 3;
            for (UINT y = 0; y < rows; ++y)
                CopyMemory(tile + y * tileStride, from + y * storedStride, tileStride);
            const unsigned long long at =
                RowOffset(geometry, fileRow) + static_cast<unsigned long long>(top) * tileStride;
            if (!file.WriteAt(at, tile, static_cast<DWORD>(rows * tileStride)))
                return ConvertDestinationUnwritable;
        }
    }
    return ConvertDone;
}

// The strip's rows (columns of them, stride bytes apart, padding zeroed) from
// its part of the stored picture (storedHeight rows of columns pixels, and
// one byte more that may be read).
void TurnStrip(const Turn &turn, const BYTE *part, UINT columns, BYTE *rows, DWORD stride)
{
    // Each row of the file is written left to right, its pixels read down or
    // up one column of the part.
    const size_t partStride = static_cast<size_t>(columns) * 3;
    const ptrdiff_t step = turn.rowsFromLeft ? static_cast<ptrdiff_t>(partStride) : -static_cast<ptrdiff_t>(partStride);
    const size_t firstRow = turn.rowsFromLeft ? 0 : (turn.storedHeight - 1) * partStride;
    for (UINT i = 0; i < columns; ++i)
    {
        const BYTE *pixel = part + firstRow + static_cast<size_t>(turn.columnsFromRight ? columns - 1 - i : i) * 3;
        BYTE *target = rows + static_cast<size_t>(i) * stride;
        // Four bytes a pixel, one load and one store: the fourth is the next
        // pixel's first, which that pixel's copy writes again. The last pixel
        // takes three, and the padding after it is zeroed.
        for (UINT x = 1; x < turn.storedHeight; ++x, pixel += step, target += 3)
            CopyMemory(target, pixel, 4);
        target[0] = pixel[0];
        target[1] = pixel[1];
        target[2] = pixel[2];
        ZeroMemory(target + 3, stride - static_cast<size_t>(turn.storedHeight) * 3);
    }
}

// Pass two: each strip's place read back and written over with its rows.
ConvertResult TurnStrips(const Turn &turn, const BitmapGeometry &geometry, BYTE *part, BYTE *rows,
                         DestinationFile &file)
{
    for (UINT fileRow = 0; fileRow < turn.storedWidth; fileRow += turn.stripRows)
    {
        const UINT columns = RowsOfStrip(turn, fileRow);
        const unsigned long long at = RowOffset(geometry, fileRow);
        if (!file.ReadAt(at, part, static_cast<DWORD>(static_cast<size_t>(columns) * turn.storedHeight * 3)))
            return ConvertDestinationUnwritable;
        TurnStrip(turn, part, columns, rows, geometry.stride);
        if (!file.WriteAt(at, rows, columns * geometry.stride))
            return ConvertDestinationUnwritable;
    }
    return ConvertDone;
}
}

ConvertResult WriteTurnedBitmap(RowSource &pixels, UINT storedWidth, UINT storedHeight, int orientation,
                                const BitmapGeometry &geometry, DestinationFile &file)
{
    const size_t storedStride = static_cast<size_t>(storedWidth) * 3;
    const size_t columnBytes = static_cast<size_t>(storedHeight) * 3;
    const DWORD turnBytes =
        geometry.imageBytes / TurnShare > LeastTurnBytes ? geometry.imageBytes / TurnShare : LeastTurnBytes;
    Turn turn;
    turn.storedWidth = storedWidth;
    turn.storedHeight = storedHeight;
    turn.columnsFromRight = orientation == 5 || orientation == 6;
    turn.rowsFromLeft = orientation == 5 || orientation == 8;
    // Half for a strip's rows, as many as fit, and half for its part.
    turn.stripRows = RowsInBytes(geometry.stride, turnBytes / 2, storedWidth);
    // A band and its tile: a stored row and a tile's row at a time.
    turn.bandRows = RowsInBytes(storedStride + static_cast<size_t>(turn.stripRows) * 3, turnBytes, storedHeight);

    // One block for both passes, had before the file is begun. The first
    // holds the band, then the tile; the second the part, one byte more,
    // then the rows.
    const size_t bandBytes = turn.bandRows * storedStride;
    const size_t tileBytes = static_cast<size_t>(turn.bandRows) * turn.stripRows * 3;
    const size_t partBytes = turn.stripRows * columnBytes + 1;
    const size_t rowsBytes = static_cast<size_t>(turn.stripRows) * geometry.stride;
    const size_t firstPass = bandBytes + tileBytes;
    const size_t secondPass = partBytes + rowsBytes;
    const HeapBuffer block(firstPass > secondPass ? firstPass : secondPass, false);
    if (block.data() == NULL)
        return ConvertOutOfMemory;
    ConvertResult result = StartBitmapFile(geometry, file);
    if (result == ConvertDone)
        result = WriteTiles(pixels, turn, geometry, block.data(), block.data() + bandBytes, file);
    if (result == ConvertDone)
        result = TurnStrips(turn, geometry, block.data(), block.data() + partBytes, file);
    return result;
}
