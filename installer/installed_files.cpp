#include "installed_files.h"

#include <algorithm>

namespace
{
// The prefixes that make a Win32 path an NT one, or a Win32 path that skips
// the system's parsing; UNC forms before the drive forms they begin like.
// Matched in upper case: the object manager ignores case in these names.
struct PathPrefix
{
    const WCHAR *prefix;
    const WCHAR *win32;
};
const PathPrefix PathPrefixes[] = {
    {L"\\??\\UNC\\", L"\\\\"},       {L"\\GLOBAL??\\UNC\\", L"\\\\"}, {L"\\DOSDEVICES\\UNC\\", L"\\\\"},
    {L"\\\\?\\UNC\\", L"\\\\"},      {L"\\??\\", L""},                {L"\\GLOBAL??\\", L""},
    {L"\\DOSDEVICES\\", L""},        {L"\\\\?\\", L""},               {L"\\\\.\\", L""},
};

bool StartsWithUpper(const std::wstring &text, const WCHAR *prefix)
{
    const size_t length = lstrlenW(prefix);
    if (text.size() < length)
        return false;
    std::wstring start = text.substr(0, length);
    CharUpperBuffW(&start[0], static_cast<DWORD>(length));
    return start == prefix;
}

// The path as a Win32 one, in its own letter case: opening it must not
// depend on the file system ignoring case.
std::wstring Win32Form(const WCHAR *path, size_t length)
{
    std::wstring text(path, length);
    std::replace(text.begin(), text.end(), L'/', L'\\');
    for (const PathPrefix &form : PathPrefixes)
        if (StartsWithUpper(text, form.prefix))
            return form.win32 + text.substr(lstrlenW(form.prefix));
    return text;
}

std::wstring Comparable(std::wstring win32)
{
    while (win32.size() > 1 && win32.back() == L'\\')
        win32.pop_back();
    if (!win32.empty())
        CharUpperBuffW(&win32[0], static_cast<DWORD>(win32.size()));
    return win32;
}

// Opens the entry itself, not what a link in its place points to: deleting
// a link leaves its target alone. The "\\?\" form reaches paths longer than
// MAX_PATH and takes the path as written. Relative paths are not opened.
bool IdentityOf(const std::wstring &win32, FileIdentity *identity)
{
    std::wstring extended;
    if (win32.size() >= 3 && win32[1] == L':' && win32[2] == L'\\')
        extended = L"\\\\?\\" + win32;
    else if (win32.size() > 2 && win32[0] == L'\\' && win32[1] == L'\\')
        extended = L"\\\\?\\UNC\\" + win32.substr(2);
    else
        return false;
    const HANDLE file = CreateFileW(extended.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(file, &information) != FALSE;
    CloseHandle(file);
    if (known)
    {
        identity->volumeSerial = information.dwVolumeSerialNumber;
        identity->indexHigh = information.nFileIndexHigh;
        identity->indexLow = information.nFileIndexLow;
    }
    return known;
}

bool SameFile(const FileIdentity &one, const FileIdentity &other)
{
    return one.volumeSerial == other.volumeSerial && one.indexHigh == other.indexHigh &&
           one.indexLow == other.indexLow;
}
}

InstalledFiles DescribeInstalled(const std::vector<std::wstring> &paths)
{
    InstalledFiles installed;
    for (const std::wstring &path : paths)
    {
        const std::wstring win32 = Win32Form(path.c_str(), path.size());
        InstalledFile file = {Comparable(win32), false, {0, 0, 0}};
        file.identified = IdentityOf(win32, &file.identity);
        installed.push_back(file);
    }
    return installed;
}

bool NamesInstalled(const WCHAR *path, size_t length, const InstalledFiles &installed)
{
    const std::wstring win32 = Win32Form(path, length);
    FileIdentity identity = {0, 0, 0};
    const bool identified = IdentityOf(win32, &identity);
    const std::wstring comparable = Comparable(win32);
    for (const InstalledFile &file : installed)
    {
        if (identified && file.identified ? SameFile(identity, file.identity) : comparable == file.comparable)
            return true;
    }
    return false;
}
