// Windows' JPEG decoder as far as Wine lacks it: Wine's own decoder, whose
// frames gain the IWICBitmapSourceTransform Windows' JPEG frames have. It
// scales natively to the full size, a half, a quarter or an eighth, each axis
// rounded up, and is as strict as the interface's contract: CopyPixels takes
// only a native size, the frame's own pixel format, no turn, a rectangle
// inside the scaled picture and a stride and buffer that hold it. Its pixels
// are Wine's decode averaged down, block by block.
//
// Where the contract leaves a choice, the test makes it (CODEC_STANDIN_MODE):
// "nearest" answers GetClosestSize with the native size nearest to the one
// asked, even a smaller one, else it answers the smallest that covers it;
// "size-larger", "size-zero" and "format-other" answer as no sound decoder
// would; "init-fails" and "copy-fails" fail.
#include "standin_common.h"

#include "source_transform.h"

namespace
{
const UINT Scales[] = {1, 2, 4, 8};

UINT Scaled(UINT full, UINT scale)
{
    return (full + scale - 1) / scale;
}

UINT BytesPerPixel(const WICPixelFormatGUID &format)
{
    if (IsEqualGUID(format, GUID_WICPixelFormat8bppGray))
        return 1;
    if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return 3;
    return IsEqualGUID(format, GUID_WICPixelFormat32bppCMYK) ? 4 : 0;
}

UINT Distance(UINT a, UINT b)
{
    return a > b ? a - b : b - a;
}

class JpegFrame : public ComObject<IWICBitmapFrameDecode>, public IWICBitmapSourceTransform
{
public:
    explicit JpegFrame(IWICBitmapFrameDecode *wine) : wine(wine) { wine->AddRef(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (object == NULL || riid != __uuidof(IWICBitmapSourceTransform))
            return ComObject::QueryInterface(riid, object);
        *object = static_cast<IWICBitmapSourceTransform *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ComObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComObject::Release(); }

    HRESULT STDMETHODCALLTYPE GetSize(UINT *w, UINT *h) override { return wine->GetSize(w, h); }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID *f) override { return wine->GetPixelFormat(f); }
    HRESULT STDMETHODCALLTYPE GetResolution(double *x, double *y) override { return wine->GetResolution(x, y); }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette *p) override { return wine->CopyPalette(p); }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader **r) override
    {
        return wine->GetMetadataQueryReader(r);
    }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT n, IWICColorContext **c, UINT *a) override
    {
        return wine->GetColorContexts(n, c, a);
    }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource **t) override { return wine->GetThumbnail(t); }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect *rect, UINT stride, UINT size, BYTE *buffer) override
    {
        return CopyLogged(wine, "jpeg", rect, stride, size, buffer);
    }

    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT *width, UINT *height) override
    {
        UINT fullWidth = 0, fullHeight = 0;
        if (width == NULL || height == NULL || FAILED(wine->GetSize(&fullWidth, &fullHeight)))
            return E_INVALIDARG;
        // Full size when no native size is as large as asked.
        UINT w = fullWidth, h = fullHeight;
        for (UINT scale : Scales)
        {
            const UINT sw = Scaled(fullWidth, scale), sh = Scaled(fullHeight, scale);
            const bool nearer =
                Distance(sw, *width) + Distance(sh, *height) < Distance(w, *width) + Distance(h, *height);
            if (ModeIs(L"nearest") ? nearer : sw >= *width && sh >= *height)
                w = sw, h = sh;
        }
        if (ModeIs(L"size-larger"))
            w = fullWidth * 2, h = fullHeight * 2;
        if (ModeIs(L"size-zero"))
            w = h = 0;
        LogCall("jpeg closest-size %ux%u -> %ux%u", *width, *height, w, h);
        *width = w;
        *height = h;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID *format) override
    {
        if (format == NULL)
            return E_INVALIDARG;
        const bool other = ModeIs(L"format-other");
        LogCall("jpeg closest-format -> %s", other ? "other" : "own");
        return other ? (*format = GUID_WICPixelFormat32bppBGRA, S_OK) : wine->GetPixelFormat(format);
    }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL *supported) override
    {
        if (supported == NULL)
            return E_INVALIDARG;
        *supported = transform == WICBitmapTransformRotate0;
        LogCall("jpeg supports-transform %d -> %d", transform, *supported);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect *rect, UINT width, UINT height, WICPixelFormatGUID *format,
                                         WICBitmapTransformOptions transform, UINT stride, UINT size,
                                         BYTE *buffer) override
    {
        const WICRect r = CopiedRect(rect, width, height);
        const HRESULT hr = ScaledCopy(r, width, height, format, transform, stride, size, buffer);
        LogCall("jpeg scaled-copy %ux%u rect %d,%d,%d,%d -> 0x%08lX", width, height, r.X, r.Y, r.Width, r.Height,
                hr);
        return hr;
    }

private:
    ~JpegFrame() override { wine->Release(); }

    HRESULT ScaledCopy(const WICRect &r, UINT width, UINT height, const WICPixelFormatGUID *format,
                       WICBitmapTransformOptions transform, UINT stride, UINT size, BYTE *buffer)
    {
        UINT fullWidth = 0, fullHeight = 0, scale = 0;
        WICPixelFormatGUID own;
        if (FAILED(wine->GetSize(&fullWidth, &fullHeight)) || FAILED(wine->GetPixelFormat(&own)))
            return E_FAIL;
        for (UINT s : Scales)
            if (Scaled(fullWidth, s) == width && Scaled(fullHeight, s) == height)
                scale = s;
        const UINT bytes = BytesPerPixel(own);
        const unsigned long long row = static_cast<unsigned long long>(r.Width) * bytes;
        if (bytes == 0 || scale == 0 || (format != NULL && !IsEqualGUID(*format, own)) ||
            transform != WICBitmapTransformRotate0 || buffer == NULL || r.X < 0 || r.Y < 0 || r.Width <= 0 ||
            r.Height <= 0 || static_cast<UINT>(r.X) + r.Width > width || static_cast<UINT>(r.Y) + r.Height > height ||
            stride < row || size < static_cast<unsigned long long>(stride) * (r.Height - 1) + row)
            return E_INVALIDARG;
        if (FailsHere(r, height))
            return E_FAIL;
        if (scale == 1)
            return wine->CopyPixels(&r, stride, size, buffer);
        // The source blocks under one scaled row at a time, decoded by Wine.
        const UINT left = r.X * scale;
        const UINT across = fullWidth - left < r.Width * scale ? fullWidth - left : r.Width * scale;
        const UINT sourceStride = across * bytes;
        BYTE *const source = static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), 0, sourceStride * scale));
        if (source == NULL)
            return E_OUTOFMEMORY;
        HRESULT hr = S_OK;
        for (INT y = 0; y < r.Height && SUCCEEDED(hr); ++y)
        {
            const UINT top = (r.Y + y) * scale;
            const UINT down = fullHeight - top < scale ? fullHeight - top : scale;
            const WICRect band = {static_cast<INT>(left), static_cast<INT>(top), static_cast<INT>(across),
                                  static_cast<INT>(down)};
            hr = wine->CopyPixels(&band, sourceStride, sourceStride * down, source);
            BYTE *out = buffer + static_cast<size_t>(y) * stride;
            for (UINT from = 0; from < across && SUCCEEDED(hr); from += scale)
            {
                const UINT wide = across - from < scale ? across - from : scale;
                for (UINT c = 0; c < bytes; ++c)
                {
                    UINT sum = 0;
                    for (UINT dy = 0; dy < down; ++dy)
                        for (UINT dx = 0; dx < wide; ++dx)
                            sum += source[dy * sourceStride + (from + dx) * bytes + c];
                    *out++ = static_cast<BYTE>((sum + wide * down / 2) / (wide * down));
                }
            }
        }
        HeapFree(GetProcessHeap(), 0, source);
        return hr;
    }

    IWICBitmapFrameDecode *const wine;
};

class JpegDecoder : public ComObject<IWICBitmapDecoder>
{
public:
    explicit JpegDecoder(IWICBitmapDecoder *wine) : wine(wine) {}

    HRESULT STDMETHODCALLTYPE QueryCapability(IStream *s, DWORD *c) override { return wine->QueryCapability(s, c); }
    HRESULT STDMETHODCALLTYPE Initialize(IStream *stream, WICDecodeOptions options) override
    {
        const HRESULT hr = ModeIs(L"init-fails") ? WINCODEC_ERR_BADHEADER : wine->Initialize(stream, options);
        LogCall("jpeg initialize -> 0x%08lX", hr);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID *f) override { return wine->GetContainerFormat(f); }
    HRESULT STDMETHODCALLTYPE GetDecoderInfo(IWICBitmapDecoderInfo **i) override { return wine->GetDecoderInfo(i); }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette *p) override { return wine->CopyPalette(p); }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader **r) override
    {
        return wine->GetMetadataQueryReader(r);
    }
    HRESULT STDMETHODCALLTYPE GetPreview(IWICBitmapSource **p) override { return wine->GetPreview(p); }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT n, IWICColorContext **c, UINT *a) override
    {
        return wine->GetColorContexts(n, c, a);
    }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource **t) override { return wine->GetThumbnail(t); }
    HRESULT STDMETHODCALLTYPE GetFrameCount(UINT *c) override { return wine->GetFrameCount(c); }
    HRESULT STDMETHODCALLTYPE GetFrame(UINT index, IWICBitmapFrameDecode **frame) override
    {
        IWICBitmapFrameDecode *own = NULL;
        const HRESULT hr = frame == NULL ? E_INVALIDARG : wine->GetFrame(index, &own);
        if (SUCCEEDED(hr))
        {
            *frame = new JpegFrame(own);
            own->Release();
        }
        return hr;
    }

private:
    ~JpegDecoder() override { wine->Release(); }

    IWICBitmapDecoder *const wine;
};
}

HRESULT CreateJpegStandIn(REFIID riid, void **object)
{
    IWICBitmapDecoder *wine = NULL;
    const HRESULT hr = CreateWineCodec(CLSID_WICJpegDecoder, IID_IWICBitmapDecoder, reinterpret_cast<void **>(&wine));
    return FAILED(hr) ? hr : HandOut(new JpegDecoder(wine), riid, object);
}
