// What the stand-ins for Windows' own decoders share: how a test steers them,
// the log of calls they write for it, Wine's real codecs they wrap, and COM's
// reference count. Test code: registered only in a throwaway test prefix,
// never shipped.
#pragma once

#include <windows.h>

#include <wincodec.h>

#include <type_traits>

// True when the word (such as "nearest" or "copy-fails") is among those in
// the environment variable CODEC_STANDIN_MODE. It is read at each call, so a
// test steers a process it starts (rundll32) as well as its own.
bool ModeIs(const wchar_t *word);

// Appends one line to the file CODEC_STANDIN_LOG names; nothing when unset.
void LogCall(const char *format, ...) __attribute__((format(printf, 1, 2)));

// An object of Wine's own codec class, from windowscodecs' own class
// factory: never through the registry, which names the stand-in.
HRESULT CreateWineCodec(REFCLSID codec, REFIID riid, void **object);

// The stand-ins, each created with one reference.
HRESULT CreateJpegStandIn(REFIID riid, void **object);
HRESULT CreateContainerStandIn(bool heif, REFIID riid, void **object);

// IUnknown for an object that offers Interface (and IWICBitmapSource, when
// Interface is one): created with one reference, deleted at none.
template <class Interface> class ComObject : public Interface
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (object == NULL)
            return E_POINTER;
        *object = NULL;
        if (riid != IID_IUnknown && riid != __uuidof(Interface) &&
            (!std::is_base_of<IWICBitmapSource, Interface>::value || riid != IID_IWICBitmapSource))
            return E_NOINTERFACE;
        *object = static_cast<Interface *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~ComObject() {}

private:
    LONG references = 1;
};

// Hands out one reference of a new object as riid and drops the creator's.
template <class Object> HRESULT HandOut(Object *object, REFIID riid, void **out)
{
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

// The rectangle a copy names: rect, or all of a width x height picture.
inline WICRect CopiedRect(const WICRect *rect, UINT width, UINT height)
{
    const WICRect all = {0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    return rect != NULL ? *rect : all;
}

// "copy-fails": a copy that reaches the lower half of a picture height rows
// high fails, as a decoder meeting damaged data halfway down does.
inline bool FailsHere(const WICRect &rect, UINT height)
{
    return 2ull * (rect.Y + rect.Height) > height && ModeIs(L"copy-fails");
}

// A copy from the real decoder's source, failing where the mode says and
// logged as "<codec> copy WxH rect X,Y,W,H -> result".
inline HRESULT CopyLogged(IWICBitmapSource *source, const char *codec, const WICRect *rect, UINT stride, UINT size,
                          BYTE *buffer)
{
    UINT width = 0, height = 0;
    HRESULT hr = source->GetSize(&width, &height);
    const WICRect r = CopiedRect(rect, width, height);
    if (SUCCEEDED(hr))
        hr = FailsHere(r, height) ? E_FAIL : source->CopyPixels(rect, stride, size, buffer);
    LogCall("%s copy %ux%u rect %d,%d,%d,%d -> 0x%08lX", codec, width, height, r.X, r.Y, r.Width, r.Height, hr);
    return hr;
}
