#include "com_apartment.h"

#include <objbase.h>

ComApartment::ComApartment() : initialized(false), joinedCallers(false)
{
    const HRESULT hr = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    initialized = SUCCEEDED(hr);
    joinedCallers = hr == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment()
{
    if (initialized)
        CoUninitialize();
}
