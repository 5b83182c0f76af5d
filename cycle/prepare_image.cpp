#include "prepare_image.h"

#include "converted_bitmap.h"
#include "image_type.h"

bool PrepareImage(wchar_t (&path)[MAX_PATH], int tiled)
{
    switch (ClassifyImage(path))
    {
    case BitmapImage:
        return true;
    case ConvertedImage:
    {
        const ImageConverter convert = LoadImageConverter();
        return (convert.wide != NULL || convert.narrow != NULL) &&
               ConvertPicture(path, convert, CurrentScaleTarget(tiled));
    }
    default:
        return false;
    }
}
