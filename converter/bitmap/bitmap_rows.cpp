#include "bitmap_rows.h"

UINT RowsInBytes(size_t rowBytes, DWORD bytes, UINT rows)
{
    const size_t fit = rowBytes < bytes ? bytes / rowBytes : 1;
    return fit < rows ? static_cast<UINT>(fit) : rows;
}

ConvertResult StartBitmapFile(const BitmapGeometry &geometry, DestinationFile &file)
{
    if (!file.Create())
        return ConvertDestinationUnwritable;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER infoHeader;
    FillBitmapHeaders(geometry, &fileHeader, &infoHeader);
    if (!file.WriteAt(0, &fileHeader, sizeof(fileHeader)) ||
        !file.WriteAt(sizeof(fileHeader), &infoHeader, sizeof(infoHeader)))
        return ConvertDestinationUnwritable;
    return ConvertDone;
}

unsigned long long RowOffset(const BitmapGeometry &geometry, UINT fileRow)
{
    return BitmapHeaderBytes + static_cast<unsigned long long>(fileRow) * geometry.stride;
}
