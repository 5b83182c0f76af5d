// Which kind of picture a file holds, told from its first bytes alone, so
// that each file goes to its own header walk and decoder whatever its name
// says.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum PictureFormat
{
    UnknownFormat,
    JpegFormat,
    PngFormat,
    GifFormat,
    TiffFormat,
    JpegXrFormat,
    WebpFormat,
    HeifFormat, // HEIF and AVIF: one box structure, told apart by their brands
    BmpFormat,
};

// The bytes SniffPictureFormat needs at most from a file's start.
const size_t PictureHeadBytes = 32;

// The format whose signature head starts with. length may be below
// PictureHeadBytes when the file is that short; a signature that does not fit
// in it is not matched.
PictureFormat SniffPictureFormat(const uint8_t *head, size_t length);
