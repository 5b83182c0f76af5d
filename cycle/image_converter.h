// The separately shipped library that turns a JPEG into a bitmap.
#pragma once

#include <windows.h>

const char ImageConverterFile[] = "Vistrane-jpeg.dll";
const char ImageConverterExport[] = "_Vistrane_convert@8";

// Writes the picture at source as a bitmap file at destination; 0 only when
// destination now holds it.
typedef int(WINAPI *ImageConverter)(const char *source, const char *destination);

// The places the converter is looked for, first to last: the folder of the
// module holding this code, the system folder, the Windows folder. Never the
// current folder or PATH, where anyone could plant a library of that name.
const int ImageConverterPlaces = 3;

// Full path of the converter in place index. False when the folder cannot be
// told or the path does not fit MAX_PATH.
bool ImageConverterPath(int index, char (&path)[MAX_PATH]);

// The converter of the first place whose library loads, or NULL when none
// does or it lacks the export. Once found it stays loaded for the rest of the
// process and later calls return it at once.
ImageConverter LoadImageConverter();
