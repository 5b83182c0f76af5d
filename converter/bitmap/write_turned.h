// Writing a picture whose rows become the bitmap file's columns: EXIF
// orientations 5 to 8.
#pragma once

#include "bitmap_geometry.h"
#include "convert_result.h"
#include "destination_file.h"
#include "row_source.h"

// Creates file and writes the bitmap of geometry (the upright size) from
// pixels (the stored picture, storedWidth by storedHeight), turned by
// orientation, 5 to 8. Besides what the decoder holds, it holds a sixteenth
// of the bitmap, at least a megabyte.
ConvertResult WriteTurnedBitmap(RowSource &pixels, UINT storedWidth, UINT storedHeight, int orientation,
                                const BitmapGeometry &geometry, DestinationFile &file);
