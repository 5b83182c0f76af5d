#include "scaled_size.h"

#include "bitmap_geometry.h"

namespace
{
// part * whole / of, rounded up: the other axis of a picture whose one axis
// goes from of to whole pixels, so that it still covers what it covered.
UINT ScaledUp(UINT part, UINT whole, UINT of)
{
    const unsigned long long product = static_cast<unsigned long long>(part) * whole;
    return static_cast<UINT>((product + of - 1) / of);
}

UINT AtMost(UINT value, UINT limit)
{
    return value < limit ? value : limit;
}
}

void ScaledSize(UINT width, UINT height, UINT boxWidth, UINT boxHeight, int fit, UINT *scaledWidth,
                UINT *scaledHeight)
{
    *scaledWidth = width;
    *scaledHeight = height;
    if (width == 0 || height == 0 || boxWidth == 0 || boxHeight == 0 ||
        static_cast<unsigned long long>(boxWidth) * boxHeight > MaxPicturePixels)
        return;
    const unsigned long long boxByPicture = static_cast<unsigned long long>(boxWidth) * height;
    const unsigned long long pictureByBox = static_cast<unsigned long long>(boxHeight) * width;
    if (fit == ScaleEachAxis)
    {
        *scaledWidth = AtMost(boxWidth, width);
        *scaledHeight = AtMost(boxHeight, height);
        return;
    }
    if (fit != ScaleToCover && fit != ScaleToFit)
        return;
    // The axis that decides the scale: for a cover the one that needs the
    // larger scale, for a fit the one that allows the smaller. The other
    // axis follows, rounded up, so nothing the box needs is lost.
    const bool byWidth = fit == ScaleToCover ? boxByPicture >= pictureByBox : boxByPicture <= pictureByBox;
    // A picture is never enlarged: at a scale of 1 or more it already only
    // shrinks or keeps.
    if (byWidth ? boxWidth >= width : boxHeight >= height)
        return;
    if (byWidth)
    {
        *scaledWidth = boxWidth;
        *scaledHeight = AtMost(ScaledUp(height, boxWidth, width), height);
    }
    else
    {
        *scaledHeight = boxHeight;
        *scaledWidth = AtMost(ScaledUp(width, boxHeight, height), width);
    }
}
