// A walk over a JPEG file's markers before any pixel is decoded: the frame's
// size, the EXIF orientation, and whether the file is whole.
#pragma once

#include <windows.h>

#include <objidl.h>

struct JpegLayout
{
    UINT width;
    UINT height;
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

// Reads stream from its current position to the end-of-image marker. layout
// is filled only for JpegWhole. The orientation comes from the first EXIF
// APP1 segment before the first scan; pictures without one are upright.
JpegCheck ReadJpegLayout(IStream *stream, JpegLayout *layout);
