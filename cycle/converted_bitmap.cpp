#include "converted_bitmap.h"

#include <shlobj.h>
#include <strsafe.h>

#include "join_path.h"
#include "pending_bitmap.h"

namespace
{
// Making this run's own file is the one test that tells whether this user may
// write into the folder: permissions, a read-only medium. The file is gone
// again once closed, and no file another run may be using is ever opened.
bool TryFolder(const wchar_t *folder, wchar_t (&pending)[MAX_PATH], wchar_t (&converted)[MAX_PATH])
{
    if (!PendingBitmapPath(folder, pending) || !JoinPath(converted, folder, ConvertedBitmapName))
        return false;
    const HANDLE file = CreateFileW(pending, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    RemoveStalePendingBitmaps(folder);
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

bool ConvertPicture(wchar_t (&path)[MAX_PATH], const ImageConverter &convert, const ScaleTarget &target)
{
    wchar_t pending[MAX_PATH];
    wchar_t converted[MAX_PATH];
    if (!PrepareBitmapPaths(pending, converted))
        return false;

    // A rename within one folder: readers see the old file or the new one,
    // never a part of either, and the new one is on the disk before the
    // desktop is pointed at it.
    if (!RunImageConverter(convert, path, pending, target) ||
        !MoveFileExW(pending, converted, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        DeleteFileW(pending);
        return false;
    }
    // Both paths are MAX_PATH buffers, so this copy always fits.
    return SUCCEEDED(StringCchCopyW(path, MAX_PATH, converted));
}
