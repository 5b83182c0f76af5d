#include "converter_library.h"

#include "test_support.h"

ImageConverter LoadTestConverter(const char *kind)
{
    ImageConverter convert = {NULL, NULL};
    const HMODULE library = LoadLibraryExW(Wide(TestConverter(kind)).c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == NULL)
        return convert;
    convert.wide = reinterpret_cast<WideImageConverter>(
        reinterpret_cast<void *>(GetProcAddress(library, ImageConverterWideExport)));
    convert.narrow = reinterpret_cast<NarrowImageConverter>(
        reinterpret_cast<void *>(GetProcAddress(library, ImageConverterExport)));
    return convert;
}
