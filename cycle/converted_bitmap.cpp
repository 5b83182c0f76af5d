#include "converted_bitmap.h"

#include <shlobj.h>
#include <strsafe.h>

#include "join_path.h"

namespace
{
// Creating the pending file is the one test that tells whether this user may
// write into the folder: permissions, a read-only medium, or something already
// in the file's place.
bool TryFolder(const wchar_t *folder, wchar_t (&pending)[MAX_PATH], wchar_t (&converted)[MAX_PATH])
{
    if (!JoinPath(pending, folder, PendingBitmapName) || !JoinPath(converted, folder, ConvertedBitmapName))
        return false;
    const HANDLE file = CreateFileW(pending, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool UserFolder(wchar_t (&folder)[MAX_PATH])
{
    wchar_t localAppData[MAX_PATH];
    if (FAILED(SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, NULL, SHGFP_TYPE_CURRENT,
                                localAppData)))
        return false;
    if (!JoinPath(folder, localAppData, UserBitmapFolder))
        return false;
    return CreateDirectoryW(folder, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}
}

bool PrepareBitmapPaths(wchar_t (&pending)[MAX_PATH], wchar_t (&converted)[MAX_PATH])
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length != 0 && length < MAX_PATH && TryFolder(folder, pending, converted))
        return true;
    return UserFolder(folder) && TryFolder(folder, pending, converted);
}

bool ConvertJpeg(wchar_t (&path)[MAX_PATH], const ImageConverter &convert)
{
    wchar_t pending[MAX_PATH];
    wchar_t converted[MAX_PATH];
    if (!PrepareBitmapPaths(pending, converted))
        return false;

    if (!RunImageConverter(convert, path, pending) || !MoveFileExW(pending, converted, MOVEFILE_REPLACE_EXISTING))
    {
        DeleteFileW(pending);
        return false;
    }
    // Both paths are MAX_PATH buffers, so this copy always fits.
    return SUCCEEDED(StringCchCopyW(path, MAX_PATH, converted));
}
