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
    const std::vector<std::string> listing = ListingOrder(folder);
    const int jpeg = PositionOf(listing, "3.jpg");
    ASSERT_GE(jpeg, 0);
    UseFolder(1);

    // A first conversion loads the converter, and the system keeps what it
    // opens once for the display's size; both stay for the process's life.
    // The desktop is asked for first: in a new session the system sets up
    // its displays when the desktop starts, and what a process opened for
    // them before that is opened again after.
    const int beforeJpeg = jpeg == 0 ? static_cast<int>(listing.size()) - 1 : jpeg - 1;
    StoreHistory(beforeJpeg, 0, 0);
    ASSERT_TRUE(GetDesktopWindow() != NULL);
    ChangeNow({0, 0, 0, 0});
    ASSERT_EQ(Wallpaper(), WindowsFolder() + "\\vistrane.bmp") << "the first run did not convert 3.jpg";
    ChangeNow({1, 1, 0, 0});
    const int before = CountProcessHandles();
    ASSERT_GT(before, 0) << "cannot count this process's handles";
    // Random runs reseed from the clock, so which of them meet a JPEG depends
    // on the second they run in. Every third run goes in turn from just
    // before a JPEG instead, so it converts one whatever the clock says.
    int converted = 0, inTurn = 0;
    for (int run = 0; run < 1000; ++run)
    {
        const bool random = run % 3 != 0;
        if (!random)
        {
            StoreHistory(beforeJpeg, 0, 0);
            ++inTurn;
        }
        ChangeNow({random, run % 2, 0, 0});
        if (!random && Wallpaper() == WindowsFolder() + "\\vistrane.bmp")
            ++converted;
    }
    EXPECT_EQ(CountProcessHandles(), before) << "1,000 runs leaked handles";
    EXPECT_EQ(converted, inTurn) << "every run in turn from before a JPEG should have converted it";
    DeleteTree(WindowsFolder() + "\\vistrane.bmp");
}
}
