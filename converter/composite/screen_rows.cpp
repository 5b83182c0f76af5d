// A picture made for its monitor by the scaled conversion is already the
// size it is shown at, and is copied; one smaller than its place (the
// conversion never enlarges) is enlarged here by blending the four nearest
// pixels, as a screen shows a small picture filled.
#include "screen_rows.h"

namespace
{
// Where place's pixel at index (of count) samples a picture axis of size
// pixels: the first of the two pixels it lies between and the weight of the
// second, in 256ths, their centres lined up as in every bilinear scaling.
void Sample(UINT index, UINT count, UINT size, UINT *first, UINT *weight)
{
    double at = (index + 0.5) * size / count - 0.5;
    if (at < 0)
        at = 0;
    const double last = size - 1;
    if (at > last)
        at = last;
    *first = static_cast<UINT>(at);
    *weight = static_cast<UINT>((at - *first) * 256 + 0.5);
    if (*first + 1 >= size)
        *weight = 0;
}
}

ScreenRows::ScreenRows(PieceBitmap &piece, const ScreenPlace &place, UINT width, UINT height,
                       const BYTE *colour)
    : piece(piece), place(place), width(width), height(height), background(), samples(NULL), firstColumn(0),
      endColumn(0)
{
    background[0] = colour[0];
    background[1] = colour[1];
    background[2] = colour[2];
}

ScreenRows::~ScreenRows()
{
    if (samples != NULL)
        HeapFree(GetProcessHeap(), 0, samples);
}

bool ScreenRows::Resampled() const
{
    return !place.tiled && (place.width != piece.Width() || place.height != piece.Height());
}

bool ScreenRows::Prepare()
{
    const long long left = place.tiled ? 0 : place.left;
    const long long right = place.tiled ? width : left + place.width;
    firstColumn = static_cast<UINT>(left > 0 ? left : 0);
    endColumn = static_cast<UINT>(right < width ? (right > 0 ? right : 0) : width);
    if (endColumn < firstColumn)
        endColumn = firstColumn;
    if (!Resampled() || endColumn == firstColumn)
        return true;
    samples = static_cast<Sample *>(HeapAlloc(GetProcessHeap(), 0, (endColumn - firstColumn) * sizeof(Sample)));
    if (samples == NULL)
        return false;
    for (UINT x = firstColumn; x < endColumn; ++x)
    {
        Sample &sample = samples[x - firstColumn];
        ::Sample(static_cast<UINT>(x - left), place.width, piece.Width(), &sample.column, &sample.weight);
    }
    return true;
}

void ScreenRows::Fill(BYTE *out, UINT count) const
{
    for (UINT x = 0; x < count; ++x, out += 3)
    {
        out[0] = background[0];
        out[1] = background[1];
        out[2] = background[2];
    }
}

bool ScreenRows::CopyRow(UINT y, BYTE *out)
{
    if (place.tiled)
    {
        const BYTE *row = piece.Row(y % piece.Height());
        if (row == NULL)
            return false;
        const size_t tile = static_cast<size_t>(piece.Width()) * 3;
        for (size_t done = 0, total = static_cast<size_t>(width) * 3; done < total; done += tile)
            CopyMemory(out + done, row, total - done < tile ? total - done : tile);
        return true;
    }
    const long long placedY = static_cast<long long>(y) - place.top;
    if (placedY < 0 || placedY >= place.height || endColumn == firstColumn)
    {
        Fill(out, width);
        return true;
    }
    Fill(out, firstColumn);
    Fill(out + static_cast<size_t>(endColumn) * 3, width - endColumn);
    BYTE *into = out + static_cast<size_t>(firstColumn) * 3;
    const UINT count = endColumn - firstColumn;
    if (!Resampled())
    {
        const BYTE *row = piece.Row(static_cast<UINT>(placedY));
        if (row == NULL)
            return false;
        CopyMemory(into, row + static_cast<size_t>(firstColumn - static_cast<long long>(place.left)) * 3,
                   static_cast<size_t>(count) * 3);
        return true;
    }
    UINT top = 0, down = 0;
    ::Sample(static_cast<UINT>(placedY), place.height, piece.Height(), &top, &down);
    const BYTE *upper = piece.Row(top);
    const BYTE *lower = down != 0 ? piece.Row(top + 1) : upper;
    if (upper == NULL || lower == NULL)
        return false;
    for (UINT i = 0; i < count; ++i, into += 3)
    {
        const Sample &sample = samples[i];
        const BYTE *a = upper + static_cast<size_t>(sample.column) * 3;
        const BYTE *b = lower + static_cast<size_t>(sample.column) * 3;
        const UINT right = sample.weight != 0 ? 3 : 0;
        for (int c = 0; c < 3; ++c)
        {
            const UINT high = a[c] * (256 - sample.weight) + a[c + right] * sample.weight;
            const UINT low = b[c] * (256 - sample.weight) + b[c + right] * sample.weight;
            into[c] = static_cast<BYTE>((high * (256 - down) + low * down + 32768) >> 16);
        }
    }
    return true;
}
