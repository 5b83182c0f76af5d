// The shape of the bitmap file a picture becomes: a 24-bit bottom-up bitmap
// whose rows are padded to 4 bytes.
#pragma once

#include <windows.h>

// The most pixels a picture may have: a decoder may hold it at 4 bytes a
// pixel, and 2^29 of those is 2 GiB, all that a 32-bit process has. Every
// size below follows from it and so fits in 32 bits.
const unsigned long long MaxPicturePixels = 1ull << 29;

struct BitmapGeometry
{
    UINT width;
    UINT height;
    DWORD stride;     // bytes in one row of the file, padding included
    DWORD imageBytes; // all rows
    DWORD fileBytes;  // headers and rows
};

const DWORD BitmapHeaderBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);

// False when the picture is empty or has more than MaxPicturePixels.
bool MeasureBitmap(UINT width, UINT height, BitmapGeometry *geometry);

// The file and info headers of a bitmap of that geometry, as they are
// written at the start of the file.
void FillBitmapHeaders(const BitmapGeometry &geometry, BITMAPFILEHEADER *file, BITMAPINFOHEADER *info);
