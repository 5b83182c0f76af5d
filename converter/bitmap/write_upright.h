// Writing a decoded picture into the bitmap file the right way up.
#pragma once

#include "bitmap_geometry.h"
#include "convert_result.h"
#include "destination_file.h"
#include "row_source.h"

// Bytes of file rows held at a time by the writer of orientations 1 to 4.
const DWORD BandBytes = 512 * 1024;

// The upright picture's size for a stored picture of that size: the axes
// swap for orientations 5 to 8.
void UprightSize(UINT storedWidth, UINT storedHeight, int orientation, UINT *width, UINT *height);

// Creates file and writes the headers and rows of the bitmap of geometry
// (the upright size) from pixels (the stored picture, storedWidth by
// storedHeight), turned by the EXIF orientation. Pictures that keep their
// axes go from decoder to file a band of rows at a time; the others are
// turned through the file itself (write_turned.h).
ConvertResult WriteUprightBitmap(RowSource &pixels, UINT storedWidth, UINT storedHeight, int orientation,
                                 const BitmapGeometry &geometry, DestinationFile &file);
