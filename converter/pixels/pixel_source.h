// A decoded picture's rows as 24-bit BGR, the pixel layout of the bitmap
// file: its first frame placed on the picture's canvas, transparent pixels
// blended over a background colour.
#pragma once

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include "picture_layout.h"
#include "row_source.h"
#include "source_transform.h"

class PixelSource : public RowSource
{
public:
    PixelSource();
    ~PixelSource();
    PixelSource(const PixelSource &) = delete;
    PixelSource &operator=(const PixelSource &) = delete;

    // frame is the decoder's first frame, of layout's frame size. False when
    // its pixel format cannot be turned into 24-bit BGR or no memory is left
    // for the rows in between.
    bool Open(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, const PictureLayout &layout,
              COLORREF background);

    // Where the decoder can scale while it decodes (Windows' JPEG decoder
    // can, by halves), has it decode the frame at the smallest size it can
    // that is no smaller than width x height on either axis, however its
    // closest size rounds; the rows and *decodedWidth x *decodedHeight are
    // then that size, else the frame's own. Called after Open, before the
    // first row.
    void DecodeAtLeast(IWICBitmapFrameDecode *frame, UINT width, UINT height, UINT *decodedWidth,
                       UINT *decodedHeight);

    // Rows of the canvas (row_source.h). False when the decoder fails or a
    // pixel names a colour its palette does not hold.
    bool CopyRows(UINT y, UINT count, BYTE *rows, UINT stride) override;

private:
    enum Kind
    {
        Bgr,     // 24-bit BGR, copied as it is
        Gray,    // 8-bit grey, widened in place
        Indexed, // 1, 2, 4 or 8 bits a pixel, looked up in the palette here
        Alpha,   // anything else, as 32-bit BGRA from the format converter
    };

    bool OpenPalette(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, UINT bits);
    bool CopyFrameRows(UINT frameY, UINT count, BYTE *rows, UINT stride);
    void FillBackground(BYTE *pixels, UINT count) const;

    Microsoft::WRL::ComPtr<IWICBitmapSource> source;
    // Set when the decoder scales the frame as it decodes.
    Microsoft::WRL::ComPtr<IWICBitmapSourceTransform> scaling;
    Kind kind;
    WICPixelFormatGUID format;
    PictureLayout layout;
    BYTE background[3]; // blue, green, red
    UINT indexBits;
    UINT paletteCount;
    BYTE palette[256][3]; // each colour already blended over the background
    // Decoded rows in their own format, for the kinds that are turned here,
    // from the process heap: a failed allocation is a failure to answer, never
    // an exception.
    BYTE *work;
    UINT workStride;
    UINT workRows;
};
