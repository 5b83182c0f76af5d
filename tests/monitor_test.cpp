// The program's monitors are those of the layout it runs under
// (VISTRANE_MONITORS, set by cmake's add_wine_monitor_test): each case below
// runs under every layout listed there.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "converter_support.h"
#include "monitor_layout.h"
#include "settings_fixture.h"

TEST(MonitorLayoutTest, WindowsReportsTheLayoutsMonitors)
{
    const std::vector<MonitorArea> layout = LayoutMonitors();
    ASSERT_FALSE(layout.empty()) << "VISTRANE_MONITORS names no layout";
    const std::vector<ReportedMonitor> monitors = ReportedMonitors();
    ASSERT_FALSE(monitors.empty());
    EXPECT_EQ(LayoutText(layout), LayoutText(MonitorAreas(monitors)));
    EXPECT_TRUE(monitors[0].primary) << "no primary monitor";
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), static_cast<int>(layout.size()));
    // The run takes each monitor's place and size from its current mode.
    for (const ReportedMonitor &monitor : monitors)
        EXPECT_EQ(MonitorText(monitor.area), MonitorText(monitor.mode)) << "current mode of a monitor";
}

namespace
{
// The logon run under the layout, with a picture of its own on each monitor:
// Vistrane.cpl and the shipped converter side by side, as installed, run by
// Wine's rundll32.exe; the desktop in Fill, as a new Windows profile has it.
class PerMonitorRunTest : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        monitors = LayoutMonitors();
        ASSERT_GE(monitors.size(), 2u) << "VISTRANE_MONITORS names no layout of several monitors";
        installed = ScratchFolder("per-monitor-install");
        applet = installed + "\\Vistrane.cpl";
        ASSERT_TRUE(CopyOneFile(ShippedApplet(), applet));
        ASSERT_TRUE(CopyOneFile(ShippedConverter(), installed + "\\Vistrane-jpeg.dll"));
        UseFolder(0);
        WriteDwordValue(SettingsKeyPath, DoPerMonitorValue, 1);
        WriteStringValue(DesktopKeyPath, WallpaperStyleValue, "10");
        WriteStringValue(DesktopKeyPath, TileWallpaperValue, "0");
    }
    void TearDown() override
    {
        DeleteTree(WindowsFolder() + "\\vistrane.bmp");
        DeleteTree(installed);
        SettingsFixture::TearDown();
    }
    void RunAtLogon() { ASSERT_EQ(RunProgram("rundll32.exe \"" + applet + "\",AfterLogon"), 0); }
    // The positions the last run showed, the first monitor's first: the
    // newest of the history, one for each monitor.
    std::vector<int> Shown()
    {
        const RotationHistory history = StoredHistory();
        const int latest[3] = {history.h2, history.h1, history.h0};
        return std::vector<int>(latest + 3 - monitors.size(), latest + 3);
    }

    std::vector<MonitorArea> monitors;
    std::string installed, applet;
};

// Monitor's part of the composite, where the desktop tiles it from the
// primary monitor's corner.
Pixels Unrolled(const Pixels &composite, const MonitorArea &monitor)
{
    Pixels part;
    part.width = static_cast<int>(monitor.width);
    part.height = static_cast<int>(monitor.height);
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
        {
            const int cx = ((monitor.left + x) % composite.width + composite.width) % composite.width;
            const int cy = ((monitor.top + y) % composite.height + composite.height) % composite.height;
            const BYTE *pixel = &composite.bgr[(static_cast<size_t>(cy) * composite.width + cx) * 3];
            part.bgr.insert(part.bgr.end(), pixel, pixel + 3);
        }
    return part;
}

bool OnAMonitor(const std::vector<MonitorArea> &monitors, LONG x, LONG y)
{
    for (const MonitorArea &m : monitors)
        if (x >= m.left && x < m.left + static_cast<LONG>(m.width) && y >= m.top &&
            y < m.top + static_cast<LONG>(m.height))
            return true;
    return false;
}

TEST_F(PerMonitorRunTest, EachMonitorShowsAPictureOfItsOwnFilledAndTiledFromThePrimary)
{
    const std::string pictures = ProgramFolder() + "\\screens";
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(CopyOneFile(pictures + "\\photo-" + std::to_string(i) + ".jpg",
                                folder + "\\photo-" + std::to_string(i) + ".jpg"));
    // Tried first, in turn: a picture that cannot be shown makes the run try
    // another for that monitor.
    ASSERT_TRUE(WriteTextFile(folder + "\\broken.jpg", "not a picture"));
    const int broken = PositionOf(ListingOrder(folder), "broken.jpg");
    StoreHistory(broken - 1, 0, 0);
    RunAtLogon();
    const std::string bitmap = WindowsFolder() + "\\vistrane.bmp";
    ASSERT_EQ(Wallpaper(), bitmap);
    std::string value;
    EXPECT_TRUE(ReadStringValue(DesktopKeyPath, WallpaperStyleValue, &value) && value == "0") << value;
    EXPECT_TRUE(ReadStringValue(DesktopKeyPath, TileWallpaperValue, &value) && value == "1") << value;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, UserWallpaperStyleValue, &value) && value == "10")
        << "the user's style was not kept";

    Pixels composite;
    ASSERT_EQ(ReadBitmap(bitmap, &composite), "");
    LONG left = 0, top = 0, right = 0, bottom = 0;
    for (const MonitorArea &m : monitors)
    {
        left = std::min(left, m.left);
        top = std::min(top, m.top);
        right = std::max(right, m.left + static_cast<LONG>(m.width));
        bottom = std::max(bottom, m.top + static_cast<LONG>(m.height));
    }
    ASSERT_EQ(composite.width, right - left) << "not the virtual screen's width";
    ASSERT_EQ(composite.height, bottom - top) << "not the virtual screen's height";

    // Each monitor's part is one of the pictures as Fill shows it there, and
    // no picture is on two monitors.
    std::set<int> shown;
    for (const MonitorArea &m : monitors)
    {
        const Pixels part = Unrolled(composite, m);
        const std::string size = std::to_string(m.width) + "x" + std::to_string(m.height);
        int best = -1;
        double bestPsnr = 0;
        for (int i = 0; i < 4; ++i)
        {
            Pixels reference;
            ASSERT_EQ(ReadBitmap(pictures + "\\photo-" + std::to_string(i) + "-" + size + ".bmp", &reference), "");
            const double psnr = Psnr(part, reference);
            if (psnr > bestPsnr)
                best = i, bestPsnr = psnr;
        }
        EXPECT_GE(bestPsnr, 33.0) << "monitor " << MonitorText(m) << " shows none of the pictures filled";
        EXPECT_TRUE(shown.insert(best).second) << "photo-" << best << " is on two monitors";
    }

    // Wherever no monitor is, the desktop colour.
    const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
    int gaps = 0, wrong = 0;
    for (LONG y = top; y < bottom; y += 7)
        for (LONG x = left; x < right; x += 7)
        {
            if (OnAMonitor(monitors, x, y))
                continue;
            ++gaps;
            const int cx = (x % composite.width + composite.width) % composite.width;
            const int cy = (y % composite.height + composite.height) % composite.height;
            const BYTE *pixel = &composite.bgr[(static_cast<size_t>(cy) * composite.width + cx) * 3];
            wrong += RGB(pixel[2], pixel[1], pixel[0]) != desktop;
        }
    EXPECT_GT(gaps, 0) << "every layout here leaves gaps between monitors of different sizes";
    EXPECT_EQ(wrong, 0) << "of " << gaps << " points between monitors not in the desktop colour";
}

TEST_F(PerMonitorRunTest, RunsGoOnThroughTheFolderAndGiveTheStyleBackWhenSwitchedOff)
{
    MakeEntries(folder, {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp", "g.bmp"});
    const int count = 7;
    const int screens = static_cast<int>(monitors.size());
    // In turn: consecutive pictures, run after run, none again until the
    // folder is used up.
    StoreHistory(count - 1, 0, 0);
    std::vector<int> order;
    for (int run = 0; run * screens < count; ++run)
    {
        RunAtLogon();
        for (int position : Shown())
            order.push_back(position);
    }
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], static_cast<int>(i % count)) << "in turn, shown " << i;

    // At random: never one of the last three shown, nor one twice at once.
    WriteDwordValue(SettingsKeyPath, DoRandomSearchValue, 1);
    for (int run = 0; run < 6; ++run)
    {
        const RotationHistory before = StoredHistory();
        RunAtLogon();
        std::set<int> now;
        for (int position : Shown())
        {
            EXPECT_TRUE(position != before.h0 && position != before.h1 && position != before.h2)
                << "run " << run << " showed " << position << " again";
            EXPECT_TRUE(now.insert(position).second) << "run " << run << " showed " << position << " twice";
        }
    }

    // Switched off: the user's Fill again, and one picture as the desktop.
    WriteDwordValue(SettingsKeyPath, DoPerMonitorValue, 0);
    RunAtLogon();
    std::string value;
    EXPECT_TRUE(ReadStringValue(DesktopKeyPath, WallpaperStyleValue, &value) && value == "10") << value;
    EXPECT_TRUE(ReadStringValue(DesktopKeyPath, TileWallpaperValue, &value) && value == "0") << value;
    EXPECT_NE(ShownEntry(), "") << "one bitmap of the folder, used as it is";
}
}
