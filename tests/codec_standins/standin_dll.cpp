// The stand-ins' COM server: one class factory for each of the three
// classes, under Microsoft's class IDs. The test registers this library in
// its throwaway prefix's machine hive (standin_registration.h).
#include "standin_common.h"

namespace
{
enum StandIn
{
    JpegStandIn,
    WebpStandIn,
    HeifStandIn,
};

// Static: they live as long as the library, which is never unloaded.
class Factory : public IClassFactory
{
public:
    explicit Factory(StandIn kind) : kind(kind) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (object == NULL)
            return E_POINTER;
        *object = NULL;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory *>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **object) override
    {
        if (object == NULL)
            return E_POINTER;
        *object = NULL;
        if (outer != NULL)
            return CLASS_E_NOAGGREGATION;
        return kind == JpegStandIn ? CreateJpegStandIn(riid, object)
                                   : CreateContainerStandIn(kind == HeifStandIn, riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    const StandIn kind;
};

Factory jpegFactory(JpegStandIn), webpFactory(WebpStandIn), heifFactory(HeifStandIn);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void **object)
{
    if (object == NULL)
        return E_POINTER;
    *object = NULL;
    if (clsid == CLSID_WICJpegDecoder)
        return jpegFactory.QueryInterface(riid, object);
    if (clsid == CLSID_WICWebpDecoder)
        return webpFactory.QueryInterface(riid, object);
    if (clsid == CLSID_WICHeifDecoder)
        return heifFactory.QueryInterface(riid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

// Never unloaded: the objects of Wine's codecs it hands out hold windowscodecs.
extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}
