// How large a picture is made for the screen it is shown on.
#pragma once

#include <windows.h>

// How a picture is to meet the box it is scaled for, as the desktop's
// wallpaper styles show it.
enum ScaleFit
{
    ScaleToCover = 0,  // Fill and Span: the picture covers the box, proportions kept
    ScaleToFit = 1,    // Fit: the picture fits inside the box, proportions kept
    ScaleEachAxis = 2, // Stretch: each axis takes the box's size on its own
};

// The size a width x height picture is scaled down to for a boxWidth x
// boxHeight box: the smallest at which the desktop, showing it in that fit,
// still only shrinks it or keeps it. Never larger than the picture on either
// axis, never below 1 pixel. The picture's own size for an empty box, a box
// of more than MaxPicturePixels, or a fit this code does not know.
void ScaledSize(UINT width, UINT height, UINT boxWidth, UINT boxHeight, int fit, UINT *scaledWidth,
                UINT *scaledHeight);
