// Loading one of the test converters into this process.
#pragma once

#include <windows.h>

#include "image_converter.h"

// The conversions the test converter of that kind exports, loaded by full
// path and never unloaded; both NULL when it cannot be loaded.
ImageConverter LoadTestConverter(const char *kind);
