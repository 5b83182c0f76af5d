// One conversion by the shipped Vistrane-jpeg.dll, or one bare decode of the
// same picture by the imaging component, measured in a process of its own:
// how long the call takes, and how far it raises the process's peak memory.
// Prints figures for scripts/bench.sh; asserts nothing.
//   converter_bench.exe [--standins] <warm-up.jpg> <picture> <out.bmp> [box-width box-height fit]
//   converter_bench.exe --decode <warm-up.jpg> <picture>
// --standins registers the tests' stand-in for Windows' JPEG decoder
// (tests/codec_standins) for the run: Wine's full decode, averaged down where
// the converter asks for a smaller size. It shows what the scaled decode's
// path costs, not how fast Windows' own decoder is.
// The warm-up conversion of a small picture comes first, so the figures are
// the conversion's own, not the loading of COM and the imaging component
// (that is printed apart).
//
// Memory is the peak working set (every private page the process has touched
// and still holds, with the code pages it runs) above the working set just
// before the call. Under Wine that is the host's resident-set high-water mark,
// the one true peak Wine reports: its peak pagefile figure follows the
// current one back down.
#include <windows.h>

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <memory>

#include "converter_support.h"
#include "standin_registration.h"

namespace
{
double Milliseconds(const LARGE_INTEGER &start, const LARGE_INTEGER &end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

bool TimedConversion(NarrowImageConverter convert, const char *source, const char *destination, double *milliseconds)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const int result = convert(source, destination);
    QueryPerformanceCounter(&end);
    *milliseconds = Milliseconds(start, end);
    if (result != 0)
        fprintf(stderr, "converter_bench: %s: result %d\n", source, result);
    return result == 0;
}

// The picture decoded into memory in its own pixel format, by whichever
// decoder the imaging component picks: what any program showing it pays.
bool TimedDecode(IWICImagingFactory *factory, const char *source, double *milliseconds, UINT *pixels)
{
    wchar_t path[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, source, -1, path, MAX_PATH) == 0)
        return false;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame;
    Microsoft::WRL::ComPtr<IWICBitmap> bitmap;
    UINT width = 0, height = 0;
    const bool decoded =
        SUCCEEDED(factory->CreateDecoderFromFilename(path, NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory->CreateBitmapFromSource(frame.Get(), WICBitmapCacheOnLoad, &bitmap)) &&
        SUCCEEDED(bitmap->GetSize(&width, &height));
    QueryPerformanceCounter(&end);
    *milliseconds = Milliseconds(start, end);
    *pixels = width * height;
    if (!decoded)
        fprintf(stderr, "converter_bench: %s: the imaging component cannot decode it\n", source);
    return decoded;
}

int Decode(const char *warmUpPicture, const char *picture)
{
    if (FAILED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED)))
        return 1;
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return 1;
    double warmUp = 0, decode = 0;
    UINT pixels = 0;
    if (!TimedDecode(factory.Get(), warmUpPicture, &warmUp, &pixels))
        return 1;
    const PROCESS_MEMORY_COUNTERS before = Memory();
    if (!TimedDecode(factory.Get(), picture, &decode, &pixels))
        return 1;
    const PROCESS_MEMORY_COUNTERS after = Memory();
    const SIZE_T peakGrowth = after.PeakWorkingSetSize > before.WorkingSetSize
                                  ? after.PeakWorkingSetSize - before.WorkingSetSize
                                  : 0;
    printf("milliseconds=%.1f pixels=%u peak_growth_bytes=%lu\n", decode, pixels,
           static_cast<unsigned long>(peakGrowth));
    return 0;
}

// The scaled export behind the narrow signature the timing takes.
ScaledImageConverter ScaledExport = NULL;
UINT BoxWidth = 0, BoxHeight = 0;
int BoxFit = 0;

int WINAPI ConvertScaled(const char *source, const char *destination)
{
    wchar_t wideSource[MAX_PATH], wideDestination[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, source, -1, wideSource, MAX_PATH) == 0 ||
        MultiByteToWideChar(CP_ACP, 0, destination, -1, wideDestination, MAX_PATH) == 0)
        return -1;
    return ScaledExport(wideSource, wideDestination, BoxWidth, BoxHeight, BoxFit);
}
}

int main(int argc, char **argv)
{
    if (argc == 4 && strcmp(argv[1], "--decode") == 0)
        return Decode(argv[2], argv[3]);
    std::unique_ptr<CodecStandIns> standIns;
    if (argc > 1 && strcmp(argv[1], "--standins") == 0)
    {
        standIns.reset(new CodecStandIns);
        if (!standIns->Problem().empty())
        {
            fprintf(stderr, "converter_bench: %s\n", standIns->Problem().c_str());
            return 1;
        }
        --argc;
        ++argv;
    }
    if (argc != 4 && argc != 7)
    {
        fprintf(stderr, "usage: converter_bench [--standins] <warm-up.jpg> <picture> <out.bmp> [box-width box-height fit]\n"
                        "       converter_bench --decode <warm-up.jpg> <picture>\n");
        return 2;
    }
    NarrowImageConverter convert = ShippedConvert();
    if (argc == 7)
    {
        ScaledExport = ShippedScaledConvert();
        BoxWidth = static_cast<UINT>(atoi(argv[4]));
        BoxHeight = static_cast<UINT>(atoi(argv[5]));
        BoxFit = atoi(argv[6]);
        convert = ScaledExport != NULL ? &ConvertScaled : NULL;
    }
    if (convert == NULL)
    {
        fprintf(stderr, "converter_bench: cannot load %s\n", ShippedConverter().c_str());
        return 1;
    }
    double warmUp = 0, conversion = 0;
    if (!TimedConversion(convert, argv[1], argv[3], &warmUp))
        return 1;
    DeleteFileA(argv[3]);
    const PROCESS_MEMORY_COUNTERS before = Memory();
    if (!TimedConversion(convert, argv[2], argv[3], &conversion))
        return 1;
    const PROCESS_MEMORY_COUNTERS after = Memory();

    const HANDLE bitmap = CreateFileA(argv[3], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    const DWORD bitmapBytes = bitmap == INVALID_HANDLE_VALUE ? 0 : GetFileSize(bitmap, NULL);
    if (bitmap != INVALID_HANDLE_VALUE)
        CloseHandle(bitmap);
    const SIZE_T peakGrowth = after.PeakWorkingSetSize > before.WorkingSetSize
                                  ? after.PeakWorkingSetSize - before.WorkingSetSize
                                  : 0;
    printf("milliseconds=%.1f warm_up_milliseconds=%.1f bitmap_bytes=%lu peak_growth_bytes=%lu\n",
           conversion, warmUp, static_cast<unsigned long>(bitmapBytes), static_cast<unsigned long>(peakGrowth));
    return 0;
}
