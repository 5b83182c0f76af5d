// How long one wallpaper run takes over a folder of 100 bitmaps, in turn and
// at random, and how much stack it uses; with --screens, the time and the
// peak memory of one run that shows a picture of its own on each of three
// 3840 x 2160 monitors. Prints figures; asserts nothing.
//   cycle_bench.exe
//   cycle_bench.exe --screens [folder of three pictures]
#include <windows.h>

#include <psapi.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "image_list.h"
#include "per_monitor_cycle.h"
#include "settings_key.h"
#include "test_support.h"
#include "wallpaper_cycle.h"

namespace
{
const int Runs = 201;

double MedianMilliseconds(int random, int immediate)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run)
    {
        QueryPerformanceCounter(&start);
        ChangeNow({random, 0, immediate, 0});
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The stack below the caller is painted with a known byte, a run is made on
// it, and the deepest byte no longer painted tells how far the run reached.
const size_t PaintedBytes = 256 * 1024;
const unsigned char Paint = 0xA5;
// Kept as a number: the area it points into is dead, and only read as memory.
UINT_PTR PaintedAddress = 0;

__attribute__((noinline)) void PaintStack()
{
    volatile unsigned char area[PaintedBytes];
    for (size_t i = 0; i < PaintedBytes; ++i)
        area[i] = Paint;
    PaintedAddress = reinterpret_cast<UINT_PTR>(area);
}

__attribute__((noinline)) size_t StackUse(int random, int immediate)
{
    PaintStack();
    ChangeNow({random, 0, immediate, 0});
    const volatile unsigned char *low = reinterpret_cast<const volatile unsigned char *>(PaintedAddress);
    const volatile unsigned char *deepest = low;
    while (deepest < low + PaintedBytes && *deepest == Paint)
        ++deepest;
    return static_cast<size_t>(low + PaintedBytes - deepest);
}

// One run over folder for three 4K monitors side by side, with Fill: its
// time, and how far it raised the peak working set above the working set
// before it (under Wine, the host's resident-set high-water mark).
void MeasureScreens(const std::string &folder, const char *label)
{
    WriteStringValue(DesktopKeyPath, WallpaperStyleValue, "10");
    ImageList list;
    if (!ListImages(Wide(folder).c_str(), list) || list.count == 0)
    {
        fprintf(stderr, "cycle_bench: nothing in %s\n", folder.c_str());
        return;
    }
    MonitorList monitors = {{{0, 0, 3840, 2160}, {3840, 0, 3840, 2160}, {7680, 0, 3840, 2160}}, 3};
    RegistryKey settings;
    settings.Open(SettingsKeyPath, 1);
    const RotationHistory history = {list.count - 1, 0, 0};
    const CycleOptions options = {0, 0, 0, 1};
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    before.cb = after.cb = sizeof(before);
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    CyclePerMonitor(settings, Wide(folder).c_str(), list, history, options, monitors);
    QueryPerformanceCounter(&end);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    const HANDLE bitmap = CreateFileA((WindowsFolder() + "\\vistrane.bmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      NULL, OPEN_EXISTING, 0, NULL);
    const DWORD bytes = bitmap == INVALID_HANDLE_VALUE ? 0 : GetFileSize(bitmap, NULL);
    if (bitmap != INVALID_HANDLE_VALUE)
        CloseHandle(bitmap);
    const SIZE_T growth =
        after.PeakWorkingSetSize > before.WorkingSetSize ? after.PeakWorkingSetSize - before.WorkingSetSize : 0;
    if (strcmp(label, "warm-up") == 0)
        return;
    printf("  %s: %8.1f ms, peak %.1f MB above the start, composite bitmap %lu bytes\n", label,
           1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart, growth / 1048576.0,
           static_cast<unsigned long>(bytes));
}

// Three small bitmaps, which Fill enlarges to each monitor: the run's cost
// is then the composite's own.
std::string SmallPictures()
{
    const std::string small = ScratchFolder("bench-screens-small");
    for (int i = 0; i < 3; ++i)
        WriteBitmapFile(Wide(small + "\\small" + std::to_string(i) + ".bmp").c_str(), 64, 48, RGB(60 * i, 100, 200));
    return small;
}

int Screens(const char *folder)
{
    ResetSettingsKey();
    const std::string small = SmallPictures();
    // The first run in a process also loads COM and the imaging component.
    MeasureScreens(small, "warm-up");
    MeasureScreens(small, "three 64 x 48 bitmaps, enlarged");
    if (folder != NULL)
        MeasureScreens(folder, "the pictures of the folder");
    DeleteTree(small);
    DeleteTree(WindowsFolder() + "\\vistrane.bmp");
    ResetSettingsKey();
    return 0;
}
}

int main(int argc, char **argv)
{
    if (argc >= 2 && strcmp(argv[1], "--screens") == 0)
        return Screens(argc >= 3 ? argv[2] : NULL);

    ResetSettingsKey();
    const std::string folder = ScratchFolder("bench-100");
    for (int i = 0; i < 100; ++i)
        WriteBitmapFile(Wide(folder + "\\picture" + std::to_string(i) + ".bmp").c_str(), 64, 48, RGB(i, 100, 200));
    WriteStringValue(SettingsKeyPath, ImageDirValue, folder);

    printf("One wallpaper run over 100 bitmaps, median of %d runs:\n", Runs);
    printf("  in turn,   no broadcast: %8.3f ms\n", MedianMilliseconds(0, 0));
    printf("  at random, no broadcast: %8.3f ms\n", MedianMilliseconds(1, 0));
    printf("  in turn,   broadcast:    %8.3f ms\n", MedianMilliseconds(0, 1));
    printf("  at random, broadcast:    %8.3f ms\n", MedianMilliseconds(1, 1));
    printf("Stack used by one run (painted stack, includes the system calls):\n");
    printf("  no broadcast: %u bytes\n", static_cast<unsigned>(StackUse(1, 0)));
    printf("  broadcast:    %u bytes\n", static_cast<unsigned>(StackUse(1, 1)));

    DeleteTree(folder);
    ResetSettingsKey();
    return 0;
}
