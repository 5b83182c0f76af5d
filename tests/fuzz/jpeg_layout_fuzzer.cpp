// The walk over a JPEG's markers, EXIF segment included, on any bytes. Its
// promises: a whole file's layout is the frame header's 16-bit size and an
// orientation of 1 to 8; a source that never fails is never unreadable; and
// the answer does not depend on how the source hands out its bytes, save that
// a source failing where it would have ended makes "truncated" (or a file too
// short to hold a start marker) "unreadable".
#include <stdlib.h>
#include <string.h>

#include "jpeg_layout.h"

namespace
{
// The input in pieces of at most piece bytes, as a stream may deliver a file;
// after the last, either the end or a read error.
class PieceSource : public ByteSource
{
public:
    PieceSource(const uint8_t *data, size_t size, size_t piece, bool failsAtEnd)
        : data(data), size(size), piece(piece), failsAtEnd(failsAtEnd), offset(0)
    {
    }

    bool Read(uint8_t *buffer, size_t capacity, size_t *read) override
    {
        if (offset == size && failsAtEnd)
            return false;
        size_t take = size - offset;
        if (take > piece)
            take = piece;
        if (take > capacity)
            take = capacity;
        if (take > 0)
            memcpy(buffer, data + offset, take);
        offset += take;
        *read = take;
        return true;
    }

    bool Seek(uint64_t to) override
    {
        offset = to < size ? static_cast<size_t>(to) : size;
        return true;
    }

    bool Length(uint64_t *length) override
    {
        *length = size;
        return true;
    }

private:
    const uint8_t *data;
    size_t size;
    size_t piece;
    bool failsAtEnd;
    size_t offset;
};

void Require(bool promise)
{
    if (!promise)
        abort();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    PieceSource whole(data, size, size, false);
    PictureLayout layout = {};
    const LayoutCheck check = WalkJpegLayout(whole, &layout);
    Require(check == LayoutWhole || check == LayoutDamaged || check == LayoutTruncated);
    if (check == LayoutWhole)
        Require(layout.width <= 0xFFFF && layout.height <= 0xFFFF && layout.orientation >= 1 &&
                layout.orientation <= 8);

    // Piece sizes from 1 byte up, so that markers, lengths and segments
    // straddle the reader's refills.
    PieceSource pieces(data, size, 1 + size % 13, true);
    PictureLayout again = {};
    const LayoutCheck checkAgain = WalkJpegLayout(pieces, &again);
    if (check == LayoutTruncated || (check == LayoutDamaged && size < 2))
        Require(checkAgain == LayoutUnreadable);
    else
        Require(checkAgain == check);
    if (check == LayoutWhole)
        Require(again.width == layout.width && again.height == layout.height &&
                again.orientation == layout.orientation);
    return 0;
}
