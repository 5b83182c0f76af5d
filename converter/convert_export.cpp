// The exports of Vistrane-jpeg.dll, named "_Vistrane_convert@8",
// "_Vistrane_convertW@8", "_Vistrane_convertScaledW@20" and
// "_Vistrane_composeW@20" by the export list: the wallpaper run asks for
// those exact names.
#include <windows.h>

#include "com_apartment.h"
#include "compose_screens.h"
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

// Runs call with context inside the guard. Nothing of ours raises, but the
// decoder is the system's and runs on whatever file it is given; a fault in
// it must not end the caller's process. What the faulted call held cannot
// be released safely and is abandoned; a bitmap it had begun is removed when
// the name was new.
int RunGuarded(GuardedCall call, void *context, const wchar_t *destination)
{
    const bool destinationExisted = GetFileAttributesW(destination) != INVALID_FILE_ATTRIBUTES;
    int result = ConvertFaulted;
    if (!CallConverterGuarded(call, context, &result))
    {
        if (!destinationExisted)
            DeleteFileW(destination);
        return ConvertFaulted;
    }
    return result;
}

int ConvertGuarded(const wchar_t *source, const wchar_t *destination, const ScaleRequest &scale)
{
    if (source == NULL || destination == NULL || source[0] == L'\0' || destination[0] == L'\0')
        return ConvertBadArguments;
    const ComApartment apartment;
    if (!apartment.Usable())
        return ConvertNoImagingComponent;
    Conversion conversion = {source, destination, scale};
    return RunGuarded(&Convert, &conversion, destination);
}

struct Composition
{
    const wchar_t *destination;
    ScreenPiece pieces[MaxScreenPieces];
    UINT count;
    int placement;
};

int Compose(void *context)
{
    const Composition *composition = static_cast<const Composition *>(context);
    return ComposeScreenFile(composition->destination, composition->pieces, composition->count,
                             composition->placement);
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

// One bitmap of the whole virtual screen at destination, for the desktop to
// tile: monitor i's rectangle (physical pixels, the primary monitor's
// top-left corner at 0, 0) holds the bitmap at pieces[i], one this library
// made for that monitor, placed by placement (0 fill, 1 fit, 2 stretch, 3
// centre, 4 tile), the desktop colour around the pictures. The bitmap is
// rolled so that 0, 0 is its first pixel. 0 only when destination now holds
// it; the pieces are only read.
extern "C" int WINAPI Vistrane_composeW(const wchar_t *destination, UINT count, const wchar_t *const *pieces,
                                        const RECT *monitors, int placement)
{
    if (destination == NULL || destination[0] == L'\0' || pieces == NULL || monitors == NULL || count == 0 ||
        count > MaxScreenPieces)
        return ConvertBadArguments;
    Composition composition;
    composition.destination = destination;
    composition.count = count;
    composition.placement = placement;
    for (UINT i = 0; i < count; ++i)
    {
        composition.pieces[i].bitmap = pieces[i];
        composition.pieces[i].area = monitors[i];
    }
    return RunGuarded(&Compose, &composition, destination);
}
