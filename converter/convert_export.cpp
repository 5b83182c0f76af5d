// The one export of Vistrane-jpeg.dll, named "_Vistrane_convert@8" by the
// export list: the wallpaper run asks for that exact name.
#include <windows.h>

#include "com_apartment.h"
#include "convert_jpeg.h"
#include "converter_guard.h"

// 0 only when destination now holds the picture at source as a bitmap.
extern "C" int WINAPI Vistrane_convert(const char *source, const char *destination)
{
    if (source == NULL || destination == NULL || source[0] == '\0' || destination[0] == '\0')
        return ConvertBadArguments;
    const bool destinationExisted = GetFileAttributesA(destination) != INVALID_FILE_ATTRIBUTES;
    const ComApartment apartment;
    if (!apartment.Usable())
        return ConvertNoImagingComponent;
    // Nothing of ours raises, but the decoder is the system's and runs on
    // whatever file it is given; a fault in it must not end the caller's
    // process. What the faulted call held cannot be released safely and is
    // abandoned; a bitmap it had begun is removed when the name was new.
    int result = ConvertFaulted;
    if (!CallConverterGuarded(&ConvertJpegFile, source, destination, &result))
    {
        if (!destinationExisted)
            DeleteFileA(destination);
        return ConvertFaulted;
    }
    return result;
}
