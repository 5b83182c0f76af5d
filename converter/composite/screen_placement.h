// Where a monitor's picture lies on that monitor, as the desktop's wallpaper
// styles place a picture on a screen of its own.
#pragma once

#include <windows.h>

// The styles, as the composite export takes them.
enum ScreenPlacement
{
    PlaceFill = 0,    // covers the monitor, proportions kept, the overflow cut evenly
    PlaceFit = 1,     // inside the monitor, proportions kept, the desktop colour around it
    PlaceStretch = 2, // the monitor's size on each axis
    PlaceCenter = 3,  // at its own size, in the middle
    PlaceTile = 4,    // at its own size, repeated from the monitor's top-left corner
};

// The picture's size on the monitor and where its top-left corner lies,
// relative to the monitor's (negative where it overflows), or, tiled, the
// size of one tile.
struct ScreenPlace
{
    UINT width;
    UINT height;
    LONG left;
    LONG top;
    bool tiled;
};

// False for an empty picture or monitor, a placement this code does not
// know, or a placed axis longer than MaxPicturePixels (a picture one pixel
// high, filling a wide monitor). Fill and Fit round the axis that follows up, as
// the scaled conversion does, so a picture it already made for this monitor
// is placed at exactly its own size.
bool PlaceOnScreen(UINT pictureWidth, UINT pictureHeight, UINT screenWidth, UINT screenHeight, int placement,
                   ScreenPlace *place);
