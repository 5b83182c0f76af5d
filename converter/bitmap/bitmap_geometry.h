// The shape of the bitmap file a picture becomes: a 24-bit bottom-up bitmap
// whose rows are padded to 4 bytes.
#pragma once

#include <windows.h>

// The most pixels a picture may have. A decoder holds a four-component
// picture at 4 bytes a pixel and may work that size out in 32 bits (Wine's
// does, and then writes past what it allocated): 2^29 pixels of 4 bytes is
// 2 GiB, all the memory a 32-bit process has, and the bitmap's sizes below
// fit in 32 bits too.
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
