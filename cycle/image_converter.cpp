#include "image_converter.h"

#include "converter_guard.h"
#include "join_path.h"

namespace
{
ImageConverter LoadedConverter = {NULL, NULL, NULL, NULL};

// The folder of whatever module this code is linked into: Vistrane.cpl in a
// real run, so the converter shipped beside it is found first.
bool ThisModuleFolder(wchar_t (&folder)[MAX_PATH])
{
    HMODULE module = NULL;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<const wchar_t *>(&ThisModuleFolder), &module))
        return false;
    // A full buffer means the name was cut (and, on XP, left unterminated).
    const DWORD length = GetModuleFileNameW(module, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    wchar_t *lastSeparator = NULL;
    for (wchar_t *c = folder; *c != L'\0'; ++c)
        if (*c == L'\\')
            lastSeparator = c;
    if (lastSeparator == NULL)
        return false;
    *lastSeparator = L'\0';
    return true;
}

// GetSystemDirectoryW and GetWindowsDirectoryW answer the size they need when
// the buffer is too small.
bool FolderFits(UINT length)
{
    return length != 0 && length < MAX_PATH;
}

// The path in the ANSI code page, only when every character has its own
// exact form there. Best-fit mappings ("é" for "e", fullwidth letters for
// ASCII ones) would name another file, so they are refused too.
bool InCodePage(const wchar_t *path, char (&narrow)[MAX_PATH])
{
    // Where the code page is UTF-8 every valid text round-trips, and Windows
    // refuses the flags and the used-default question for it. Such a code
    // page only exists on systems that know WC_ERR_INVALID_CHARS, which the
    // headers for XP leave out.
    const DWORD ErrInvalidChars = 0x80;
    if (GetACP() == CP_UTF8)
        return WideCharToMultiByte(CP_UTF8, ErrInvalidChars, path, -1, narrow, MAX_PATH, NULL, NULL) > 0;
    BOOL usedDefault = FALSE;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, narrow, MAX_PATH, NULL, &usedDefault) > 0 &&
           !usedDefault;
}
}

bool ImageConverterPath(int index, wchar_t (&path)[MAX_PATH])
{
    wchar_t folder[MAX_PATH];
    bool known = false;
    switch (index)
    {
    case 0:
        known = ThisModuleFolder(folder);
        break;
    case 1:
        known = FolderFits(GetSystemDirectoryW(folder, MAX_PATH));
        break;
    case 2:
        known = FolderFits(GetWindowsDirectoryW(folder, MAX_PATH));
        break;
    }
    path[0] = L'\0';
    return known && JoinPath(path, folder, ImageConverterFile);
}

ImageConverter ConverterExports(HMODULE library)
{
    ImageConverter convert;
    convert.wide = reinterpret_cast<WideImageConverter>(
        reinterpret_cast<void *>(GetProcAddress(library, ImageConverterWideExport)));
    convert.narrow = reinterpret_cast<NarrowImageConverter>(
        reinterpret_cast<void *>(GetProcAddress(library, ImageConverterExport)));
    convert.scaled = reinterpret_cast<ScaledImageConverter>(
        reinterpret_cast<void *>(GetProcAddress(library, ImageConverterScaledExport)));
    convert.compose = reinterpret_cast<ComposingImageConverter>(
        reinterpret_cast<void *>(GetProcAddress(library, ImageConverterComposeExport)));
    return convert;
}

ImageConverter LoadImageConverter()
{
    if (LoadedConverter.wide != NULL || LoadedConverter.narrow != NULL)
        return LoadedConverter;
    for (int index = 0; index < ImageConverterPlaces; ++index)
    {
        wchar_t path[MAX_PATH];
        if (!ImageConverterPath(index, path))
            continue;
        const DWORD attributes = GetFileAttributesW(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // The altered search path resolves the converter's own dependencies
        // from its folder rather than from the caller's.
        const HMODULE library = LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (library == NULL)
            continue;
        LoadedConverter = ConverterExports(library);
        if (LoadedConverter.wide == NULL && LoadedConverter.narrow == NULL)
            FreeLibrary(library);
        return LoadedConverter;
    }
    return LoadedConverter;
}

bool RunImageConverter(const ImageConverter &convert, const wchar_t *source, const wchar_t *destination,
                       const ScaleTarget &target)
{
    int result = -1;
    if (convert.scaled != NULL && target.width != 0 && target.height != 0)
        return CallConverterGuarded(convert.scaled, source, destination, target.width, target.height, target.fit,
                                    &result) &&
               result == 0;
    if (convert.wide != NULL)
        return CallConverterGuarded(convert.wide, source, destination, &result) && result == 0;
    char narrowSource[MAX_PATH];
    char narrowDestination[MAX_PATH];
    if (convert.narrow == NULL || !InCodePage(source, narrowSource) || !InCodePage(destination, narrowDestination))
        return false;
    return CallConverterGuarded(convert.narrow, narrowSource, narrowDestination, &result) && result == 0;
}

namespace
{
struct Composition
{
    ComposingImageConverter compose;
    const wchar_t *destination;
    UINT count;
    const wchar_t *const *pieces;
    const RECT *monitors;
    int placement;
};

int Compose(void *context)
{
    const Composition *c = static_cast<const Composition *>(context);
    return c->compose(c->destination, c->count, c->pieces, c->monitors, c->placement);
}
}

bool RunImageComposer(const ImageConverter &convert, const wchar_t *destination, UINT count,
                      const wchar_t *const *pieces, const RECT *monitors, int placement)
{
    if (convert.compose == NULL)
        return false;
    Composition composition = {convert.compose, destination, count, pieces, monitors, placement};
    int result = -1;
    return CallConverterGuarded(&Compose, &composition, &result) && result == 0;
}
