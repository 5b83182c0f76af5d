// Many runs in one process: whatever a run opens, it closes.
#include <gtest/gtest.h>

#include "settings_fixture.h"
#include "wallpaper_cycle.h"

namespace
{
class SoakTest : public SettingsFixture
{
};

TEST_F(SoakTest, AThousandRunsLeaveTheHandleCountWhereItWas)
{
    // The working converter sits beside this program, so JPEG runs load it,
    // convert and replace the converted bitmap.
    MakeEntries(folder, {"1.bmp", "2.bmp", "3.jpg", "4.jpeg", "5.txt", "6\\", "7.jpg", "8.bmp"});
    UseFolder(1);

    ChangeNow(1, 0, 0); // loads the converter once, as the first JPEG would
    ChangeNow(0, 1, 0);
    const int before = CountProcessHandles();
    ASSERT_GT(before, 0) << "cannot count this process's handles";
    int jpegs = 0;
    for (int run = 0; run < 1000; ++run)
    {
        ChangeNow(run % 3 != 0, run % 2, 0);
        if (Wallpaper() == WindowsFolder() + "\\vistrane.bmp")
            ++jpegs;
    }
    EXPECT_EQ(CountProcessHandles(), before) << "1,000 runs leaked handles";
    EXPECT_GT(jpegs, 100) << "the soak should have converted JPEGs along the way";
    DeleteTree(WindowsFolder() + "\\vistrane.bmp");
}
}
