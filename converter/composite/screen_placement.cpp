#include "screen_placement.h"

#include "bitmap_geometry.h"

namespace
{
// part * whole / of, rounded up, where it fits the bitmap's limits.
bool ScaledUp(UINT part, UINT whole, UINT of, UINT *scaled)
{
    const unsigned long long value = (static_cast<unsigned long long>(part) * whole + of - 1) / of;
    if (value > MaxPicturePixels)
        return false;
    *scaled = static_cast<UINT>(value);
    return true;
}

LONG Centred(UINT screen, UINT picture)
{
    return static_cast<LONG>((static_cast<long long>(screen) - static_cast<long long>(picture)) / 2);
}
}

bool PlaceOnScreen(UINT pictureWidth, UINT pictureHeight, UINT screenWidth, UINT screenHeight, int placement,
                   ScreenPlace *place)
{
    if (pictureWidth == 0 || pictureHeight == 0 || screenWidth == 0 || screenHeight == 0)
        return false;
    place->width = pictureWidth;
    place->height = pictureHeight;
    place->tiled = placement == PlaceTile;
    // Relatively wider than the monitor, or as wide: its height decides a
    // cover, its width a fit.
    const bool wider = static_cast<unsigned long long>(pictureWidth) * screenHeight >=
                       static_cast<unsigned long long>(pictureHeight) * screenWidth;
    bool placed = true;
    switch (placement)
    {
    case PlaceFill:
    case PlaceFit:
        if (wider == (placement == PlaceFill))
        {
            place->height = screenHeight;
            placed = ScaledUp(pictureWidth, screenHeight, pictureHeight, &place->width);
        }
        else
        {
            place->width = screenWidth;
            placed = ScaledUp(pictureHeight, screenWidth, pictureWidth, &place->height);
        }
        break;
    case PlaceStretch:
        place->width = screenWidth;
        place->height = screenHeight;
        break;
    case PlaceCenter:
        break;
    case PlaceTile:
        place->left = place->top = 0;
        return true;
    default:
        return false;
    }
    place->left = Centred(screenWidth, place->width);
    place->top = Centred(screenHeight, place->height);
    return placed;
}
