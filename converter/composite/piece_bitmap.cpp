#include "piece_bitmap.h"

#include "bitmap_rows.h"
#include "destination_file.h"

PieceBitmap::PieceBitmap() : file(INVALID_HANDLE_VALUE), geometry(), rows(), held(), older(0)
{
}

PieceBitmap::~PieceBitmap()
{
    for (int i = 0; i < 2; ++i)
        if (rows[i] != NULL)
            HeapFree(GetProcessHeap(), 0, rows[i]);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

bool PieceBitmap::Open(const wchar_t *path)
{
    file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER info;
    LARGE_INTEGER size;
    if (!ReadFileAt(file, 0, &fileHeader, sizeof(fileHeader)) ||
        !ReadFileAt(file, sizeof(fileHeader), &info, sizeof(info)) || !GetFileSizeEx(file, &size))
        return false;
    if (fileHeader.bfType != 0x4D42 || fileHeader.bfOffBits != BitmapHeaderBytes || info.biSize != sizeof(info) ||
        info.biPlanes != 1 || info.biBitCount != 24 || info.biCompression != BI_RGB || info.biWidth <= 0 ||
        info.biHeight <= 0 ||
        !MeasureBitmap(static_cast<UINT>(info.biWidth), static_cast<UINT>(info.biHeight), &geometry) ||
        static_cast<unsigned long long>(size.QuadPart) < geometry.fileBytes)
        return false;
    for (int i = 0; i < 2; ++i)
    {
        rows[i] = static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), 0, geometry.stride));
        held[i] = geometry.height;
        if (rows[i] == NULL)
            return false;
    }
    return true;
}

const BYTE *PieceBitmap::Row(UINT y)
{
    if (y >= geometry.height)
        return NULL;
    for (int i = 0; i < 2; ++i)
        if (held[i] == y)
        {
            older = 1 - i;
            return rows[i];
        }
    const int slot = older;
    held[slot] = geometry.height;
    if (!ReadFileAt(file, RowOffset(geometry, geometry.height - 1 - y), rows[slot], geometry.stride))
        return NULL;
    held[slot] = y;
    older = 1 - slot;
    return rows[slot];
}
