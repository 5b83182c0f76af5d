// A bitmap file holds the bottom row first. The orientation says where the
// stored rows and columns belong in the upright picture; for each orientation
// the stored picture is read top to bottom, which is the order a JPEG decodes
// in, and the file is written where each band belongs.
#include "write_upright.h"

#include "heap_buffer.h"

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

UINT RowsPerBand(size_t stride, UINT height)
{
    const size_t rows = stride < BandBytes ? BandBytes / stride : 1;
    return rows < height ? static_cast<UINT>(rows) : height;
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
bool CopyBand(PixelSource &pixels, UINT top, UINT rows, bool reversed, BYTE *band, DWORD stride)
{
    if (!reversed)
        return pixels.CopyRows(top, rows, band, stride);
    for (UINT i = 0; i < rows; ++i)
        if (!pixels.CopyRows(top + i, 1, band + static_cast<size_t>(rows - 1 - i) * stride, stride))
            return false;
    return true;
}

// Creates the file and writes its headers: done once everything that can be
// had before the first row is written is in hand, so that fewer failures
// touch the destination at all.
ConvertResult StartFile(const BitmapGeometry &geometry, DestinationFile &file)
{
    if (!file.Create())
        return ConvertDestinationUnwritable;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER infoHeader;
    FillBitmapHeaders(geometry, &fileHeader, &infoHeader);
    if (!file.WriteAt(0, &fileHeader, sizeof(fileHeader)) ||
        !file.WriteAt(sizeof(fileHeader), &infoHeader, sizeof(infoHeader)))
        return ConvertDestinationUnwritable;
    return ConvertDone;
}

// Whole file rows, written a band at a time. Zeroed: the padding at the end
// of each row is never written by a copy.
struct FileBand
{
    explicit FileBand(const BitmapGeometry &geometry)
        : rows(RowsPerBand(geometry.stride, geometry.height)),
          buffer(static_cast<size_t>(rows) * geometry.stride, true)
    {
    }
    const UINT rows;
    HeapBuffer buffer;
};

// The band in hand and the headers written: what both writers need before
// their first row.
ConvertResult StartBandedFile(const FileBand &band, const BitmapGeometry &geometry, DestinationFile &file)
{
    if (band.buffer.data() == NULL)
        return ConvertOutOfMemory;
    return StartFile(geometry, file);
}

unsigned long long RowOffset(const BitmapGeometry &geometry, UINT fileRow)
{
    return BitmapHeaderBytes + static_cast<unsigned long long>(fileRow) * geometry.stride;
}

// Orientations 1 to 4: each band of stored rows is a band of the file, in
// the same order (upside down) or reversed (upright).
ConvertResult WriteKeepingAxes(PixelSource &pixels, int orientation, const BitmapGeometry &geometry,
                               DestinationFile &file)
{
    const FileBand band(geometry);
    const ConvertResult started = StartBandedFile(band, geometry, file);
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

// Fills rows of the file, from fileRow on, out of the whole stored picture.
// Each file row is a stored column; for every stored row the band takes the
// pixels that row gives its columns, so the picture is read a row at a time.
void GatherColumns(const BYTE *picture, UINT storedWidth, UINT storedHeight, int orientation, UINT fileRow,
                   UINT rows, BYTE *band, DWORD stride)
{
    const size_t storedStride = static_cast<size_t>(storedWidth) * 3;
    // File row fileRow + i is upright row (storedWidth - 1 - fileRow - i),
    // which is stored column (storedWidth - 1 - fileRow - i) for 5 and 6 and
    // stored column (fileRow + i) for 7 and 8.
    const bool columnsFromRight = orientation == 5 || orientation == 6;
    const UINT firstColumn = columnsFromRight ? storedWidth - 1 - fileRow : fileRow;
    // Stored row y is upright column y for 5 and 8, and column
    // (storedHeight - 1 - y) for 6 and 7.
    const bool rowsFromLeft = orientation == 5 || orientation == 8;
    for (UINT y = 0; y < storedHeight; ++y)
    {
        const BYTE *storedRow = picture + y * storedStride;
        BYTE *target = band + static_cast<size_t>(rowsFromLeft ? y : storedHeight - 1 - y) * 3;
        for (UINT i = 0; i < rows; ++i, target += stride)
        {
            const UINT column = columnsFromRight ? firstColumn - i : firstColumn + i;
            const BYTE *pixel = storedRow + static_cast<size_t>(column) * 3;
            target[0] = pixel[0];
            target[1] = pixel[1];
            target[2] = pixel[2];
        }
    }
}

// Orientations 5 to 8.
ConvertResult WriteSwappingAxes(PixelSource &pixels, UINT storedWidth, UINT storedHeight, int orientation,
                                const BitmapGeometry &geometry, DestinationFile &file)
{
    // Within the bitmap's pixel bound the whole picture fits a size_t.
    const size_t storedStride = static_cast<size_t>(storedWidth) * 3;
    HeapBuffer picture(storedStride * storedHeight, false);
    if (picture.data() == NULL)
        return ConvertOutOfMemory;
    const UINT copyRows = RowsPerBand(storedStride, storedHeight);
    UINT rows = 0;
    for (UINT top = 0; top < storedHeight; top += rows)
    {
        rows = storedHeight - top < copyRows ? storedHeight - top : copyRows;
        if (!pixels.CopyRows(top, rows, picture.data() + top * storedStride, static_cast<UINT>(storedStride)))
            return ConvertDecodeFailed;
    }

    const FileBand band(geometry);
    const ConvertResult started = StartBandedFile(band, geometry, file);
    if (started != ConvertDone)
        return started;
    for (UINT fileRow = 0; fileRow < geometry.height; fileRow += rows)
    {
        rows = geometry.height - fileRow < band.rows ? geometry.height - fileRow : band.rows;
        GatherColumns(picture.data(), storedWidth, storedHeight, orientation, fileRow, rows, band.buffer.data(),
                      geometry.stride);
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

ConvertResult WriteUprightBitmap(PixelSource &pixels, UINT storedWidth, UINT storedHeight, int orientation,
                                 const BitmapGeometry &geometry, DestinationFile &file)
{
    if (SwapsAxes(orientation))
        return WriteSwappingAxes(pixels, storedWidth, storedHeight, orientation, geometry, file);
    return WriteKeepingAxes(pixels, orientation, geometry, file);
}
