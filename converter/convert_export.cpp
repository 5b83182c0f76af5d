// The exports of Vistrane-jpeg.dll, named "_Vistrane_convert@8",
// "_Vistrane_convertW@8" and "_Vistrane_convertScaledW@20" by the export
// list: the wallpaper run asks for those exact names.
#include <windows.h>

#include "com_apartment.h"
#include "convert_picture.h"
#include "converter_guard.h"

namespace
{
// A path in the code page, widened: a text that does not fit is refused, not
// cut, and one with bytes the code page does not define is refused too.
bool Widen(const char *path, wchar_t (&wide)[MAX_PATH])
{
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, MAX_PATH) > 0;
}

struct Conversion
{
    const wchar_t *source;
    const wchar_t *destination;
    ScaleRequest scale;
};

int Convert(void *context)
{
    const Conversion *conversion = static_cast<const Conversion *>(context);
    return ConvertPictureFile(conversion->source, conversion->destination, conversion->scale);
}

int ConvertGuarded(const wchar_t *source, const wchar_t *destination, const ScaleRequest &scale)
{
    if (source == NULL || destination == NULL || source[0] == L'\0' || destination[0] == L'\0')
        return ConvertBadArguments;
    const bool destinationExisted = GetFileAttributesW(destination) != INVALID_FILE_ATTRIBUTES;
    const ComApartment apartment;
    if (!apartment.Usable())
        return ConvertNoImagingComponent;
    // Nothing of ours raises, but the decoder is the system's and runs on
    // whatever file it is given; a fault in it must not end the caller's
    // process. What the faulted call held cannot be released safely and is
    // abandoned; a bitmap it had begun is removed when the name was new.
    Conversion conversion = {source, destination, scale};
    int result = ConvertFaulted;
    if (!CallConverterGuarded(&Convert, &conversion, &result))
    {
        if (!destinationExisted)
            DeleteFileW(destination);
        return ConvertFaulted;
    }
    return result;
}
}

// 0 only when destination now holds the picture at source as a bitmap, at
// the picture's own size.
extern "C" int WINAPI Vistrane_convertW(const wchar_t *source, const wchar_t *destination)
{
    const ScaleRequest fullSize = {0, 0, ScaleToCover};
    return ConvertGuarded(source, destination, fullSize);
}

// The same, scaled down for a boxWidth x boxHeight box in the way fit (a
// ScaleFit: 0 cover, 1 fit inside, 2 each axis) says; never enlarged. A fit
// this library does not know converts at the picture's own size.
extern "C" int WINAPI Vistrane_convertScaledW(const wchar_t *source, const wchar_t *destination, UINT boxWidth,
                                              UINT boxHeight, int fit)
{
    const ScaleRequest scale = {boxWidth, boxHeight, fit};
    return ConvertGuarded(source, destination, scale);
}

// The same with paths in the ANSI code page, as every caller before the wide
// export had them.
extern "C" int WINAPI Vistrane_convert(const char *source, const char *destination)
{
    if (source == NULL || destination == NULL || source[0] == '\0' || destination[0] == '\0')
        return ConvertBadArguments;
    wchar_t wideSource[MAX_PATH];
    wchar_t wideDestination[MAX_PATH];
    if (!Widen(source, wideSource) || !Widen(destination, wideDestination))
        return ConvertBadArguments;
    return Vistrane_convertW(wideSource, wideDestination);
}
