#include "bitmap_file.h"

bool WriteBitmapFile(const wchar_t *path, int width, int height, COLORREF color)
{
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = stride * height;
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    const HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, NULL) && WriteFile(out, &info, sizeof(info), &written, NULL);
    BYTE row[3 * 64 + 4] = {};
    for (int x = 0; x < width && x < 64; ++x)
    {
        row[3 * x] = GetBValue(color);
        row[3 * x + 1] = GetGValue(color);
        row[3 * x + 2] = GetRValue(color);
    }
    for (int y = 0; ok && y < height; ++y)
        ok = stride <= sizeof(row) && WriteFile(out, row, stride, &written, NULL);
    CloseHandle(out);
    return ok;
}

SIZE LoadedBitmapSize(const wchar_t *path)
{
    SIZE size = {0, 0};
    const HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP info;
    if (bitmap != NULL && GetObjectA(bitmap, sizeof(info), &info))
    {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight;
    }
    if (bitmap != NULL)
        DeleteObject(bitmap);
    return size;
}
