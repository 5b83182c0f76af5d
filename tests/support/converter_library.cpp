#include "converter_library.h"

#include "test_support.h"

ImageConverter LoadTestConverter(const char *kind)
{
    const HMODULE library = LoadLibraryExA(TestConverter(kind).c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == NULL)
        return NULL;
    return reinterpret_cast<ImageConverter>(reinterpret_cast<void *>(GetProcAddress(library, ImageConverterExport)));
}
