#include "converter_library.h"

#include "test_support.h"

ImageConverter LoadTestConverter(const char *kind)
{
    const HMODULE library = LoadLibraryExW(Wide(TestConverter(kind)).c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == NULL)
        return ImageConverter{NULL, NULL, NULL, NULL};
    return ConverterExports(library);
}
