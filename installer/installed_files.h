// The files and folders the setup program has just installed, and whether a
// path written by someone else names one of them. A pending operation may
// spell a path in many ways: an 8.3 form, an NT form ("\??\", "\GLOBAL??\",
// "\DosDevices\", "\??\UNC\"), forward slashes, another case. So a path that
// exists is compared by the file it opens; one that does not, by its text.
#pragma once

#include <windows.h>

#include <stddef.h>

#include <string>
#include <vector>

// What tells two names of one file apart from names of two files: the
// volume and the file's index on it.
struct FileIdentity
{
    DWORD volumeSerial;
    DWORD indexHigh;
    DWORD indexLow;
};

struct InstalledFile
{
    // The path as compared by text: a Win32 path in upper case, without
    // trailing backslashes.
    std::wstring comparable;
    bool identified;
    FileIdentity identity;
};

typedef std::vector<InstalledFile> InstalledFiles;

// The installed paths, each with its identity where it can be opened now.
InstalledFiles DescribeInstalled(const std::vector<std::wstring> &paths);

// True when the path (length WCHARs, not terminated) names one of the
// installed files: the same file where both can be opened, the same
// normalised text otherwise.
bool NamesInstalled(const WCHAR *path, size_t length, const InstalledFiles &installed);
