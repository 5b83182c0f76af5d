#include "prepare_image.h"

#include "converted_bitmap.h"
#include "image_type.h"

bool PrepareImage(char (&path)[MAX_PATH])
{
    switch (ClassifyImage(path))
    {
    case BitmapImage:
        return true;
    case JpegImage:
    {
        const ImageConverter convert = LoadImageConverter();
        return convert != NULL && ConvertJpeg(path, convert);
    }
    default:
        return false;
    }
}
