// Small bitmap files for the tests and the test converters.
#pragma once

#include <windows.h>

// Writes a width x height 24-bit bitmap filled with color. False when the
// file cannot be written.
bool WriteBitmapFile(const wchar_t *path, int width, int height, COLORREF color);

// The size of the bitmap at path as the desktop would load it; 0 x 0 when it
// does not load.
SIZE LoadedBitmapSize(const wchar_t *path);
