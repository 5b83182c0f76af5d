// What a conversion answers. The caller only tells 0 from the rest; the
// other values say where it stopped, for whoever debugs it.
#pragma once

enum ConvertResult
{
    ConvertDone = 0,
    ConvertBadArguments = 1,
    ConvertSourceUnreadable = 2,
    ConvertNotAJpeg = 3,         // not a JPEG, or damaged before its first scan
    ConvertTruncated = 4,        // the picture data ends before the end-of-image marker
    ConvertTooLarge = 5,         // more pixels than MaxPicturePixels
    ConvertNoImagingComponent = 6,
    ConvertDecodeFailed = 7,
    ConvertOutOfMemory = 8,
    ConvertDestinationUnwritable = 9,
    ConvertFaulted = 10,         // a processor fault or exception inside the call
};
