// The format sniffer and the PNG, GIF and TIFF header walks, on any bytes.
// Their promises: a whole file's layout has a canvas of at least one pixel,
// a first frame of at least one pixel inside it and an orientation of 1 to
// 8; a walk finds its file whole only where the sniffer names its format; a
// source that never fails is never unreadable; and the answer does not
// depend on how the source hands out its bytes, save that a source failing
// at its end may make a truncated or damaged file unreadable.
#include <stdlib.h>
#include <string.h>

#include "fuzz_support.h"
#include "gif_header.h"
#include "picture_format.h"
#include "png_header.h"
#include "tiff_header.h"

namespace
{
typedef LayoutCheck (*Walk)(ByteSource &source, PictureLayout *layout);


bool Same(const PictureLayout &a, const PictureLayout &b)
{
    return a.width == b.width && a.height == b.height && a.orientation == b.orientation &&
           a.frameLeft == b.frameLeft && a.frameTop == b.frameTop && a.frameWidth == b.frameWidth &&
           a.frameHeight == b.frameHeight;
}

void Check(Walk walk, PictureFormat format, PictureFormat sniffed, const uint8_t *data, size_t size)
{
    PieceSource whole(data, size, size, false);
    PictureLayout layout = {};
    const LayoutCheck check = walk(whole, &layout);
    Require(check == LayoutWhole || check == LayoutDamaged || check == LayoutTruncated);
    if (check == LayoutWhole)
    {
        Require(sniffed == format);
        Require(layout.width >= 1 && layout.height >= 1 && layout.frameWidth >= 1 && layout.frameHeight >= 1);
        Require(static_cast<uint64_t>(layout.frameLeft) + layout.frameWidth <= layout.width);
        Require(static_cast<uint64_t>(layout.frameTop) + layout.frameHeight <= layout.height);
        Require(layout.orientation >= 1 && layout.orientation <= 8);
    }

    // Piece sizes from 1 byte up, so that chunks, blocks and entries
    // straddle the reader's refills.
    const size_t piece = 1 + size % 13;
    PieceSource pieces(data, size, piece, false);
    PictureLayout again = {};
    Require(walk(pieces, &again) == check);
    if (check == LayoutWhole)
        Require(Same(again, layout));

    PieceSource failing(data, size, piece, true);
    const LayoutCheck failed = walk(failing, &again);
    if (check == LayoutTruncated || check == LayoutDamaged)
        Require(failed == check || failed == LayoutUnreadable);
    else
        Require(failed == check && Same(again, layout));
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const PictureFormat sniffed = SniffPictureFormat(data, size < PictureHeadBytes ? size : PictureHeadBytes);
    Require(sniffed >= UnknownFormat && sniffed <= BmpFormat);
    // The sniffer reads no more than it is given: a shorter head never names
    // a format the longer one does not.
    if (size > 0)
    {
        const size_t shorter = (size < PictureHeadBytes ? size : PictureHeadBytes) - 1;
        const PictureFormat cut = SniffPictureFormat(data, shorter);
        Require(cut == UnknownFormat || cut == sniffed);
    }
    Check(WalkPngLayout, PngFormat, sniffed, data, size);
    Check(WalkGifLayout, GifFormat, sniffed, data, size);
    Check(WalkTiffLayout, TiffFormat, sniffed, data, size);
    return 0;
}
