// What both bitmap writers share: how many rows a band holds, the file's
// headers, and where a row of the file starts.
#pragma once

#include "bitmap_geometry.h"
#include "convert_result.h"
#include "destination_file.h"

// Rows of rowBytes each that fit in bytes, at least one and at most rows.
UINT RowsInBytes(size_t rowBytes, DWORD bytes, UINT rows);

// Creates the file and writes its headers. Called once everything that can
// be had before the first row is written is in hand, so that fewer failures
// touch the destination at all.
ConvertResult StartBitmapFile(const BitmapGeometry &geometry, DestinationFile &file);

// Where row fileRow of the file starts (the bottom row is row 0).
unsigned long long RowOffset(const BitmapGeometry &geometry, UINT fileRow);
