// One conversion: a picture file in, a 24-bit bitmap file out, upright.
#pragma once

#include <windows.h>

#include "convert_result.h"
#include "scaled_size.h"

// The box a conversion scales the picture down for (scaled_size.h); an empty
// one keeps the picture's own size.
struct ScaleRequest
{
    UINT boxWidth;
    UINT boxHeight;
    int fit; // a ScaleFit
};

// Converts the picture at source (JPEG, PNG, GIF, TIFF, JPEG XR, WebP, HEIF,
// AVIF or BMP, told by its content, not its name) into a bitmap at
// destination, on a thread with a COM apartment. On any failure no file is
// left at destination unless one was there and could not be replaced, which
// is then left as it was. The bitmap is the upright picture, scaled down
// for scale's box, or at its own size.
int ConvertPictureFile(const wchar_t *source, const wchar_t *destination, const ScaleRequest &scale);
