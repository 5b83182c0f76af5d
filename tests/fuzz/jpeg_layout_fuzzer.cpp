// The walk over a JPEG's markers, EXIF segment included, on any bytes. Its
// promises: a whole file's layout is the frame header's 16-bit size and an
// orientation of 1 to 8; a source that never fails is never unreadable; and
// the answer does not depend on how the source hands out its bytes, save that
// a source failing where it would have ended makes "truncated" (or a file too
// short to hold a start marker) "unreadable".
#include <stdlib.h>
#include <string.h>

#include "fuzz_support.h"
#include "jpeg_header.h"


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
