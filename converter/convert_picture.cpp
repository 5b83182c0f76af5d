// The file is read twice: once by our own walk over its header, which
// refuses damaged and oversized pictures before any decoder allocates for
// them and finds the orientation, then by the platform's decoder for its
// format. Formats we do not walk (JPEG XR, WebP, HEIF, BMP) are measured by
// their decoder before a pixel is decoded. Decoding is left to the Windows
// Imaging Component, created as the factory every Windows since Vista has;
// orientation is applied here, because Wine's imaging component finds no
// EXIF tag in a JPEG file and its flip-rotator fails to copy a turned
// picture, and because turning in the flip-rotator is slow on Windows too.
#include "convert_picture.h"

#include <shlwapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include "bitmap_geometry.h"
#include "destination_file.h"
#include "picture_decoder.h"
#include "picture_walk.h"
#include "pixel_source.h"
#include "scaled_rows.h"
#include "scaled_size.h"
#include "stream_source.h"
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
        return ConvertNotAPicture;
    }
}

// The format by the file's first bytes, and the layout our walk reads for
// it; a format with no walk of ours gets an empty layout.
ConvertResult ReadHeader(IStream *stream, PictureFormat *format, PictureLayout *layout)
{
    StreamSource source(stream);
    uint8_t head[PictureHeadBytes];
    size_t length = 0;
    if (!ReadPictureHead(source, head, &length))
        return ConvertSourceUnreadable;
    *format = SniffPictureFormat(head, length);
    if (*format == UnknownFormat)
        return ConvertNotAPicture;
    *layout = PictureLayout();
    if (!HasHeaderWalk(*format))
        return ConvertDone;
    const ConvertResult walked = ConvertLayout(WalkPictureLayout(*format, source, layout));
    if (walked != ConvertDone)
        return walked;
    return layout->width != 0 && layout->height != 0 ? ConvertDone : ConvertNotAPicture;
}

// Refuses a picture whose upright bitmap would be empty or too large.
ConvertResult Measure(const PictureLayout &layout, BitmapGeometry *geometry)
{
    UINT width = 0, height = 0;
    UprightSize(layout.width, layout.height, layout.orientation, &width, &height);
    return MeasureBitmap(width, height, geometry) ? ConvertDone : ConvertTooLarge;
}

// Takes the decoder's size for a format we do not walk; for one we walk, the
// sizes the buffers are made for were only checked in the walk, so the
// decoder's frame must agree with them.
ConvertResult AgreeOnSize(PictureFormat format, IWICBitmapFrameDecode *frame, PictureLayout *layout)
{
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)))
        return ConvertDecodeFailed;
    if (HasHeaderWalk(format))
        return width == layout->frameWidth && height == layout->frameHeight ? ConvertDone : ConvertDecodeFailed;
    layout->width = layout->frameWidth = width;
    layout->height = layout->frameHeight = height;
    layout->frameLeft = layout->frameTop = 0;
    // WebP's and HEIF's decoders report the orientation their file states.
    layout->orientation = format == BmpFormat ? 1 : DecodedOrientation(frame);
    return width != 0 && height != 0 ? ConvertDone : ConvertNotAPicture;
}

// The bitmap of the decoded picture (full, its upright geometry) at
// destination, scaled for scale's box: scaled in the stored picture's axes
// on the way to the writer that turns it upright, in one pass over the
// decoded rows either way.
ConvertResult WriteBitmap(PixelSource &pixels, IWICBitmapFrameDecode *frame, const PictureLayout &layout,
                          const BitmapGeometry &full, const ScaleRequest &scale, const wchar_t *destination)
{
    UINT width = full.width, height = full.height;
    ScaledSize(full.width, full.height, scale.boxWidth, scale.boxHeight, scale.fit, &width, &height);
    UINT storedWidth = layout.width, storedHeight = layout.height;
    UprightSize(width, height, layout.orientation, &storedWidth, &storedHeight);
    BitmapGeometry geometry;
    if (!MeasureBitmap(width, height, &geometry))
        return ConvertTooLarge;
    // Decoded at a smaller size where the decoder can, then averaged down to
    // the size asked for.
    UINT decodedWidth = layout.width, decodedHeight = layout.height;
    if (width != full.width || height != full.height)
        pixels.DecodeAtLeast(frame, storedWidth, storedHeight, &decodedWidth, &decodedHeight);
    ScaledRows scaled(pixels, decodedWidth, decodedHeight, storedWidth, storedHeight);
    const bool scaling = decodedWidth != storedWidth || decodedHeight != storedHeight;
    if (scaling && !scaled.Prepare())
        return ConvertOutOfMemory;
    RowSource &rows = scaling ? static_cast<RowSource &>(scaled) : pixels;

    DestinationFile file(destination);
    const ConvertResult written =
        WriteUprightBitmap(rows, storedWidth, storedHeight, layout.orientation, geometry, file);
    if (written != ConvertDone)
        return written;
    return file.Finish() ? ConvertDone : ConvertDestinationUnwritable;
}
}

int ConvertPictureFile(const wchar_t *source, const wchar_t *destination, const ScaleRequest &scale)
{
    ComPtr<IStream> stream;
    if (FAILED(SHCreateStreamOnFileW(source, STGM_READ | STGM_SHARE_DENY_WRITE, &stream)))
        return ConvertSourceUnreadable;
    PictureFormat format = UnknownFormat;
    PictureLayout layout;
    const ConvertResult read = ReadHeader(stream.Get(), &format, &layout);
    if (read != ConvertDone)
        return read;
    BitmapGeometry geometry;
    if (HasHeaderWalk(format) && Measure(layout, &geometry) != ConvertDone)
        return ConvertTooLarge;

    const LARGE_INTEGER start = {};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, NULL)))
        return ConvertSourceUnreadable;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return ConvertNoImagingComponent;
    ComPtr<IWICBitmapFrameDecode> frame;
    const ConvertResult opened = OpenFirstFrame(format, stream.Get(), &frame);
    if (opened != ConvertDone)
        return opened;
    const ConvertResult agreed = AgreeOnSize(format, frame.Get(), &layout);
    if (agreed != ConvertDone)
        return agreed;
    if (!HasHeaderWalk(format) && Measure(layout, &geometry) != ConvertDone)
        return ConvertTooLarge;
    PixelSource pixels;
    if (!pixels.Open(factory.Get(), frame.Get(), layout, GetSysColor(COLOR_DESKTOP)))
        return ConvertDecodeFailed;

    return WriteBitmap(pixels, frame.Get(), layout, geometry, scale, destination);
}
