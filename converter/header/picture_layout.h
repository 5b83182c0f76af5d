// What a picture file's header says before any pixel is decoded: the size,
// the orientation, and where the first frame lies. Filled by each format's
// own walk over the file (jpeg_header.h and its siblings).
#pragma once

#include <stdint.h>

struct PictureLayout
{
    uint32_t width; // the picture as stored; a GIF's canvas
    uint32_t height;
    int orientation; // 1 to 8, see exif_orientation.h
    // Where the first frame lies on the picture: all of it for every format
    // but GIF.
    uint32_t frameLeft;
    uint32_t frameTop;
    uint32_t frameWidth;
    uint32_t frameHeight;
};

enum LayoutCheck
{
    // Everything the walk reads is there and agrees with itself.
    LayoutWhole,
    // Not this format, or damaged in a way no decoder is to be shown.
    LayoutDamaged,
    // The file ends before its picture data does: an interrupted copy or
    // download, whose missing rows a decoder would paint grey.
    LayoutTruncated,
    // The source could not be read, or no memory for what the walk keeps.
    LayoutUnreadable,
};
