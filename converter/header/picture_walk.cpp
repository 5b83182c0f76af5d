#include "picture_walk.h"

#include "gif_header.h"
#include "jpeg_header.h"
#include "png_header.h"
#include "tiff_header.h"

bool HasHeaderWalk(PictureFormat format)
{
    return format == JpegFormat || format == PngFormat || format == GifFormat || format == TiffFormat;
}

LayoutCheck WalkPictureLayout(PictureFormat format, ByteSource &source, PictureLayout *layout)
{
    if (!source.Seek(0))
        return LayoutUnreadable;
    switch (format)
    {
    case JpegFormat:
        return WalkJpegLayout(source, layout);
    case PngFormat:
        return WalkPngLayout(source, layout);
    case GifFormat:
        return WalkGifLayout(source, layout);
    case TiffFormat:
        return WalkTiffLayout(source, layout);
    default:
        return LayoutDamaged;
    }
}

bool ReadPictureHead(ByteSource &source, uint8_t *head, size_t *length)
{
    if (!source.Seek(0))
        return false;
    // A source may give fewer bytes than asked before its end.
    size_t filled = 0;
    for (size_t got = 1; filled < PictureHeadBytes && got != 0; filled += got)
        if (!source.Read(head + filled, PictureHeadBytes - filled, &got))
            return false;
    *length = filled;
    return true;
}
