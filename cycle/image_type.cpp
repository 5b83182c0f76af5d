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

// The names of the pictures the converter turns into bitmaps: JPEG, PNG,
// GIF, TIFF, JPEG XR, WebP, and HEIF with AVIF, its AV1 kind.
const wchar_t *const ConvertedSuffixes[] = {
    L".JPG", L".JPEG", L".PNG", L".GIF", L".TIF", L".TIFF", L".JXR", L".WDP",
    L".HDP", L".WEBP", L".HEIC", L".HEIF", L".AVIF",
};

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
    for (const wchar_t *suffix : ConvertedSuffixes)
        if (FirstOccurrenceEndsText(folded, length, suffix))
            return ConvertedImage;
    return UnusableImage;
}
