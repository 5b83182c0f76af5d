// Where a converted JPEG goes, and how it gets there without harming the
// bitmap the desktop may be showing.
#pragma once

#include "image_converter.h"

const wchar_t ConvertedBitmapName[] = L"vistrane.bmp";
// The converter writes here first; only a finished bitmap replaces the last.
const wchar_t PendingBitmapName[] = L"vistrane.new.bmp";
// Below the user's local application data folder, used when the Windows
// folder cannot be written (a standard user, or any logon under UAC).
const wchar_t UserBitmapFolder[] = L"Vistrane";

// The folder for the converted bitmap: the Windows folder when a file can be
// made in it, else the user's local application data folder followed by
// "Vistrane", created when missing. On success pending holds an empty file to
// convert into and converted the final bitmap's path. False when neither place
// can be written.
bool PrepareBitmapPaths(wchar_t (&pending)[MAX_PATH], wchar_t (&converted)[MAX_PATH]);

// Converts the JPEG at path and, when the converter succeeded, moves its
// bitmap over the previous converted one and rewrites path to name it. On any
// failure, a fault inside the converter included, path is left as it was, no
// pending file remains, and the previous converted bitmap stays.
bool ConvertJpeg(wchar_t (&path)[MAX_PATH], const ImageConverter &convert);
