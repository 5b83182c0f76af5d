// A bitmap file holds the bottom row first. The orientation says where the
// stored rows and columns belong in the upright picture; for each orientation
// the stored picture is read top to bottom, which is the order a JPEG decodes
// in, and the file is written where each band belongs.
#include "write_upright.h"

#include "bitmap_rows.h"
#include "heap_buffer.h"
#include "write_turned.h"

namespace
{
bool SwapsAxes(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// Orientations 2 and 3: stored rows read right to left.
bool MirrorsRows(int orientation)
{
    return orientation == 2 || orientation == 3;
}

// Orientations 3 and 4: the first stored row is the upright picture's last,
// which a bitmap file holds first.
bool StoredUpsideDown(int orientation)
{
    return orientation == 3 || orientation == 4;
}

void MirrorRow(BYTE *row, UINT width)
{
    for (UINT left = 0, right = width - 1; left < right; ++left, --right)
        for (int c = 0; c < 3; ++c)
        {
            const BYTE kept = row[3 * left + c];
            row[3 * left + c] = row[3 * right + c];
            row[3 * right + c] = kept;
        }
}

// Rows top to top + rows - 1 into band, in their order or, reversed, the last
// first. Reversed, each row is copied on its own into its place, which costs
// less than a second pass over the band.
bool CopyBand(RowSource &pixels, UINT top, UINT rows, bool reversed, BYTE *band, DWORD stride)
{
    if (!reversed)
        return pixels.CopyRows(top, rows, band, stride);
    for (UINT i = 0; i < rows; ++i)
        if (!pixels.CopyRows(top + i, 1, band + static_cast<size_t>(rows - 1 - i) * stride, stride))
            return false;
    return true;
}

// Whole file rows, written a band at a time. Zeroed: the padding at the end
// of each row is never written by a copy.
struct FileBand
{
    explicit FileBand(const BitmapGeometry &geometry)
        : rows(RowsInBytes(geometry.stride, BandBytes, geometry.height)),
          buffer(static_cast<size_t>(rows) * geometry.stride, true)
    {
    }
    const UINT rows;
    HeapBuffer buffer;
};

// Orientations 1 to 4: each band of stored rows is a band of the file, in
// the same order (upside down) or reversed (upright).
ConvertResult WriteKeepingAxes(RowSource &pixels, int orientation, const BitmapGeometry &geometry,
                               DestinationFile &file)
{
    const FileBand band(geometry);
    if (band.buffer.data() == NULL)
        return ConvertOutOfMemory;
    const ConvertResult started = StartBitmapFile(geometry, file);
    if (started != ConvertDone)
        return started;
    UINT rows = 0;
    for (UINT top = 0; top < geometry.height; top += rows)
    {
        rows = geometry.height - top < band.rows ? geometry.height - top : band.rows;
        const bool upsideDown = StoredUpsideDown(orientation);
        if (!CopyBand(pixels, top, rows, !upsideDown, band.buffer.data(), geometry.stride))
            return ConvertDecodeFailed;
        if (MirrorsRows(orientation))
            for (UINT i = 0; i < rows; ++i)
                MirrorRow(band.buffer.data() + static_cast<size_t>(i) * geometry.stride, geometry.width);
        const UINT fileRow = upsideDown ? top : geometry.height - top - rows;
        if (!file.WriteAt(RowOffset(geometry, fileRow), band.buffer.data(), rows * geometry.stride))
            return ConvertDestinationUnwritable;
    }
    return ConvertDone;
}
}

void UprightSize(UINT storedWidth, UINT storedHeight, int orientation, UINT *width, UINT *height)
{
    const bool swap = SwapsAxes(orientation);
    *width = swap ? storedHeight : storedWidth;
    *height = swap ? storedWidth : storedHeight;
}

ConvertResult WriteUprightBitmap(RowSource &pixels, UINT storedWidth, UINT storedHeight, int orientation,
                                 const BitmapGeometry &geometry, DestinationFile &file)
{
    if (SwapsAxes(orientation))
        return WriteTurnedBitmap(pixels, storedWidth, storedHeight, orientation, geometry, file);
    return WriteKeepingAxes(pixels, orientation, geometry, file);
}
