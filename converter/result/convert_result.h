// What a conversion answers. The caller only tells 0 from the rest; the
// other values say where it stopped, for whoever debugs it.
#pragma once

enum ConvertResult
{
    ConvertDone = 0,
    ConvertBadArguments = 1,
    ConvertSourceUnreadable = 2,
    ConvertNotAPicture = 3,      // no format we know, or a header no decoder is to be shown
    ConvertTruncated = 4,        // the picture data ends before the end-of-image marker
    ConvertTooLarge = 5,         // more pixels than MaxPicturePixels
    ConvertNoImagingComponent = 6,
    ConvertDecodeFailed = 7,
    ConvertOutOfMemory = 8,
    ConvertDestinationUnwritable = 9,
    ConvertFaulted = 10,         // a processor fault or exception inside the call
    ConvertNoDecoder = 11,       // this PC has no decoder for the picture's format
};
