// The stack protector's guard and handlers of our own (src/platform/stack_guard_win.cpp), as
// every program of ours links them: the guard is seeded before the program runs, and a stack
// overrun or a checked function's overflow ends the process at once with the system's code
// for an overrun stack buffer, not with a crash or a code that reads as a choice.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

extern "C" std::uintptr_t __stack_chk_guard;

namespace {

volatile std::size_t gLength = 32;

// Writes past a local buffer, so that the guard behind it no longer matches on return.
__attribute__((noinline)) void OverrunStack() {
    char buffer[8];
    volatile char* bytes = buffer;
    for (std::size_t i = 0; i < gLength; ++i) {
        bytes[i] = 'x';
    }
}

// A checked copy (_FORTIFY_SOURCE) into a buffer too small for the text.
__attribute__((noinline)) void OverflowCheckedCopy() {
    char text[64];
    std::memset(text, 'x', gLength);
    text[gLength] = '\0';
    char buffer[8];
    std::strcpy(buffer, text);
    EXPECT_NE(buffer[0], '\0');
}

TEST(StackGuard, IsSeededWithAZeroLowByte) {
    EXPECT_NE(__stack_chk_guard >> 8, 0U);
    EXPECT_EQ(__stack_chk_guard & 0xFF, 0U);
}

TEST(StackGuard, FailuresEndTheProcessAsAStackOverrun) {
    const struct {
        const char* name;
        void (*fail)();
    } cases[] = {{"stack overrun", OverrunStack}, {"checked copy", OverflowCheckedCopy}};
    for (const auto& failure : cases) {
        EXPECT_EXIT(failure.fail(),
                    ::testing::ExitedWithCode(static_cast<int>(STATUS_STACK_BUFFER_OVERRUN)), "")
            << failure.name;
    }
}

} // namespace
