// The size a converted picture gets: the desktop's style and monitors give
// the target, the picture's own size what it becomes for it.
#include <gtest/gtest.h>

#include "scale_target.h"
#include "scaled_rows.h"
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

namespace
{
// Rows of one level, or of levels that change along the row.
class LevelRows : public RowSource
{
public:
    LevelRows(UINT width, bool ramp) : width(width), ramp(ramp), next(0) {}
    bool CopyRows(UINT y, UINT count, BYTE *rows, UINT stride) override
    {
        if (y != next)
            return false; // asked out of order
        for (UINT i = 0; i < count; ++i)
            for (UINT x = 0; x < width * 3; ++x)
                rows[i * stride + x] = static_cast<BYTE>(ramp ? x / 3 : 200);
        next += count;
        return true;
    }

private:
    const UINT width;
    const bool ramp;
    UINT next;
};

TEST(ScaledRows, KeepAUniformLevelAndAverageWhatEachPixelCovers)
{
    // Shares that are no whole fraction: a level must come out as itself.
    LevelRows uniform(1203, false);
    ScaledRows scaled(uniform, 1203, 517, 401, 173);
    ASSERT_TRUE(scaled.Prepare());
    BYTE row[401 * 3];
    for (UINT y = 0; y < 173; ++y)
    {
        ASSERT_TRUE(scaled.CopyRows(y, 1, row, sizeof(row))) << "row " << y;
        for (BYTE level : row)
            ASSERT_EQ(level, 200) << "row " << y;
    }
    EXPECT_FALSE(scaled.CopyRows(0, 1, row, sizeof(row))) << "a row asked for again";

    // Levels 0 to 5 across, halved: each pixel the mean of the two it covers.
    LevelRows ramp(6, true);
    ScaledRows halved(ramp, 6, 2, 3, 1);
    ASSERT_TRUE(halved.Prepare());
    BYTE three[9];
    ASSERT_TRUE(halved.CopyRows(0, 1, three, sizeof(three)));
    const BYTE expected[9] = {1, 1, 1, 3, 3, 3, 5, 5, 5}; // 0.5, 2.5, 4.5 rounded up
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(three[i], expected[i]) << "value " << i;
}
}
