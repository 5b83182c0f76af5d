// One conversion: a picture file in, a 24-bit bitmap file out, upright.
#pragma once

#include <windows.h>

#include "convert_result.h"

// Converts the picture at source (JPEG, PNG, GIF, TIFF, JPEG XR, WebP, HEIF,
// AVIF or BMP, told by its content, not its name) into a bitmap at
// destination, on a thread with a COM apartment. On any failure no file is
// left at destination unless one was there and could not be replaced, which
// is then left as it was. Has the signature of the exported converter, so
// the export can run it guarded.
int WINAPI ConvertPictureFile(const wchar_t *source, const wchar_t *destination);
