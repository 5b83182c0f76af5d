// Calling the converter so that nothing it raises ends the process.
#pragma once

#include "image_converter.h"

// Calls convert(source, destination). True when it returned, with its result
// in *result; false when an exception or a processor fault (access violation,
// division by zero, RaiseException and the like) ended it. Either way the
// thread's handler chain and stack are as they were before the call.
bool CallConverterGuarded(ImageConverter convert, const char *source, const char *destination, int *result);
