// Decoders hand out their frames in many pixel formats. JPEG's 24-bit BGR is
// used as it is; 8-bit grey is widened in place, because Wine's converter
// accepts grey to 24-bit BGR but then fails every copy. Palette pictures
// (PNG, GIF, TIFF) are looked up here, so that an index beyond the palette
// is refused rather than shown as whatever the converter makes of it, and a
// transparent palette entry is blended once, not at every pixel. Everything
// else (16 bits a sample, grey with alpha, CMYK, JPEG XR's high-range
// formats) goes through the platform's format converter into 32-bit BGRA,
// which holds every format's transparency, and is blended here.
#include "pixel_source.h"

namespace
{
// Rows of a kind turned here are decoded a few at a time into this much.
const UINT WorkBytes = 256 * 1024;

// c over background, by opacity alpha (0 to 255), rounded.
BYTE Blend(UINT c, UINT alpha, UINT background)
{
    return static_cast<BYTE>((c * alpha + background * (255 - alpha) + 127) / 255);
}

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

// The bits of each pixel of the indexed formats, 0 for the others.
UINT IndexBits(const WICPixelFormatGUID &format)
{
    if (IsEqualGUID(format, GUID_WICPixelFormat1bppIndexed))
        return 1;
    if (IsEqualGUID(format, GUID_WICPixelFormat2bppIndexed))
        return 2;
    if (IsEqualGUID(format, GUID_WICPixelFormat4bppIndexed))
        return 4;
    if (IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed))
        return 8;
    return 0;
}
}

PixelSource::PixelSource()
    : kind(Bgr), format(), layout(), background(), indexBits(0), paletteCount(0), palette(), work(NULL), workStride(0),
      workRows(0)
{
}

PixelSource::~PixelSource()
{
    if (work != NULL)
        HeapFree(GetProcessHeap(), 0, work);
}

bool PixelSource::Open(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, const PictureLayout &picture,
                       COLORREF backgroundColour)
{
    layout = picture;
    background[0] = GetBValue(backgroundColour);
    background[1] = GetGValue(backgroundColour);
    background[2] = GetRValue(backgroundColour);
    if (FAILED(frame->GetPixelFormat(&format)))
        return false;
    indexBits = IndexBits(format);
    if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) || IsEqualGUID(format, GUID_WICPixelFormat8bppGray))
    {
        kind = IsEqualGUID(format, GUID_WICPixelFormat8bppGray) ? Gray : Bgr;
        source = frame;
        return true;
    }
    if (indexBits != 0)
    {
        kind = Indexed;
        source = frame;
        if (!OpenPalette(factory, frame, indexBits))
            return false;
        // At most 8 bits a pixel of a frame of at most 2^29 pixels: no overflow.
        workStride = (layout.frameWidth * indexBits + 7) / 8;
    }
    else if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA))
    {
        // PNG's and WebP's usual format: blended as it comes.
        kind = Alpha;
        source = frame;
        workStride = layout.frameWidth * 4;
    }
    else
    {
        Microsoft::WRL::ComPtr<IWICFormatConverter> converter;
        if (FAILED(factory->CreateFormatConverter(&converter)) ||
            FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, NULL, 0.0,
                                         WICBitmapPaletteTypeCustom)))
            return false;
        kind = Alpha;
        source = converter;
        workStride = layout.frameWidth * 4;
    }
    workRows = workStride < WorkBytes ? WorkBytes / workStride : 1;
    if (workRows > layout.frameHeight)
        workRows = layout.frameHeight;
    work = static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(workStride) * workRows));
    return work != NULL;
}

// The frame's palette, each colour blended over the background once.
bool PixelSource::OpenPalette(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, UINT bits)
{
    Microsoft::WRL::ComPtr<IWICPalette> colours;
    WICColor entries[256];
    UINT count = 0;
    if (FAILED(factory->CreatePalette(&colours)) || FAILED(frame->CopyPalette(colours.Get())) ||
        FAILED(colours->GetColors(256, entries, &count)))
        return false;
    // A palette longer than the format can index is cut to what it can.
    const UINT indexable = 1u << bits;
    paletteCount = count < indexable ? count : indexable;
    for (UINT i = 0; i < paletteCount; ++i)
    {
        const UINT alpha = entries[i] >> 24;
        palette[i][0] = Blend(entries[i] & 0xFF, alpha, background[0]);
        palette[i][1] = Blend((entries[i] >> 8) & 0xFF, alpha, background[1]);
        palette[i][2] = Blend((entries[i] >> 16) & 0xFF, alpha, background[2]);
    }
    return true;
}

void PixelSource::DecodeAtLeast(IWICBitmapFrameDecode *frame, UINT width, UINT height, UINT *decodedWidth,
                                UINT *decodedHeight)
{
    *decodedWidth = layout.width;
    *decodedHeight = layout.height;
    // Only the formats copied as they come, of a frame that is the whole
    // picture, and only where the decoder copies in the frame's own format.
    const bool whole = layout.frameWidth == layout.width && layout.frameHeight == layout.height;
    Microsoft::WRL::ComPtr<IWICBitmapSourceTransform> transform;
    WICPixelFormatGUID closest = format;
    if ((kind != Bgr && kind != Gray) || !whole || FAILED(frame->QueryInterface(IID_PPV_ARGS(&transform))) ||
        FAILED(transform->GetClosestPixelFormat(&closest)) || !IsEqualGUID(closest, format))
        return;
    // "Closest" may round either way: Windows' JPEG decoder may answer a
    // native size smaller than the one asked for. So the decoder is asked
    // for the size needed and for each halving of the frame that still
    // covers it, and the smallest answer that covers the need and is no
    // larger than the frame is taken; any other answer (zero, larger than
    // the frame, smaller than needed) is passed over.
    UINT bestWidth = layout.width, bestHeight = layout.height;
    for (UINT halvings = 0; halvings < 32; ++halvings)
    {
        UINT w = width, h = height;
        if (halvings > 0)
        {
            w = static_cast<UINT>((layout.width + (1ull << halvings) - 1) >> halvings);
            h = static_cast<UINT>((layout.height + (1ull << halvings) - 1) >> halvings);
            if (w < width || h < height)
                break;
        }
        if (SUCCEEDED(transform->GetClosestSize(&w, &h)) && w >= width && h >= height && w <= layout.width &&
            h <= layout.height &&
            static_cast<unsigned long long>(w) * h < static_cast<unsigned long long>(bestWidth) * bestHeight)
        {
            bestWidth = w;
            bestHeight = h;
        }
    }
    if (bestWidth == layout.width && bestHeight == layout.height)
        return;
    scaling = transform;
    layout.width = layout.frameWidth = bestWidth;
    layout.height = layout.frameHeight = bestHeight;
    *decodedWidth = bestWidth;
    *decodedHeight = bestHeight;
}

void PixelSource::FillBackground(BYTE *pixels, UINT count) const
{
    for (UINT x = 0; x < count; ++x)
    {
        pixels[3 * x] = background[0];
        pixels[3 * x + 1] = background[1];
        pixels[3 * x + 2] = background[2];
    }
}

bool PixelSource::CopyRows(UINT y, UINT count, BYTE *rows, UINT stride)
{
    const UINT frameBottom = layout.frameTop + layout.frameHeight;
    for (UINT i = 0; i < count;)
    {
        const UINT canvasY = y + i;
        BYTE *row = rows + static_cast<size_t>(i) * stride;
        if (canvasY < layout.frameTop || canvasY >= frameBottom)
        {
            FillBackground(row, layout.width);
            ++i;
            continue;
        }
        const UINT inFrame = count - i < frameBottom - canvasY ? count - i : frameBottom - canvasY;
        if (!CopyFrameRows(canvasY - layout.frameTop, inFrame, row, stride))
            return false;
        i += inFrame;
    }
    return true;
}

// Rows frameY on of the frame into canvas rows, with the canvas around the
// frame (a GIF's) in the background colour.
bool PixelSource::CopyFrameRows(UINT frameY, UINT count, BYTE *rows, UINT stride)
{
    const UINT right = layout.frameLeft + layout.frameWidth;
    for (UINT i = 0; i < count; ++i)
    {
        BYTE *row = rows + static_cast<size_t>(i) * stride;
        FillBackground(row, layout.frameLeft);
        FillBackground(row + static_cast<size_t>(right) * 3, layout.width - right);
    }
    BYTE *const first = rows + static_cast<size_t>(layout.frameLeft) * 3;
    const UINT width = layout.frameWidth;
    if (kind == Bgr || kind == Gray)
    {
        WICRect rect = {0, static_cast<INT>(frameY), static_cast<INT>(width), static_cast<INT>(count)};
        const UINT bytes = stride * (count - 1) + width * 3;
        const HRESULT copied = scaling
                                   ? scaling->CopyPixels(&rect, layout.width, layout.height, &format,
                                                         WICBitmapTransformRotate0, stride, bytes, first)
                                   : source->CopyPixels(&rect, stride, bytes, first);
        if (FAILED(copied))
            return false;
        if (kind == Gray)
            for (UINT i = 0; i < count; ++i)
                WidenGrayRow(first + static_cast<size_t>(i) * stride, width);
        return true;
    }
    UINT done = 0;
    for (UINT taken = 0; done < count; done += taken)
    {
        taken = count - done < workRows ? count - done : workRows;
        const WICRect rect = {0, static_cast<INT>(frameY + done), static_cast<INT>(width), static_cast<INT>(taken)};
        if (FAILED(source->CopyPixels(&rect, workStride, workStride * taken, work)))
            return false;
        for (UINT i = 0; i < taken; ++i)
        {
            const BYTE *in = work + static_cast<size_t>(i) * workStride;
            BYTE *out = first + static_cast<size_t>(done + i) * stride;
            if (kind == Alpha)
            {
                for (UINT x = 0; x < width; ++x, in += 4, out += 3)
                    if (in[3] == 255)
                    {
                        out[0] = in[0];
                        out[1] = in[1];
                        out[2] = in[2];
                    }
                    else
                        for (int c = 0; c < 3; ++c)
                            out[c] = Blend(in[c], in[3], background[c]);
                continue;
            }
            const UINT mask = (1u << indexBits) - 1;
            for (UINT x = 0; x < width; ++x, out += 3)
            {
                const UINT bit = x * indexBits;
                const UINT index = (in[bit / 8] >> (8 - indexBits - bit % 8)) & mask;
                if (index >= paletteCount)
                    return false;
                out[0] = palette[index][0];
                out[1] = palette[index][1];
                out[2] = palette[index][2];
            }
        }
    }
    return true;
}
