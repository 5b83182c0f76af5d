// How long one wallpaper run takes over a folder of 100 bitmaps, in turn and
// at random, and how much stack it uses. Prints figures; asserts nothing.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bitmap_file.h"
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
}

int main()
{
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
