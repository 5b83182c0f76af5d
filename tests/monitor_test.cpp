// The program's monitors are those of the layout it runs under
// (VISTRANE_MONITORS, set by cmake's add_wine_monitor_test): each case below
// runs under every layout listed there.
#include <gtest/gtest.h>

#include "monitor_layout.h"

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
