// A decoded frame's rows as 24-bit BGR, the pixel layout of the bitmap file.
#pragma once

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

class PixelSource
{
public:
    PixelSource() : width(0), expandGray(false) {}

    // False when the frame's pixel format cannot be turned into 24-bit BGR.
    bool Open(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, UINT frameWidth);

    // Copies count rows, starting at row y, into rows stride bytes apart.
    // stride is at least 3 bytes a pixel; stride * count must fit in a UINT.
    // Bytes past the pixels of a row are left as they were.
    bool CopyRows(UINT y, UINT count, BYTE *rows, UINT stride);

private:
    Microsoft::WRL::ComPtr<IWICBitmapSource> source;
    UINT width;
    bool expandGray;
};
