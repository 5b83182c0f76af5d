// The EXIF orientation reader on any APP1 payload. Its promises: an
// orientation of 1 to 8 whatever the bytes, upright for anything that is not
// an EXIF segment, and no byte read outside the payload (AddressSanitizer
// sees that: libFuzzer's copy of the input ends where the payload does).
#include <stdlib.h>

#include "exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const int orientation = ExifOrientation(data, size);
    if (orientation < 1 || orientation > 8)
        abort();
    if (!IsExifSegment(data, size) && orientation != UprightOrientation)
        abort();
    return 0;
}
