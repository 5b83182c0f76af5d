#include "image_type.h"

#include <string.h>
#include <windows.h>

#include <strsafe.h>

namespace
{
void UpperCaseAscii(char *text)
{
    for (; *text != '\0'; ++text)
        if (*text >= 'a' && *text <= 'z')
            *text = static_cast<char>(*text - 'a' + 'A');
}

bool FirstOccurrenceEndsText(const char *text, size_t length, const char *suffix)
{
    const char *found = strstr(text, suffix);
    return found != NULL && static_cast<size_t>(found - text) + strlen(suffix) == length;
}
}

ImageType ClassifyImage(const char *path)
{
    char folded[MAX_PATH];
    if (FAILED(StringCbCopyA(folded, sizeof(folded), path)))
        return UnusableImage;
    UpperCaseAscii(folded);

    if (strstr(folded, ".BMP") != NULL)
        return BitmapImage;
    const size_t length = strlen(folded);
    if (FirstOccurrenceEndsText(folded, length, ".JPG") || FirstOccurrenceEndsText(folded, length, ".JPEG"))
        return JpegImage;
    return UnusableImage;
}
