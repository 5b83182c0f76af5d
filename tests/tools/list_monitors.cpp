// Monitor helper for scripts/monitors.sh: prints each monitor Windows reports,
// the primary first, as "<rectangle> mode <current mode> [primary]". Given a
// layout, exits 0 only when the monitors are exactly those and each one's
// current mode has its rectangle's place and size; else 1.
//   list_monitors.exe [WxH+X+Y...]
#include <stdio.h>

#include "monitor_layout.h"

int main(int argc, char **argv)
{
    const std::vector<ReportedMonitor> monitors = ReportedMonitors();
    bool modesMatch = true;
    for (const ReportedMonitor &monitor : monitors)
    {
        printf("%s mode %s%s\n", MonitorText(monitor.area).c_str(), MonitorText(monitor.mode).c_str(),
               monitor.primary ? " primary" : "");
        modesMatch = modesMatch && MonitorText(monitor.mode) == MonitorText(monitor.area);
    }
    if (argc < 2)
        return 0;
    std::string wanted;
    for (int i = 1; i < argc; ++i)
        wanted += (i > 1 ? " " : "") + std::string(argv[i]);
    std::vector<MonitorArea> layout;
    if (!ParseMonitorLayout(wanted, &layout))
    {
        fprintf(stderr, "not a layout: %s\n", wanted.c_str());
        return 2;
    }
    const bool primaryFirst = !monitors.empty() && monitors[0].primary;
    return primaryFirst && modesMatch && LayoutText(MonitorAreas(monitors)) == LayoutText(layout) ? 0 : 1;
}
