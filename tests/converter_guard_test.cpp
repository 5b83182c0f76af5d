// The guard around the converter call: every fault and exception ends the
// call, never the process, and leaves the thread as it was.
#include <gtest/gtest.h>

#include "converter_guard.h"
#include "converter_library.h"
#include "test_support.h"

// Calls a function with ebx, esi and edi set to marks and reports, as bits,
// which of them, and whether esp or ebp, differ when it returns: what a
// guard that jumps back must give the caller intact.
extern "C" int CallWithMarkedRegisters(void (*function)());
__asm__(".text\n"
        ".globl _CallWithMarkedRegisters\n"
        "_CallWithMarkedRegisters:\n"
        "  pushl %ebp\n"
        "  pushl %ebx\n"
        "  pushl %esi\n"
        "  pushl %edi\n"
        "  movl 20(%esp), %eax\n"
        "  movl %esp, _MarkedStack\n"
        "  movl %esp, %ebp\n"
        "  movl $0x0b0b0b0b, %ebx\n"
        "  movl $0x05050505, %esi\n"
        "  movl $0x0d0d0d0d, %edi\n"
        "  call *%eax\n"
        "  xorl %eax, %eax\n"
        "  cmpl $0x0b0b0b0b, %ebx\n"
        "  je 1f\n"
        "  orl $1, %eax\n"
        "1:cmpl $0x05050505, %esi\n"
        "  je 2f\n"
        "  orl $2, %eax\n"
        "2:cmpl $0x0d0d0d0d, %edi\n"
        "  je 3f\n"
        "  orl $4, %eax\n"
        "3:cmpl _MarkedStack, %esp\n"
        "  je 4f\n"
        "  orl $8, %eax\n"
        "4:cmpl _MarkedStack, %ebp\n"
        "  je 5f\n"
        "  orl $16, %eax\n"
        "5:movl _MarkedStack, %esp\n"
        "  popl %edi\n"
        "  popl %esi\n"
        "  popl %ebx\n"
        "  popl %ebp\n"
        "  ret\n");
extern "C" {
void *MarkedStack;
}

namespace
{
EXCEPTION_REGISTRATION_RECORD *HandlerChain()
{
    EXCEPTION_REGISTRATION_RECORD *head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
}

int WINAPI WritesThroughNull(const char *, const char *)
{
    *static_cast<volatile int *>(NULL) = 1;
    return 0;
}

int WINAPI ReturnsSeven(const char *, const char *)
{
    return 7;
}

// A converter with a handler frame of its own, as any code built with __try
// has: the guard must unwind it before jumping back.
int OwnFrameUnwinds = 0;

EXCEPTION_DISPOSITION __cdecl CountUnwinds(EXCEPTION_RECORD *record, void *, CONTEXT *, void *)
{
    if (record->ExceptionFlags & EXCEPTION_UNWINDING)
        ++OwnFrameUnwinds;
    return ExceptionContinueSearch;
}

int WINAPI FaultsInsideItsOwnFrame(const char *, const char *)
{
    EXCEPTION_REGISTRATION_RECORD frame;
    frame.Next = HandlerChain();
    frame.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(CountUnwinds);
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(&frame) : "memory");
    *static_cast<volatile int *>(NULL) = 1;
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(frame.Next) : "memory");
    return 0;
}

TEST(ConverterGuard, ReturnsTheConvertersResult)
{
    int result = -1;
    EXPECT_TRUE(CallConverterGuarded(ReturnsSeven, "a", "b", &result));
    EXPECT_EQ(result, 7);
}

TEST(ConverterGuard, TestConvertersFaultWithoutEndingTheProcess)
{
    // A source that exists: the test converters refuse any other. The build
    // keeps no absolute source paths, so this file's own name will not do.
    const std::string source = ShippedApplet();
    const char *faulting[] = {"null-pointer", "raises-exception", "divides-by-zero"};
    for (size_t i = 0; i < sizeof(faulting) / sizeof(faulting[0]); ++i)
    {
        const NarrowImageConverter convert = LoadTestConverter(faulting[i]).narrow;
        ASSERT_NE(convert, (NarrowImageConverter)NULL) << faulting[i] << " did not load";
        EXCEPTION_REGISTRATION_RECORD *const chainBefore = HandlerChain();
        int result = 12345;
        EXPECT_FALSE(CallConverterGuarded(convert, source.c_str(), "C:\\windows\\temp\\guard.bmp", &result))
            << faulting[i];
        EXPECT_EQ(result, 12345) << faulting[i] << ": no result after a fault";
        EXPECT_EQ(HandlerChain(), chainBefore) << faulting[i] << " left the handler chain changed";
        DeleteFileA("C:\\windows\\temp\\guard.bmp");
    }
    const NarrowImageConverter failing = LoadTestConverter("returns-failure").narrow;
    ASSERT_NE(failing, (NarrowImageConverter)NULL);
    int result = 0;
    EXPECT_TRUE(CallConverterGuarded(failing, source.c_str(), "C:\\windows\\temp\\guard.bmp", &result));
    EXPECT_EQ(result, 1);
    DeleteFileA("C:\\windows\\temp\\guard.bmp");
}

TEST(ConverterGuard, UnwindsTheConvertersOwnFrames)
{
    OwnFrameUnwinds = 0;
    EXCEPTION_REGISTRATION_RECORD *const chainBefore = HandlerChain();
    int result = 0;
    EXPECT_FALSE(CallConverterGuarded(FaultsInsideItsOwnFrame, "a", "b", &result));
    EXPECT_EQ(OwnFrameUnwinds, 1) << "the converter's frame must be unwound once";
    EXPECT_EQ(HandlerChain(), chainBefore);
}

TEST(ConverterGuard, NestedGuardsEachCatchTheirOwnFault)
{
    struct Nested
    {
        static int WINAPI Convert(const char *source, const char *destination)
        {
            int inner = 0;
            if (CallConverterGuarded(WritesThroughNull, source, destination, &inner))
                return 100;
            return 3; // the inner fault was caught here, not outside
        }
    };
    int result = 0;
    EXPECT_TRUE(CallConverterGuarded(Nested::Convert, "a", "b", &result));
    EXPECT_EQ(result, 3);
}

void GuardAFault()
{
    int result = 0;
    CallConverterGuarded(WritesThroughNull, "a", "b", &result);
}

TEST(ConverterGuard, KeepsTheCallersRegistersAndStack)
{
    EXPECT_EQ(CallWithMarkedRegisters(GuardAFault), 0)
        << "bits: 1 ebx, 2 esi, 4 edi, 8 esp, 16 ebp changed across a caught fault";
}
}
