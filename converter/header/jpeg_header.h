// A walk over a JPEG file's markers before any pixel is decoded: the frame's
// size, the EXIF orientation, and whether the file is whole.
#pragma once

#include <stdint.h>

#include "byte_source.h"
#include "picture_layout.h"

// For a JPEG: LayoutWhole is a start-of-image marker, one frame header
// before the first scan, and an end-of-image marker after the last scan.
// LayoutDamaged is no start-of-image marker, or markers no decoder accepts: a
// second start-of-image or frame header, a scan before the frame header, a
// segment length below 2, an end-of-image marker before any scan.
// LayoutTruncated is a file that ends before its end-of-image marker.

// Reads source from where it stands to the end-of-image marker. layout is
// filled only for LayoutWhole: the frame header's 16-bit width and height
// (the frame is the whole picture), and an orientation of 1 to 8. The orientation comes from the first EXIF APP1
// segment; pictures without one are upright.
LayoutCheck WalkJpegLayout(ByteSource &source, PictureLayout *layout);
