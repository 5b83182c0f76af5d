// The separately shipped library that turns a picture (JPEG, PNG, GIF, TIFF
// and more) into a bitmap.
#pragma once

#include <windows.h>

#include "scale_target.h"

const wchar_t ImageConverterFile[] = L"Vistrane-jpeg.dll";
// Paths in the code page's narrow text: every converter library has it.
const char ImageConverterExport[] = "_Vistrane_convert@8";
// The same conversion with wide paths: names in any script. Asked for first.
const char ImageConverterWideExport[] = "_Vistrane_convertW@8";
// The wide conversion scaled down for a box (scale_target.h), asked for when
// the picture is to be scaled; converters before it have only the others.
const char ImageConverterScaledExport[] = "_Vistrane_convertScaledW@20";
// One bitmap of the virtual screen put together from bitmaps the scaled
// conversion made for each monitor; converters before it have none.
const char ImageConverterComposeExport[] = "_Vistrane_composeW@20";

// Write the picture at source as a bitmap file at destination; 0 only when
// destination now holds it.
typedef int(WINAPI *NarrowImageConverter)(const char *source, const char *destination);
typedef int(WINAPI *WideImageConverter)(const wchar_t *source, const wchar_t *destination);
typedef int(WINAPI *ScaledImageConverter)(const wchar_t *source, const wchar_t *destination, UINT boxWidth,
                                          UINT boxHeight, int fit);
// Monitor i's rectangle (physical pixels, the primary's top-left at 0, 0)
// shows the bitmap at pieces[i], placed by placement (0 fill, 1 fit, 2
// stretch, 3 centre, 4 tile), in a bitmap rolled for the desktop to tile
// from the primary's corner.
enum PiecePlacement
{
    PieceFill = 0,
    PieceFit = 1,
    PieceStretch = 2,
    PieceCenter = 3,
    PieceTile = 4,
};
typedef int(WINAPI *ComposingImageConverter)(const wchar_t *destination, UINT count, const wchar_t *const *pieces,
                                             const RECT *monitors, int placement);

// A loaded converter library's conversions: wide when it has that export,
// else only narrow, and scaled and composing when it has those. All NULL
// when no converter was found.
struct ImageConverter
{
    WideImageConverter wide;
    NarrowImageConverter narrow;
    ScaledImageConverter scaled;
    ComposingImageConverter compose;
};

// The conversions a loaded converter library exports: wide, narrow or both;
// both NULL when it has neither.
ImageConverter ConverterExports(HMODULE library);

// The places the converter is looked for, first to last: the folder of the
// module holding this code, the system folder, the Windows folder. Never the
// current folder or PATH, where anyone could plant a library of that name.
const int ImageConverterPlaces = 3;

// Full path of the converter in place index. False when the folder cannot be
// told or the path does not fit MAX_PATH.
bool ImageConverterPath(int index, wchar_t (&path)[MAX_PATH]);

// The converter of the first place whose library loads, or one with both
// conversions NULL when none does or it has neither export. Once found it
// stays loaded for the rest of the process and later calls return it at once.
ImageConverter LoadImageConverter();

// Runs the converter on source and destination inside the guard. A converter
// with only the narrow export gets both paths in the code page, and a path
// the code page cannot hold exactly is refused before the call: a name with
// question marks in it would be another file. A converter with the scaled
// export makes the bitmap for target; one without it, or an empty target,
// makes it at the picture's own size. False when the call was refused,
// faulted or answered a failure.
bool RunImageConverter(const ImageConverter &convert, const wchar_t *source, const wchar_t *destination,
                       const ScaleTarget &target);

// Runs the converter's composition inside the guard; false when the
// converter has none, or the call faulted or answered a failure.
bool RunImageComposer(const ImageConverter &convert, const wchar_t *destination, UINT count,
                      const wchar_t *const *pieces, const RECT *monitors, int placement);
