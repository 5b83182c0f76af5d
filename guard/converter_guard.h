// Calling a converter so that nothing it raises ends the process. Both the
// wallpaper run (around the shipped converter) and the converter itself
// (around the system's decoder) use it.
#pragma once

#include <windows.h>

// The converter's signatures: source and destination paths in, 0 on success;
// in the code page's narrow text, or wide.
typedef int(WINAPI *GuardedConverter)(const char *source, const char *destination);
typedef int(WINAPI *GuardedWideConverter)(const wchar_t *source, const wchar_t *destination);
// The wide one scaled down for a box: its width, height and fit.
typedef int(WINAPI *GuardedScaledConverter)(const wchar_t *source, const wchar_t *destination, UINT boxWidth,
                                            UINT boxHeight, int fit);

// Any other call, with what it needs in context.
typedef int (*GuardedCall)(void *context);
bool CallConverterGuarded(GuardedCall call, void *context, int *result);

// Calls convert(source, destination). True when it returned, with its result
// in *result; false when an exception or a processor fault (access violation,
// division by zero, RaiseException and the like) ended it. Either way the
// thread's handler chain and stack are as they were before the call.
bool CallConverterGuarded(GuardedConverter convert, const char *source, const char *destination, int *result);
bool CallConverterGuarded(GuardedWideConverter convert, const wchar_t *source, const wchar_t *destination,
                          int *result);
bool CallConverterGuarded(GuardedScaledConverter convert, const wchar_t *source, const wchar_t *destination,
                          UINT boxWidth, UINT boxHeight, int fit, int *result);
