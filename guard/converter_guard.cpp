// GCC has no __try on x86, so the guard is built by hand on the thread's
// exception-registration chain, as compilers without __try have always done
// it: a frame is linked at fs:0 for the length of the call, and its handler
// unwinds the frames the converter linked above it, then jumps back to the
// point saved before the call. The handler only works if the image that holds
// it is not marked NO_SEH, and declares no table of safe handlers that leaves
// it out: Windows refuses every other handler of such images.
#include "converter_guard.h"

namespace
{
struct GuardFrame
{
    EXCEPTION_REGISTRATION_RECORD registration; // first: fs:0 points at it
    void *resume[5];                            // __builtin_setjmp's buffer
};

EXCEPTION_REGISTRATION_RECORD *HandlerChain()
{
    EXCEPTION_REGISTRATION_RECORD *head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetHandlerChain(EXCEPTION_REGISTRATION_RECORD *head)
{
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// Runs the unwind handlers of every frame above target and unlinks them, so
// the chain's head is target again. RtlUnwind does not keep ebx, esi, edi or
// ebp on every Windows version, so it is called with all of them saved or
// declared lost.
void UnwindFramesAbove(EXCEPTION_REGISTRATION_RECORD *target, EXCEPTION_RECORD *record)
{
    int unusedEax, unusedEsi, unusedEdi, unusedEcx;
    __asm__ __volatile__("pushl %%ebp\n\t"
                         "pushl %%ebx\n\t"
                         "pushl $0\n\t" // ReturnValue
                         "pushl %3\n\t" // ExceptionRecord
                         "pushl $0\n\t" // TargetIp: return here
                         "pushl %1\n\t" // TargetFrame
                         "call *%0\n\t"
                         "popl %%ebx\n\t"
                         "popl %%ebp"
                         : "=a"(unusedEax), "=S"(unusedEsi), "=D"(unusedEdi), "=c"(unusedEcx)
                         : "0"(RtlUnwind), "1"(target), "3"(record)
                         : "edx", "memory");
}

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD *record, void *establisherFrame, CONTEXT *, void *)
{
    // Called again while an outer handler unwinds: nothing of ours to undo.
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    GuardFrame *guard = static_cast<GuardFrame *>(establisherFrame);
    UnwindFramesAbove(&guard->registration, record);
    __builtin_longjmp(guard->resume, 1);
}

bool CallGuarded(GuardedCall call, void *context, int *result)
{
    GuardFrame guard;
    guard.registration.Next = HandlerChain();
    guard.registration.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(GuardHandler);
    if (__builtin_setjmp(guard.resume) != 0)
    {
        // Back from the handler: the stack is this function's again and our
        // frame is the chain's head.
        SetHandlerChain(guard.registration.Next);
        return false;
    }
    SetHandlerChain(&guard.registration);
    *result = call(context);
    SetHandlerChain(guard.registration.Next);
    return true;
}

template <typename Text>
struct Conversion
{
    int(WINAPI *convert)(const Text *, const Text *);
    const Text *source;
    const Text *destination;
};

template <typename Text>
int CallConversion(void *context)
{
    const Conversion<Text> *conversion = static_cast<const Conversion<Text> *>(context);
    return conversion->convert(conversion->source, conversion->destination);
}

struct ScaledConversion
{
    GuardedScaledConverter convert;
    const wchar_t *source;
    const wchar_t *destination;
    UINT boxWidth, boxHeight;
    int fit;
};

int CallScaledConversion(void *context)
{
    const ScaledConversion *conversion = static_cast<const ScaledConversion *>(context);
    return conversion->convert(conversion->source, conversion->destination, conversion->boxWidth,
                               conversion->boxHeight, conversion->fit);
}
}

bool CallConverterGuarded(GuardedCall call, void *context, int *result)
{
    return CallGuarded(call, context, result);
}

bool CallConverterGuarded(GuardedConverter convert, const char *source, const char *destination, int *result)
{
    Conversion<char> conversion = {convert, source, destination};
    return CallGuarded(&CallConversion<char>, &conversion, result);
}

bool CallConverterGuarded(GuardedWideConverter convert, const wchar_t *source, const wchar_t *destination,
                          int *result)
{
    Conversion<wchar_t> conversion = {convert, source, destination};
    return CallGuarded(&CallConversion<wchar_t>, &conversion, result);
}

bool CallConverterGuarded(GuardedScaledConverter convert, const wchar_t *source, const wchar_t *destination,
                          UINT boxWidth, UINT boxHeight, int fit, int *result)
{
    ScaledConversion conversion = {convert, source, destination, boxWidth, boxHeight, fit};
    return CallGuarded(&CallScaledConversion, &conversion, result);
}
