#include "standin_common.h"

#include <stdarg.h>
#include <stdio.h>

bool ModeIs(const wchar_t *word)
{
    wchar_t mode[256];
    const DWORD length = GetEnvironmentVariableW(L"CODEC_STANDIN_MODE", mode, 256);
    if (length == 0 || length >= 256)
        return false;
    const size_t wanted = lstrlenW(word);
    for (const wchar_t *at = mode; *at != L'\0';)
    {
        const wchar_t *end = at;
        while (*end != L'\0' && *end != L' ' && *end != L',')
            ++end;
        if (static_cast<size_t>(end - at) == wanted && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, at,
                                                                       static_cast<int>(wanted), word,
                                                                       static_cast<int>(wanted)) == CSTR_EQUAL)
            return true;
        at = *end == L'\0' ? end : end + 1;
    }
    return false;
}

void LogCall(const char *format, ...)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"CODEC_STANDIN_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    const int written = vsnprintf(line, sizeof(line) - 1, format, arguments);
    va_end(arguments);
    if (written < 0 || written >= static_cast<int>(sizeof(line)) - 1)
        return;
    line[written] = '\n';
    // Appended whole, so the lines of runs that overlap never interleave.
    const HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD done = 0;
    WriteFile(log, line, written + 1, &done, NULL);
    CloseHandle(log);
}

HRESULT CreateWineCodec(REFCLSID codec, REFIID riid, void **object)
{
    typedef HRESULT(WINAPI * GetClassObject)(REFCLSID, REFIID, void **);
    // Loaded once and kept: the objects it makes live on in the callers.
    static const HMODULE codecs = LoadLibraryW(L"windowscodecs.dll");
    const FARPROC entry = codecs == NULL ? NULL : GetProcAddress(codecs, "DllGetClassObject");
    const GetClassObject get = reinterpret_cast<GetClassObject>(reinterpret_cast<void *>(entry));
    if (get == NULL)
        return REGDB_E_CLASSNOTREG;
    IClassFactory *factory = NULL;
    HRESULT hr = get(codec, IID_IClassFactory, reinterpret_cast<void **>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(NULL, riid, object);
    factory->Release();
    return hr;
}
