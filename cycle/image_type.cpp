#include "image_type.h"

#include <wchar.h>
#include <windows.h>

#include <strsafe.h>

namespace
{
// Only a to z: every other character, in any script, stays as it is.
void UpperCaseAscii(wchar_t *text)
{
    for (; *text != L'\0'; ++text)
        if (*text >= L'a' && *text <= L'z')
            *text = static_cast<wchar_t>(*text - L'a' + L'A');
}

// Every surrogate in its pair, high then low.
bool IsWholeUtf16(const wchar_t *text)
{
    for (; *text != L'\0'; ++text)
    {
        if (IS_HIGH_SURROGATE(*text) && IS_LOW_SURROGATE(text[1]))
            ++text;
        else if (IS_HIGH_SURROGATE(*text) || IS_LOW_SURROGATE(*text))
            return false;
    }
    return true;
}

bool FirstOccurrenceEndsText(const wchar_t *text, size_t length, const wchar_t *suffix)
{
    const wchar_t *found = wcsstr(text, suffix);
    return found != NULL && static_cast<size_t>(found - text) + wcslen(suffix) == length;
}
}

ImageType ClassifyImage(const wchar_t *path)
{
    wchar_t folded[MAX_PATH];
    if (FAILED(StringCchCopyW(folded, MAX_PATH, path)) || !IsWholeUtf16(folded))
        return UnusableImage;
    UpperCaseAscii(folded);

    if (wcsstr(folded, L".BMP") != NULL)
        return BitmapImage;
    const size_t length = wcslen(folded);
    if (FirstOccurrenceEndsText(folded, length, L".JPG") || FirstOccurrenceEndsText(folded, length, L".JPEG"))
        return JpegImage;
    return UnusableImage;
}
