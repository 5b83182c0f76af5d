// The bitmap file being written. Until Finish succeeds it is provisional: on
// every other way out it is closed and deleted, so a failed conversion leaves
// neither an empty nor a partial bitmap behind.
#pragma once

#include <windows.h>

// bytes from offset of a file opened for synchronous use; false unless all
// of them were there to read. The composite reads its pieces back with it.
bool ReadFileAt(HANDLE file, unsigned long long offset, void *data, DWORD bytes);

class DestinationFile
{
public:
    explicit DestinationFile(const wchar_t *path) : path(path), file(INVALID_HANDLE_VALUE) {}
    ~DestinationFile();
    DestinationFile(const DestinationFile &) = delete;
    DestinationFile &operator=(const DestinationFile &) = delete;

    // Creates the file, replacing whatever file had that name. A file that
    // cannot be replaced (in use, read-only, a folder) is left as it was.
    // It can be read back as well as written: a turned picture is turned
    // through it.
    bool Create();
    bool WriteAt(unsigned long long offset, const void *data, DWORD bytes);
    // False unless all bytes were there to read.
    bool ReadAt(unsigned long long offset, void *data, DWORD bytes);
    // Closes the file and keeps it. False when closing failed, and the file
    // is then deleted like any unfinished one.
    bool Finish();

private:
    const wchar_t *path;
    HANDLE file;
};
