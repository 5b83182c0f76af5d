// Stand-ins for Vistrane-jpeg.dll, one behaviour per build (CONVERTER_KIND),
// so the wallpaper run can be shown to survive whatever a converter does.
// Each writes a few bytes into the destination first, as a converter that
// fails halfway would.
#include <windows.h>

#include "bitmap_file.h"

#define WRITES_BITMAP 1
#define RETURNS_FAILURE 2
#define NO_EXPORT 3
#define NULL_POINTER 4
#define RAISES_EXCEPTION 5
#define DIVIDES_BY_ZERO 6
#define LEAVES_MARKER 7
#define WRITES_BITMAP_NARROW 8 // as a converter library without the wide export

namespace
{
// The destination as the narrow export gets it, in the code page.
bool WriteBitmapInCodePage(const char *destination)
{
    wchar_t wide[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, destination, -1, wide, MAX_PATH) > 0 && WriteBitmapFile(wide, 4, 3, RGB(200, 40, 10));
}

#if CONVERTER_KIND != WRITES_BITMAP && CONVERTER_KIND != WRITES_BITMAP_NARROW
void WritePartialFile(const char *destination)
{
    const HANDLE out = CreateFileA(destination, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(out, "BMhalf", 6, &written, NULL);
    CloseHandle(out);
}
#endif

#if CONVERTER_KIND == LEAVES_MARKER
// Proof that the library was loaded at all: a file in the current folder.
void LeaveMarker()
{
    const HANDLE out = CreateFileA("planted-converter-ran.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
    if (out != INVALID_HANDLE_VALUE)
        CloseHandle(out);
}
#endif
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void *)
{
#if CONVERTER_KIND == LEAVES_MARKER
    if (reason == DLL_PROCESS_ATTACH)
        LeaveMarker();
#else
    (void)reason;
#endif
    return TRUE;
}

extern "C" int WINAPI Vistrane_convert(const char *source, const char *destination)
{
    // A source that does not exist would mean the run passed the wrong path.
    if (GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES)
        return 2;
#if CONVERTER_KIND == WRITES_BITMAP || CONVERTER_KIND == WRITES_BITMAP_NARROW
    return WriteBitmapInCodePage(destination) ? 0 : 3;
#else
    WritePartialFile(destination);
#endif
#if CONVERTER_KIND == NULL_POINTER
    return *static_cast<volatile int *>(NULL);
#elif CONVERTER_KIND == RAISES_EXCEPTION
    RaiseException(0xE0564953, 0, 0, NULL);
#elif CONVERTER_KIND == DIVIDES_BY_ZERO
    // Both operands volatile: with a constant numerator the compiler may
    // answer without dividing.
    volatile int numerator = 100, zero = 0;
    return numerator / zero;
#elif CONVERTER_KIND == LEAVES_MARKER
    LeaveMarker();
#endif
    return 1;
}

#if CONVERTER_KIND == WRITES_BITMAP
extern "C" int WINAPI Vistrane_convertW(const wchar_t *source, const wchar_t *destination)
{
    if (GetFileAttributesW(source) == INVALID_FILE_ATTRIBUTES)
        return 2;
    return WriteBitmapFile(destination, 4, 3, RGB(200, 40, 10)) ? 0 : 3;
}
#endif
