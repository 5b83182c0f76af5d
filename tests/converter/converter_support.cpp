#include "converter_support.h"

#include <math.h>

#include "test_support.h"

namespace
{
// The shipped library's export name, loaded once by full path and never
// unloaded.
void *ShippedExport(const char *name)
{
    static HMODULE library = NULL;
    if (library == NULL)
        library = LoadLibraryExA(ShippedConverter().c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    return library == NULL ? NULL : reinterpret_cast<void *>(GetProcAddress(library, name));
}
}

NarrowImageConverter ShippedConvert()
{
    return reinterpret_cast<NarrowImageConverter>(ShippedExport(ImageConverterExport));
}

ScaledImageConverter ShippedScaledConvert()
{
    return reinterpret_cast<ScaledImageConverter>(ShippedExport(ImageConverterScaledExport));
}

std::string CorpusFolder()
{
    return ProgramFolder() + "\\corpus";
}

std::string CorpusJpeg(const std::string &name)
{
    return CorpusFolder() + "\\jpeg\\" + name + ".jpg";
}

std::string CorpusReference(const std::string &name)
{
    return CorpusFolder() + "\\reference\\" + name + ".bmp";
}

std::string CorpusSource(const std::string &name)
{
    if (name.find('.') == std::string::npos)
        return CorpusJpeg(name);
    const std::string picture = CorpusFolder() + "\\picture\\" + name;
    return FileExists(picture) ? picture : CorpusFolder() + "\\standin\\" + name;
}

std::string CorpusReferenceOf(const std::string &name)
{
    return CorpusReference(name.substr(0, name.find('.')));
}

CorpusDesktopColour::CorpusDesktopColour() : kept(GetSysColor(COLOR_DESKTOP)), set(false)
{
    const INT element = COLOR_DESKTOP;
    const COLORREF corpus = RGB(0x3A, 0x6E, 0xA5);
    set = SetSysColors(1, &element, &corpus) != FALSE;
}

CorpusDesktopColour::~CorpusDesktopColour()
{
    const INT element = COLOR_DESKTOP;
    if (set)
        SetSysColors(1, &element, &kept);
}

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

bool WriteBytes(const std::string &path, const std::vector<BYTE> &bytes)
{
    const HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (WriteFile(out, &bytes[0], static_cast<DWORD>(bytes.size()), &written, NULL) &&
                                      written == bytes.size());
    CloseHandle(out);
    return ok;
}

size_t FindMarker(const std::vector<BYTE> &bytes, BYTE code, size_t from)
{
    for (size_t i = from; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == code)
            return i;
    return std::string::npos;
}

namespace
{
struct Headers
{
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
};

std::string ReadHeaders(const std::vector<BYTE> &bytes, Headers *headers)
{
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))
        return "shorter than its headers";
    memcpy(&headers->file, &bytes[0], sizeof(headers->file));
    memcpy(&headers->info, &bytes[sizeof(headers->file)], sizeof(headers->info));
    const BITMAPINFOHEADER &info = headers->info;
    if (headers->file.bfType != 0x4D42)
        return "no BM signature";
    if (info.biSize != sizeof(BITMAPINFOHEADER))
        return "info header of " + std::to_string(info.biSize) + " bytes";
    if (info.biBitCount != 24 || info.biCompression != BI_RGB || info.biPlanes != 1)
        return "not 24-bit uncompressed: " + std::to_string(info.biBitCount) + " bits, compression " +
               std::to_string(info.biCompression);
    if (info.biWidth <= 0 || info.biHeight == 0)
        return "size " + std::to_string(info.biWidth) + " x " + std::to_string(info.biHeight);
    const unsigned long long stride = (static_cast<unsigned long long>(info.biWidth) * 3 + 3) & ~3ull;
    const unsigned long long rows = info.biHeight > 0 ? info.biHeight : -static_cast<long long>(info.biHeight);
    if (headers->file.bfOffBits > bytes.size() || bytes.size() - headers->file.bfOffBits < stride * rows)
        return "fewer pixel bytes than the size needs";
    return std::string();
}
}

std::string ReadBitmap(const std::string &path, Pixels *pixels)
{
    const std::vector<BYTE> bytes = ReadBytes(path);
    Headers headers;
    const std::string problem = ReadHeaders(bytes, &headers);
    if (!problem.empty())
        return problem;
    const bool bottomUp = headers.info.biHeight > 0;
    pixels->width = headers.info.biWidth;
    pixels->height = bottomUp ? headers.info.biHeight : -headers.info.biHeight;
    const size_t row = static_cast<size_t>(pixels->width) * 3;
    const size_t stride = (row + 3) & ~static_cast<size_t>(3);
    pixels->bgr.resize(row * pixels->height);
    for (int y = 0; y < pixels->height; ++y)
    {
        const int stored = bottomUp ? pixels->height - 1 - y : y;
        memcpy(&pixels->bgr[y * row], &bytes[headers.file.bfOffBits + stored * stride], row);
    }
    return std::string();
}

std::string ConverterBitmapProblem(const std::string &path)
{
    const std::vector<BYTE> bytes = ReadBytes(path);
    Headers headers;
    const std::string problem = ReadHeaders(bytes, &headers);
    if (!problem.empty())
        return problem;
    const BITMAPINFOHEADER &info = headers.info;
    if (info.biHeight < 0)
        return "top-down rows";
    const DWORD headerBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const size_t row = static_cast<size_t>(info.biWidth) * 3;
    const size_t stride = (row + 3) & ~static_cast<size_t>(3);
    if (headers.file.bfOffBits != headerBytes)
        return "pixels at offset " + std::to_string(headers.file.bfOffBits);
    if (headers.file.bfSize != bytes.size())
        return "bfSize " + std::to_string(headers.file.bfSize) + " for a file of " + std::to_string(bytes.size());
    if (info.biSizeImage != stride * info.biHeight || bytes.size() != headerBytes + stride * info.biHeight)
        return "biSizeImage " + std::to_string(info.biSizeImage) + ", file " + std::to_string(bytes.size()) +
               " bytes, for rows of " + std::to_string(stride) + " bytes";
    for (LONG y = 0; y < info.biHeight; ++y)
        for (size_t x = row; x < stride; ++x)
            if (bytes[headerBytes + y * stride + x] != 0)
                return "padding byte not zero in stored row " + std::to_string(y);
    return std::string();
}

double Psnr(const Pixels &a, const Pixels &b)
{
    if (a.width != b.width || a.height != b.height || a.bgr.size() != b.bgr.size())
        return -1;
    double squares = 0;
    for (size_t i = 0; i < a.bgr.size(); ++i)
    {
        const double difference = static_cast<double>(a.bgr[i]) - b.bgr[i];
        squares += difference * difference;
    }
    if (squares == 0)
        return 1000;
    return 10 * log10(255.0 * 255.0 * a.bgr.size() / squares);
}
