#include "converted_bitmap.h"

#include <shlobj.h>
#include <strsafe.h>

#include "converter_guard.h"
#include "join_path.h"

namespace
{
// Creating the pending file is the one test that tells whether this user may
// write into the folder: permissions, a read-only medium, or something already
// in the file's place.
bool TryFolder(const char *folder, char (&pending)[MAX_PATH], char (&converted)[MAX_PATH])
{
    if (!JoinPath(pending, folder, PendingBitmapName) || !JoinPath(converted, folder, ConvertedBitmapName))
        return false;
    const HANDLE file = CreateFileA(pending, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool UserFolder(char (&folder)[MAX_PATH])
{
    char localAppData[MAX_PATH];
    if (FAILED(SHGetFolderPathA(NULL, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, NULL, SHGFP_TYPE_CURRENT,
                                localAppData)))
        return false;
    if (!JoinPath(folder, localAppData, UserBitmapFolder))
        return false;
    return CreateDirectoryA(folder, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}
}

bool PrepareBitmapPaths(char (&pending)[MAX_PATH], char (&converted)[MAX_PATH])
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length != 0 && length < MAX_PATH && TryFolder(folder, pending, converted))
        return true;
    return UserFolder(folder) && TryFolder(folder, pending, converted);
}

bool ConvertJpeg(char (&path)[MAX_PATH], ImageConverter convert)
{
    char pending[MAX_PATH];
    char converted[MAX_PATH];
    if (!PrepareBitmapPaths(pending, converted))
        return false;

    int result = -1;
    if (!CallConverterGuarded(convert, path, pending, &result) || result != 0 ||
        !MoveFileExA(pending, converted, MOVEFILE_REPLACE_EXISTING))
    {
        DeleteFileA(pending);
        return false;
    }
    // Both paths are MAX_PATH buffers, so this copy always fits.
    return SUCCEEDED(StringCbCopyA(path, sizeof(path), converted));
}
