// The size a converted picture gets: the desktop's style and monitors give
// the target, the picture's own size what it becomes for it.
#include <gtest/gtest.h>

#include "scale_target.h"
#include "scaled_size.h"

namespace
{
const MonitorArea Laptop[] = {{0, 0, 1920, 1080}};
const MonitorArea SideBySide[] = {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}};
const MonitorArea WithPortrait[] = {{0, 0, 1920, 1080}, {1920, -420, 1080, 1920}};
const MonitorArea Blank[] = {{0, 0, 1920, 1080}, {1920, 0, 0, 0}};
const MonitorArea Huge[] = {{0, 0, 40000, 20000}};

TEST(ScaledSize, FollowsTheStyleThePictureAndTheMonitors)
{
    const struct
    {
        int style, tiled;
        const MonitorArea *monitors;
        int count;
        UINT width, height;              // the upright picture
        UINT expectedWidth, expectedHeight;
    } rows[] = {
        {FillStyle, 0, Laptop, 1, 6000, 4000, 1920, 1280},
        {FillStyle, 0, Laptop, 1, 4000, 6000, 1920, 2880},   // a phone held upright
        {FitStyle, 0, Laptop, 1, 6000, 4000, 1620, 1080},
        {FitStyle, 0, Laptop, 1, 4000, 6000, 720, 1080},
        {StretchStyle, 0, Laptop, 1, 6000, 4000, 1920, 1080},
        {StretchStyle, 0, Laptop, 1, 1000, 4000, 1000, 1080}, // no axis grows
        {SpanStyle, 0, SideBySide, 2, 6000, 4000, 3840, 2560},
        {FillStyle, 0, SideBySide, 2, 6000, 4000, 1920, 1280},
        {FillStyle, 0, WithPortrait, 2, 6000, 4000, 2880, 1920}, // covers the portrait monitor too
        {SpanStyle, 0, WithPortrait, 2, 6000, 4000, 3000, 2000},  // the box is 3000 x 1920
        {FillStyle, 0, Laptop, 1, 1280, 720, 1280, 720},     // never enlarged
        {FillStyle, 0, Laptop, 1, 6000, 1, 6000, 1},         // covering would enlarge its height
        {FitStyle, 0, Laptop, 1, 6000, 1, 1920, 1},          // at least a pixel high
        {FitStyle, 0, Laptop, 1, 1, 6000, 1, 1080},
        {0, 0, Laptop, 1, 6000, 4000, 6000, 4000},           // Center
        {FillStyle, 1, Laptop, 1, 6000, 4000, 6000, 4000},   // tiled
        {5, 0, Laptop, 1, 6000, 4000, 6000, 4000},           // a style the run does not know
        {FillStyle, 0, Blank, 2, 6000, 4000, 6000, 4000},    // a monitor of no size
        {FillStyle, 0, Laptop, 0, 6000, 4000, 6000, 4000},   // no monitor
        {FillStyle, 0, Huge, 1, 30000, 17000, 30000, 17000}, // a target beyond MaxPicturePixels
    };
    for (const auto &row : rows)
    {
        const ScaleTarget target = TargetForStyle(row.style, row.tiled, row.monitors, row.count);
        UINT width = 0, height = 0;
        ScaledSize(row.width, row.height, target.width, target.height, target.fit, &width, &height);
        EXPECT_EQ(width, row.expectedWidth) << "style " << row.style << ", " << row.width << " x " << row.height;
        EXPECT_EQ(height, row.expectedHeight) << "style " << row.style << ", " << row.width << " x " << row.height;
    }
}
}
