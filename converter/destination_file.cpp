#include "destination_file.h"

DestinationFile::~DestinationFile()
{
    if (file == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(file);
    DeleteFileA(path);
}

bool DestinationFile::Create()
{
    // No sharing: nobody reads a half-written bitmap, and a source opened
    // under the same name makes this fail instead of truncating what is read.
    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    return file != INVALID_HANDLE_VALUE;
}

bool DestinationFile::WriteAt(unsigned long long offset, const void *data, DWORD bytes)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    return SetFilePointerEx(file, position, NULL, FILE_BEGIN) && WriteFile(file, data, bytes, &written, NULL) &&
           written == bytes;
}

bool DestinationFile::Finish()
{
    const HANDLE closing = file;
    file = INVALID_HANDLE_VALUE;
    if (CloseHandle(closing))
        return true;
    DeleteFileA(path);
    return false;
}
