// The platform's decoder for a picture's format, and what it alone can tell.
#pragma once

#include <windows.h>

#include <wincodec.h>

#include "convert_result.h"
#include "picture_format.h"

// The first frame (a GIF's first frame, a TIFF's first page) of the picture
// in stream, decoded by Microsoft's own decoder for format: the one Windows
// ships, or for WebP, HEIF and AVIF the one Microsoft publishes as an
// extension. Each is created by its class, so no other codec registered on
// the system is ever handed the file. ConvertNoDecoder when this PC has no
// such decoder, ConvertDecodeFailed when it refuses the file.
ConvertResult OpenFirstFrame(PictureFormat format, IStream *stream, IWICBitmapFrameDecode **frame);

// The orientation (1 to 8) the decoder reads from the frame's metadata, for
// the formats whose header no walk of ours reads: 1 where it states none.
int DecodedOrientation(IWICBitmapFrameDecode *frame);
