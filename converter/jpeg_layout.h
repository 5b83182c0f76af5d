// A walk over a JPEG file's markers before any pixel is decoded: the frame's
// size, the EXIF orientation, and whether the file is whole.
#pragma once

#include <stdint.h>

#include "byte_source.h"

struct JpegLayout
{
    uint32_t width;
    uint32_t height;
    int orientation; // 1 to 8, see exif_orientation.h
};

enum JpegCheck
{
    // A start-of-image marker, one frame header before the first scan, and an
    // end-of-image marker after the last scan.
    JpegWhole,
    // No start-of-image marker, or markers no decoder accepts: a second
    // start-of-image or frame header, a scan before the frame header, a
    // segment length below 2, an end-of-image marker before any scan.
    JpegNotAJpeg,
    // The file ends before its end-of-image marker: an interrupted copy or
    // download, whose missing rows a decoder would paint grey.
    JpegTruncated,
    // The stream could not be read, or no memory for the EXIF segment.
    JpegUnreadable,
};

// Reads source from where it stands to the end-of-image marker. layout is
// filled only for JpegWhole: the frame header's 16-bit width and height, and
// an orientation of 1 to 8. The orientation comes from the first EXIF APP1
// segment; pictures without one are upright.
JpegCheck WalkJpegLayout(ByteSource &source, JpegLayout *layout);

#ifdef _WIN32
struct IStream;
// The same walk over a file's stream, through StreamSource (stream_source.h).
JpegCheck ReadJpegLayout(IStream *stream, JpegLayout *layout);
#endif
