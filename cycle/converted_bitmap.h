// Where a converted picture goes, and how it gets there without harming the
// bitmap the desktop may be showing, also while other runs convert at once.
#pragma once

#include "image_converter.h"

const wchar_t ConvertedBitmapName[] = L"vistrane.bmp";
// Below the user's local application data folder, used when the Windows
// folder cannot be written (a standard user, or any logon under UAC).
const wchar_t UserBitmapFolder[] = L"Vistrane";

// The folder for the converted bitmap: the Windows folder when this run can
// make a file of its own in it, else the user's local application data
// folder followed by "Vistrane", created when missing. On success pending
// names this run's own temporary file (see pending_bitmap.h), which does not
// exist yet, and converted the final bitmap's path; stale temporary files of
// runs that died have been removed from that folder. False when neither place
// can be written.
bool PrepareBitmapPaths(wchar_t (&pending)[MAX_PATH], wchar_t (&converted)[MAX_PATH]);

// Converts the picture at path into this run's temporary file and, when the
// converter succeeded, replaces the previous converted bitmap with it in one
// step and rewrites path to name it. So the converted bitmap is at every
// moment a whole one, the previous or the new. On any failure, a fault inside
// the converter included, path is left as it was, the temporary file is
// gone, and the previous converted bitmap stays.
// The bitmap is made for target (scale_target.h).
bool ConvertPicture(wchar_t (&path)[MAX_PATH], const ImageConverter &convert, const ScaleTarget &target);
