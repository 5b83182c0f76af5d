// The file is read twice: once by our own walk over its markers, which
// refuses damaged and oversized pictures before any decoder allocates for
// them and finds the EXIF orientation, then by the platform's JPEG decoder.
// Decoding is left to the Windows Imaging Component, created as the factory
// every Windows since Vista has; orientation is applied here, because Wine's
// imaging component finds no EXIF tag in a JPEG file and its flip-rotator
// fails to copy a turned picture, and because turning in the flip-rotator is
// slow on Windows too.
#include "convert_jpeg.h"

#include <shlwapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include "bitmap_geometry.h"
#include "destination_file.h"
#include "jpeg_layout.h"
#include "pixel_source.h"
#include "write_upright.h"

using Microsoft::WRL::ComPtr;

namespace
{
ConvertResult ConvertLayout(LayoutCheck check)
{
    switch (check)
    {
    case LayoutWhole:
        return ConvertDone;
    case LayoutTruncated:
        return ConvertTruncated;
    case LayoutUnreadable:
        return ConvertSourceUnreadable;
    default:
        return ConvertNotAJpeg;
    }
}

ConvertResult OpenFrame(IStream *stream, const PictureLayout &layout, IWICImagingFactory **factory,
                        IWICBitmapFrameDecode **frame)
{
    ComPtr<IWICImagingFactory> imaging;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&imaging))))
        return ConvertNoImagingComponent;
    // The JPEG decoder by name: no other codec installed on the system is
    // offered the file.
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(imaging->CreateDecoder(GUID_ContainerFormatJpeg, &GUID_VendorMicrosoft, &decoder)))
        return ConvertNoImagingComponent;
    ComPtr<IWICBitmapFrameDecode> decoded;
    UINT width = 0, height = 0;
    if (FAILED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, &decoded)) || FAILED(decoded->GetSize(&width, &height)))
        return ConvertDecodeFailed;
    // The sizes the buffers are made for are the decoder's; they were only
    // checked in the walk, so both must agree.
    if (width != layout.width || height != layout.height)
        return ConvertDecodeFailed;
    *factory = imaging.Detach();
    *frame = decoded.Detach();
    return ConvertDone;
}
}

int WINAPI ConvertJpegFile(const wchar_t *source, const wchar_t *destination)
{
    ComPtr<IStream> stream;
    if (FAILED(SHCreateStreamOnFileW(source, STGM_READ | STGM_SHARE_DENY_WRITE, &stream)))
        return ConvertSourceUnreadable;
    PictureLayout layout;
    const ConvertResult walked = ConvertLayout(ReadJpegLayout(stream.Get(), &layout));
    if (walked != ConvertDone)
        return walked;
    if (layout.width == 0 || layout.height == 0)
        return ConvertNotAJpeg;
    UINT width = 0, height = 0;
    UprightSize(layout.width, layout.height, layout.orientation, &width, &height);
    BitmapGeometry geometry;
    if (!MeasureBitmap(width, height, &geometry))
        return ConvertTooLarge;

    const LARGE_INTEGER start = {};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, NULL)))
        return ConvertSourceUnreadable;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapFrameDecode> frame;
    const ConvertResult opened = OpenFrame(stream.Get(), layout, &factory, &frame);
    if (opened != ConvertDone)
        return opened;
    PixelSource pixels;
    if (!pixels.Open(factory.Get(), frame.Get(), layout.width))
        return ConvertDecodeFailed;

    DestinationFile file(destination);
    const ConvertResult written =
        WriteUprightBitmap(pixels, layout.width, layout.height, layout.orientation, geometry, file);
    if (written != ConvertDone)
        return written;
    return file.Finish() ? ConvertDone : ConvertDestinationUnwritable;
}
