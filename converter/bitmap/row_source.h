// Where the bitmap writers take the stored picture's rows from. The writers
// declare it and the pixels room implements it (the decoder's rows, or those
// rows scaled down), so rows flow into this room and nothing here reaches
// back for them.
#pragma once

#include <windows.h>

class RowSource
{
public:
    // Copies count rows of 24-bit BGR, starting at row y, into rows stride
    // bytes apart. Rows are asked for top to bottom, each once. stride is at
    // least 3 bytes a pixel; stride * count must fit in a UINT. Bytes past
    // the pixels of a row are left as they were. False on any failure.
    virtual bool CopyRows(UINT y, UINT count, BYTE *rows, UINT stride) = 0;

protected:
    ~RowSource() {}
};
