// Microsoft's WebP and HEIF decoders as far as the tests need them: they
// read files the tests make, a real RIFF "WEBP" container, or an ISO-BMFF
// one whose "ftyp" brand is "heic" or "avif", in which a chunk or box of our
// own carries the picture as a PNG, decoded by Wine's PNG decoder, and the
// orientation the decoder reports. Like Microsoft's, the frame answers
// System.Photo.Orientation through its metadata query reader.
//
// Our payload: the orientation's VARTYPE (2 bytes, little-endian; VT_EMPTY
// when the file states none), its value (4 bytes, little-endian), the PNG.
// "init-fails" makes Initialize fail, "copy-fails" every copy that reaches
// the lower half of the picture (CODEC_STANDIN_MODE).
#include "standin_common.h"

#include <shlwapi.h>
#include <string.h>

#include <vector>

namespace
{
const char WebpChunk[4] = {'V', 'S', 'T', 'N'};
const BYTE HeifUuid[16] = {0x7a, 0x1c, 0x53, 0x0e, 0x4b, 0x2d, 0x4f, 0x61,
                           0x9e, 0x3a, 0x56, 0x69, 0x73, 0x74, 0x6e, 0x01};
const size_t PayloadHead = 6;
const ULONG MaxFileBytes = 64u << 20;

UINT Little(const BYTE *at, int bytes)
{
    UINT value = 0;
    for (int i = bytes; i-- > 0;)
        value = value << 8 | at[i];
    return value;
}

UINT Big32(const BYTE *at)
{
    return static_cast<UINT>(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3];
}

// Our chunk among a RIFF "WEBP" file's: a four-letter name, a little-endian
// length, the data, padded to an even length.
bool FindWebpPayload(const std::vector<BYTE> &file, size_t *at, size_t *length)
{
    if (file.size() < 12 || memcmp(&file[0], "RIFF", 4) != 0 || memcmp(&file[8], "WEBP", 4) != 0)
        return false;
    const size_t end = Little(&file[4], 4) < file.size() - 8 ? Little(&file[4], 4) + 8 : file.size();
    for (size_t chunk = 12; chunk + 8 <= end;)
    {
        const size_t size = Little(&file[chunk + 4], 4);
        if (size > end - chunk - 8)
            return false;
        if (memcmp(&file[chunk], WebpChunk, 4) == 0)
            return *at = chunk + 8, *length = size, true;
        chunk += 8 + size + (size & 1);
    }
    return false;
}

// Our "uuid" box among an ISO-BMFF file's boxes (a big-endian length and a
// type), after an "ftyp" box whose major brand is "heic" or "avif".
bool FindHeifPayload(const std::vector<BYTE> &file, size_t *at, size_t *length)
{
    if (file.size() < 16 || memcmp(&file[4], "ftyp", 4) != 0 ||
        (memcmp(&file[8], "heic", 4) != 0 && memcmp(&file[8], "avif", 4) != 0))
        return false;
    for (size_t box = 0; box + 8 <= file.size();)
    {
        const size_t size = Big32(&file[box]);
        if (size < 8 || size > file.size() - box)
            return false;
        if (size >= 24 && memcmp(&file[box + 4], "uuid", 4) == 0 && memcmp(&file[box + 8], HeifUuid, 16) == 0)
            return *at = box + 24, *length = size - 24, true;
        box += size;
    }
    return false;
}

class OrientationReader : public ComObject<IWICMetadataQueryReader>
{
public:
    OrientationReader(const GUID &container, VARTYPE type, UINT value) : container(container), type(type), value(value)
    {
    }

    HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID *format) override
    {
        return format == NULL ? E_INVALIDARG : (*format = container, S_OK);
    }
    HRESULT STDMETHODCALLTYPE GetLocation(UINT max, WCHAR *name, UINT *length) override
    {
        if (length == NULL || (name != NULL && max < 2))
            return E_INVALIDARG;
        *length = 2;
        if (name != NULL)
            lstrcpyW(name, L"/");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMetadataByName(LPCWSTR name, PROPVARIANT *out) override
    {
        if (name == NULL)
            return E_INVALIDARG;
        HRESULT hr = WINCODEC_ERR_PROPERTYNOTFOUND;
        if (lstrcmpiW(name, L"System.Photo.Orientation") == 0 && type != VT_EMPTY)
        {
            hr = S_OK;
            if (out != NULL)
            {
                PropVariantInit(out);
                out->vt = type;
                if (type == VT_UI2)
                    out->uiVal = static_cast<USHORT>(value);
                else
                    out->ulVal = value;
            }
        }
        LogCall("container metadata %ls -> 0x%08lX", name, hr);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetEnumerator(IEnumString **names) override
    {
        return names == NULL ? E_INVALIDARG : (*names = NULL, E_NOTIMPL);
    }

private:
    const GUID container;
    const VARTYPE type;
    const UINT value;
};

class ContainerFrame : public ComObject<IWICBitmapFrameDecode>
{
public:
    ContainerFrame(IWICBitmapFrameDecode *png, const GUID &container, VARTYPE type, UINT value)
        : png(png), container(container), type(type), value(value)
    {
        png->AddRef();
    }

    HRESULT STDMETHODCALLTYPE GetSize(UINT *w, UINT *h) override { return png->GetSize(w, h); }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID *f) override { return png->GetPixelFormat(f); }
    HRESULT STDMETHODCALLTYPE GetResolution(double *x, double *y) override { return png->GetResolution(x, y); }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette *p) override { return png->CopyPalette(p); }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect *rect, UINT stride, UINT size, BYTE *buffer) override
    {
        return CopyLogged(png, "container", rect, stride, size, buffer);
    }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader **reader) override
    {
        return reader == NULL ? E_INVALIDARG : (*reader = new OrientationReader(container, type, value), S_OK);
    }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext **, UINT *actual) override
    {
        return actual == NULL ? E_INVALIDARG : (*actual = 0, S_OK);
    }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource **) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }

private:
    ~ContainerFrame() override { png->Release(); }

    IWICBitmapFrameDecode *const png;
    const GUID container;
    const VARTYPE type;
    const UINT value;
};

class ContainerDecoder : public ComObject<IWICBitmapDecoder>
{
public:
    explicit ContainerDecoder(bool heif) : heif(heif) {}

    HRESULT STDMETHODCALLTYPE QueryCapability(IStream *, DWORD *capability) override
    {
        return capability == NULL ? E_INVALIDARG : (*capability = WICBitmapDecoderCapabilityCanDecodeAllImages, S_OK);
    }
    HRESULT STDMETHODCALLTYPE Initialize(IStream *stream, WICDecodeOptions) override
    {
        const HRESULT hr = Open(stream);
        LogCall("container initialize %s -> 0x%08lX", heif ? "heif" : "webp", hr);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID *format) override
    {
        return format == NULL ? E_INVALIDARG : (*format = Container(), S_OK);
    }
    HRESULT STDMETHODCALLTYPE GetDecoderInfo(IWICBitmapDecoderInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette *) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader **) override
    {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    HRESULT STDMETHODCALLTYPE GetPreview(IWICBitmapSource **) override { return WINCODEC_ERR_UNSUPPORTEDOPERATION; }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext **, UINT *actual) override
    {
        return actual == NULL ? E_INVALIDARG : (*actual = 0, S_OK);
    }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource **) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }
    HRESULT STDMETHODCALLTYPE GetFrameCount(UINT *count) override
    {
        return count == NULL ? E_INVALIDARG : png == NULL ? WINCODEC_ERR_NOTINITIALIZED : (*count = 1, S_OK);
    }
    HRESULT STDMETHODCALLTYPE GetFrame(UINT index, IWICBitmapFrameDecode **frame) override
    {
        if (frame == NULL)
            return E_INVALIDARG;
        if (png == NULL || index != 0)
            return png == NULL ? WINCODEC_ERR_NOTINITIALIZED : WINCODEC_ERR_FRAMEMISSING;
        *frame = new ContainerFrame(png, Container(), type, value);
        return S_OK;
    }

private:
    ~ContainerDecoder() override
    {
        if (png != NULL)
            png->Release();
        if (decoder != NULL)
            decoder->Release();
    }

    GUID Container() const { return heif ? GUID_ContainerFormatHeif : GUID_ContainerFormatWebp; }

    // The file's PNG opened by Wine's decoder, and the orientation beside it.
    HRESULT Open(IStream *stream)
    {
        if (stream == NULL)
            return E_INVALIDARG;
        if (decoder != NULL)
            return WINCODEC_ERR_WRONGSTATE;
        if (ModeIs(L"init-fails"))
            return WINCODEC_ERR_BADHEADER;
        STATSTG stat = {};
        const LARGE_INTEGER start = {};
        if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > MaxFileBytes ||
            FAILED(stream->Seek(start, STREAM_SEEK_SET, NULL)))
            return WINCODEC_ERR_STREAMREAD;
        std::vector<BYTE> file(static_cast<size_t>(stat.cbSize.QuadPart) + 1);
        ULONG read = 0;
        if (FAILED(stream->Read(&file[0], static_cast<ULONG>(stat.cbSize.QuadPart), &read)))
            return WINCODEC_ERR_STREAMREAD;
        file.resize(read);
        size_t at = 0, length = 0;
        if (!(heif ? FindHeifPayload(file, &at, &length) : FindWebpPayload(file, &at, &length)) ||
            length <= PayloadHead)
            return WINCODEC_ERR_BADHEADER;
        type = static_cast<VARTYPE>(Little(&file[at], 2));
        value = Little(&file[at + 2], 4);
        IStream *pngStream = SHCreateMemStream(&file[at + PayloadHead], static_cast<UINT>(length - PayloadHead));
        if (pngStream == NULL)
            return E_OUTOFMEMORY;
        HRESULT hr = CreateWineCodec(CLSID_WICPngDecoder, IID_IWICBitmapDecoder, reinterpret_cast<void **>(&decoder));
        if (SUCCEEDED(hr))
            hr = decoder->Initialize(pngStream, WICDecodeMetadataCacheOnDemand);
        if (SUCCEEDED(hr))
            hr = decoder->GetFrame(0, &png);
        pngStream->Release();
        return hr;
    }

    const bool heif;
    IWICBitmapDecoder *decoder = NULL; // Wine's PNG decoder
    IWICBitmapFrameDecode *png = NULL;
    VARTYPE type = VT_EMPTY;
    UINT value = 0;
};
}

HRESULT CreateContainerStandIn(bool heif, REFIID riid, void **object)
{
    return HandOut(new ContainerDecoder(heif), riid, object);
}
