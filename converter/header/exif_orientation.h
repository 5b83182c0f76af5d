// The orientation a camera records in a JPEG's EXIF segment (APP1): which way
// the stored rows and columns face when the picture is upright.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The EXIF values: 1 stored upright, 2 mirrored left to right, 3 turned half
// round, 4 mirrored top to bottom, 5 mirrored along the main diagonal, 6 to be
// turned a quarter clockwise, 7 mirrored along the other diagonal, 8 to be
// turned a quarter counter-clockwise.
const int UprightOrientation = 1;

// True when payload (an APP1 segment without its marker and length) is an
// EXIF segment, whatever its content.
bool IsExifSegment(const uint8_t *payload, size_t size);

// The orientation tag (274) of the first image directory in an EXIF APP1
// payload, 1 to 8. Anything doubtful (not EXIF, an unknown byte order, an
// offset or count running past the segment, a tag of another type or count,
// a value outside 1 to 8, no tag at all) is UprightOrientation.
int ExifOrientation(const uint8_t *payload, size_t size);
