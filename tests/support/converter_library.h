// Loading one of the test converters into this process.
#pragma once

#include <windows.h>

#include "image_converter.h"

// The converter export of the test converter of that kind, loaded by full
// path and never unloaded; NULL when it cannot be loaded.
ImageConverter LoadTestConverter(const char *kind);
