// JPEG frames decode to 24-bit BGR (colour), 8-bit grey, or 32-bit CMYK
// (Adobe CMYK and YCCK). Colour is used as it is; CMYK goes through the
// platform's format converter; grey is widened here, because Wine's converter
// accepts grey to 24-bit BGR but then fails every copy, and widening in place
// costs no second buffer on any system.
#include "pixel_source.h"

namespace
{
// Spreads a row of grey bytes at the start of row into BGR triples, from the
// end backwards, so no byte is overwritten before it is read.
void WidenGrayRow(BYTE *row, UINT width)
{
    for (UINT x = width; x-- > 0;)
    {
        const BYTE level = row[x];
        row[3 * x] = level;
        row[3 * x + 1] = level;
        row[3 * x + 2] = level;
    }
}
}

bool PixelSource::Open(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, UINT frameWidth)
{
    width = frameWidth;
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format)))
        return false;
    if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) || IsEqualGUID(format, GUID_WICPixelFormat8bppGray))
    {
        expandGray = IsEqualGUID(format, GUID_WICPixelFormat8bppGray);
        source = frame;
        return true;
    }
    Microsoft::WRL::ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, NULL, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    source = converter;
    return true;
}

bool PixelSource::CopyRows(UINT y, UINT count, BYTE *rows, UINT stride)
{
    const WICRect rect = {0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(count)};
    if (FAILED(source->CopyPixels(&rect, stride, stride * count, rows)))
        return false;
    if (expandGray)
        for (UINT i = 0; i < count; ++i)
            WidenGrayRow(rows + static_cast<size_t>(i) * stride, width);
    return true;
}
