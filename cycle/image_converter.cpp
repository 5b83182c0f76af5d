#include "image_converter.h"

#include "join_path.h"

namespace
{
ImageConverter LoadedConverter = NULL;

// The folder of whatever module this code is linked into: Vistrane.cpl in a
// real run, so the converter shipped beside it is found first.
bool ThisModuleFolder(char (&folder)[MAX_PATH])
{
    HMODULE module = NULL;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<const char *>(&ThisModuleFolder), &module))
        return false;
    // A full buffer means the name was cut (and, on XP, left unterminated).
    const DWORD length = GetModuleFileNameA(module, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    char *lastSeparator = NULL;
    for (char *c = folder; *c != '\0'; ++c)
        if (*c == '\\')
            lastSeparator = c;
    if (lastSeparator == NULL)
        return false;
    *lastSeparator = '\0';
    return true;
}

// GetSystemDirectoryA and GetWindowsDirectoryA answer the size they need when
// the buffer is too small.
bool FolderFits(UINT length)
{
    return length != 0 && length < MAX_PATH;
}
}

bool ImageConverterPath(int index, char (&path)[MAX_PATH])
{
    char folder[MAX_PATH];
    bool known = false;
    switch (index)
    {
    case 0:
        known = ThisModuleFolder(folder);
        break;
    case 1:
        known = FolderFits(GetSystemDirectoryA(folder, MAX_PATH));
        break;
    case 2:
        known = FolderFits(GetWindowsDirectoryA(folder, MAX_PATH));
        break;
    }
    path[0] = '\0';
    return known && JoinPath(path, folder, ImageConverterFile);
}

ImageConverter LoadImageConverter()
{
    if (LoadedConverter != NULL)
        return LoadedConverter;
    for (int index = 0; index < ImageConverterPlaces; ++index)
    {
        char path[MAX_PATH];
        if (!ImageConverterPath(index, path))
            continue;
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // The altered search path resolves the converter's own dependencies
        // from its folder rather than from the caller's.
        const HMODULE library = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (library == NULL)
            continue;
        LoadedConverter = reinterpret_cast<ImageConverter>(
            reinterpret_cast<void *>(GetProcAddress(library, ImageConverterExport)));
        if (LoadedConverter == NULL)
            FreeLibrary(library);
        return LoadedConverter;
    }
    return NULL;
}
