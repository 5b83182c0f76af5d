#include "destination_file.h"

namespace
{
// On a file opened for synchronous use, the offset of an OVERLAPPED is where
// the transfer starts: one call instead of a seek and a transfer, which
// counts when a turned picture takes thousands of them.
OVERLAPPED At(unsigned long long offset)
{
    OVERLAPPED at;
    ZeroMemory(&at, sizeof(at));
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}
}

DestinationFile::~DestinationFile()
{
    if (file == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(file);
    DeleteFileW(path);
}

bool DestinationFile::Create()
{
    // No sharing: nobody reads a half-written bitmap, and a source opened
    // under the same name makes this fail instead of truncating what is read.
    file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    return file != INVALID_HANDLE_VALUE;
}

bool DestinationFile::WriteAt(unsigned long long offset, const void *data, DWORD bytes)
{
    OVERLAPPED at = At(offset);
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, &at) && written == bytes;
}

bool ReadFileAt(HANDLE file, unsigned long long offset, void *data, DWORD bytes)
{
    OVERLAPPED at = At(offset);
    DWORD read = 0;
    return ReadFile(file, data, bytes, &read, &at) && read == bytes;
}

bool DestinationFile::ReadAt(unsigned long long offset, void *data, DWORD bytes)
{
    return ReadFileAt(file, offset, data, bytes);
}

bool DestinationFile::Finish()
{
    const HANDLE closing = file;
    file = INVALID_HANDLE_VALUE;
    if (CloseHandle(closing))
        return true;
    DeleteFileW(path);
    return false;
}
