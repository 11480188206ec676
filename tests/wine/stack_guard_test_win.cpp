// The stack protector's own guard and handlers (src/platform/stack_guard_win.cpp): seeded before
// the program runs, and an overrun ends the process at once as a stack buffer overrun.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>

extern "C" UINT_PTR __stack_chk_guard;
// Called by the checked string functions (_FORTIFY_SOURCE) on a write beyond a buffer.
extern "C" void __chk_fail();

namespace {

volatile std::size_t gLength = 32;

__attribute__((noinline)) void OverrunStack() {
    char buffer[8];
    for (volatile char* byte = buffer; byte < buffer + gLength; ++byte) {
        *byte = 'x';
    }
}

TEST(StackGuard, IsSeededAndAnOverrunEndsTheProcess) {
    EXPECT_TRUE(__stack_chk_guard > 0xFF && (__stack_chk_guard & 0xFF) == 0) << __stack_chk_guard;
    for (void (*overrun)() : {OverrunStack, __chk_fail}) {
        EXPECT_EXIT(overrun(),
                    testing::ExitedWithCode(static_cast<int>(STATUS_STACK_BUFFER_OVERRUN)), "");
    }
}

} // namespace
