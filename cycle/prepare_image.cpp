#include "prepare_image.h"

#include "converted_bitmap.h"
#include "image_type.h"

bool PrepareImage(wchar_t (&path)[MAX_PATH])
{
    switch (ClassifyImage(path))
    {
    case BitmapImage:
        return true;
    case JpegImage:
    {
        const ImageConverter convert = LoadImageConverter();
        return (convert.wide != NULL || convert.narrow != NULL) && ConvertJpeg(path, convert);
    }
    default:
        return false;
    }
}
