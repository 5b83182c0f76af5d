// CancelRemoval.exe <installed path>...: run by the setup program once it has
// copied its files, it cancels every pending restart-time deletion of those
// paths, in Session Manager's lists and in WININIT.INI, and leaves every
// other program's pending operations exactly as they were.
// Exit code: 0 when nothing of ours is left pending, 1 when a list could not
// be read or rewritten, 2 without paths.
//
// Wide text throughout, unlike the applet: the lists are other programs'
// too, and an ANSI round trip would change their paths.
#include <windows.h>

#include <shellapi.h>

#include "heap_buffer.h"
#include "pending_removal.h"

namespace
{
// WININIT.INI is a few lines; anything larger is left alone.
const DWORD WininitSizeLimit = 1 << 20;

bool HasText(const WCHAR *operations, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (operations[i] != 0)
            return true;
    return false;
}

bool CancelInList(HKEY sessionManager, const WCHAR *valueName, const InstalledPaths &installed)
{
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExW(sessionManager, valueName, NULL, &type, NULL, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    // Only the system's own form is ours to edit.
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ || size % sizeof(WCHAR) != 0)
        return status == ERROR_SUCCESS;
    HeapBuffer operations(size + sizeof(WCHAR), true);
    if (operations.data() == NULL)
        return false;
    status = RegQueryValueExW(sessionManager, valueName, NULL, &type, operations.data(), &size);
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ)
        return false;
    WCHAR *const list = reinterpret_cast<WCHAR *>(operations.data());
    const size_t length = size / sizeof(WCHAR);
    const size_t kept = RemoveInstalledDeletions(list, length, installed);
    if (kept == length)
        return true;
    // Our deletions were all there was: no list at all, as after a restart.
    if (!HasText(list, kept))
        return RegDeleteValueW(sessionManager, valueName) == ERROR_SUCCESS;
    return RegSetValueExW(sessionManager, valueName, 0, REG_MULTI_SZ, operations.data(),
                          static_cast<DWORD>(kept * sizeof(WCHAR))) == ERROR_SUCCESS;
}

bool CancelInSessionManager(const InstalledPaths &installed)
{
    HKEY sessionManager = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManagerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &sessionManager) !=
        ERROR_SUCCESS)
        return false;
    bool cancelled = true;
    for (size_t i = 0; i < sizeof(PendingOperationValues) / sizeof(PendingOperationValues[0]); ++i)
        cancelled = CancelInList(sessionManager, PendingOperationValues[i], installed) && cancelled;
    RegCloseKey(sessionManager);
    return cancelled;
}

bool CancelInOpenWininit(HANDLE file, const InstalledPaths &installed)
{
    const DWORD size = GetFileSize(file, NULL);
    if (size == INVALID_FILE_SIZE || size > WininitSizeLimit)
        return false;
    HeapBuffer text(size + 1, true);
    DWORD read = 0;
    if (text.data() == NULL || !ReadFile(file, text.data(), size, &read, NULL) || read != size)
        return false;
    const size_t kept = RemoveInstalledWininitLines(reinterpret_cast<char *>(text.data()), size, installed);
    if (kept == size)
        return true;
    DWORD written = 0;
    return SetFilePointer(file, 0, NULL, FILE_BEGIN) == 0 &&
           WriteFile(file, text.data(), static_cast<DWORD>(kept), &written, NULL) && written == kept &&
           SetEndOfFile(file);
}

bool CancelInWininit(const InstalledPaths &installed)
{
    WCHAR path[MAX_PATH];
    static const WCHAR FileName[] = L"\\WININIT.INI";
    const UINT folderLength = GetWindowsDirectoryW(path, MAX_PATH);
    if (folderLength == 0 || folderLength + lstrlenW(FileName) >= MAX_PATH)
        return false;
    lstrcpynW(path + folderLength, FileName, MAX_PATH - folderLength);
    const HANDLE file =
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    const bool cancelled = CancelInOpenWininit(file, installed);
    CloseHandle(file);
    return cancelled;
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL || count < 2)
    {
        if (arguments != NULL)
            LocalFree(arguments);
        return 2;
    }
    const InstalledPaths installed = {arguments + 1, count - 1};
    const bool registryDone = CancelInSessionManager(installed);
    const bool wininitDone = CancelInWininit(installed);
    LocalFree(arguments);
    return registryDone && wininitDone ? 0 : 1;
}
