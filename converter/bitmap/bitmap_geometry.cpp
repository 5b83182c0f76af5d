#include "bitmap_geometry.h"

bool MeasureBitmap(UINT width, UINT height, BitmapGeometry *geometry)
{
    if (width == 0 || height == 0)
        return false;
    const unsigned long long pixels = static_cast<unsigned long long>(width) * height;
    if (pixels > MaxPicturePixels)
        return false;
    // Worked out in 64 bits: a bitmap file states its size in 32.
    const unsigned long long stride = (static_cast<unsigned long long>(width) * 3 + 3) & ~3ull;
    const unsigned long long imageBytes = stride * height;
    const unsigned long long fileBytes = imageBytes + BitmapHeaderBytes;
    if (fileBytes > 0xFFFFFFFFull)
        return false;
    geometry->width = width;
    geometry->height = height;
    geometry->stride = static_cast<DWORD>(stride);
    geometry->imageBytes = static_cast<DWORD>(imageBytes);
    geometry->fileBytes = static_cast<DWORD>(fileBytes);
    return true;
}

void FillBitmapHeaders(const BitmapGeometry &geometry, BITMAPFILEHEADER *file, BITMAPINFOHEADER *info)
{
    ZeroMemory(file, sizeof(*file));
    ZeroMemory(info, sizeof(*info));
    file->bfType = 0x4D42; // "BM"
    file->bfSize = geometry.fileBytes;
    file->bfOffBits = BitmapHeaderBytes;
    info->biSize = sizeof(*info);
    info->biWidth = static_cast<LONG>(geometry.width);
    // A positive height: the rows are stored bottom-up, the form every
    // reader of bitmaps accepts.
    info->biHeight = static_cast<LONG>(geometry.height);
    info->biPlanes = 1;
    info->biBitCount = 24;
    info->biCompression = BI_RGB;
    info->biSizeImage = geometry.imageBytes;
}
