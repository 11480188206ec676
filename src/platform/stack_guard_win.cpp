// The stack protector's guard and its failure handlers, in place of the compiler runtime's. That
// runtime seeds the guard through advapi32's CryptGenRandom, which loads and sets up a crypto
// provider at every start, up to a tenth of a short start under Wine. This guard is seeded the
// way the system's own compilers seed their stack cookies, from kernel32 alone (the time, the
// process and thread ids, the tick count, the performance counter), with the processor's
// random numbers and the randomised addresses of the stack and the image mixed in.
//
// The linker takes this object from the library wherever a protected function refers to the
// guard, and then never takes the runtime's, so the seed runs before any protected code: it is
// the first constructor, and the runtime starts nothing protected before the constructors.
// MSVC's runtime seeds its own /GS cookie.
#if defined(__GNUC__)

#include <windows.h>

#include <cpuid.h>
#include <immintrin.h>
#include <x86intrin.h>

#include <cstdint>

namespace {

// The codes a failure is reported with, as the system reports its own stack cookies' failures.
constexpr unsigned kStackCookieCheckFailure = 2; // FAST_FAIL_STACK_COOKIE_CHECK_FAILURE
constexpr unsigned kRangeCheckFailure = 8;       // FAST_FAIL_RANGE_CHECK_FAILURE
constexpr DWORD kFastFailAvailable = 23;         // PF_FASTFAIL_AVAILABLE

// Ends the process at once, running nothing of the process's own (no handler, no destructor):
// its stack can no longer be trusted. The exit code is STATUS_STACK_BUFFER_OVERRUN. The code and
// the instruction are one piece of assembly, mov ecx then int 0x29, which the exe check finds.
template <unsigned kCode> [[noreturn]] void FailFast() {
    if (::IsProcessorFeaturePresent(kFastFailAvailable)) {
        __asm__ __volatile__("movl %0, %%ecx\n\tint $0x29" : : "i"(kCode) : "ecx", "memory");
    }
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_trap();
}

// splitmix64's finaliser: every bit of the value reaches every bit of the result.
constexpr std::uint64_t Mix(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

__attribute__((target("rdrnd"))) bool ProcessorRandom(unsigned long long& value) {
    unsigned int eax = 0;
    unsigned int ebx = 0;
    unsigned int ecx = 0;
    unsigned int edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (ecx & bit_RDRND) == 0) {
        return false;
    }
    // The generator may run dry for a moment; a few tries are what its maker advises.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (_rdrand64_step(&value)) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" {

// Read by every protected function on entry and on return; the names are the compiler's.
std::uintptr_t __stack_chk_guard;

[[noreturn]] void __stack_chk_fail() { FailFast<kStackCookieCheckFailure>(); }

// A checked string function (_FORTIFY_SOURCE) found a write beyond its buffer.
[[noreturn]] void __chk_fail() { FailFast<kRangeCheckFailure>(); }

// The guard changes here, so this function must not be protected by it.
__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard() {
    FILETIME time{};
    ::GetSystemTimeAsFileTime(&time);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::uint64_t seed = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    seed = Mix(seed ^ (std::uint64_t{::GetCurrentProcessId()} << 32) ^ ::GetCurrentThreadId());
    seed = Mix(seed ^ ::GetTickCount64());
    seed = Mix(seed ^ static_cast<std::uint64_t>(counter.QuadPart));
    seed = Mix(seed ^ __rdtsc());
    seed = Mix(seed ^ reinterpret_cast<std::uintptr_t>(&seed));
    seed = Mix(seed ^ reinterpret_cast<std::uintptr_t>(&SeedStackGuard));
    unsigned long long random = 0;
    if (ProcessorRandom(random)) {
        seed = Mix(seed ^ random);
    }
    // A zero low byte stops a string copied or printed across the guard, as on other systems.
    __stack_chk_guard = static_cast<std::uintptr_t>(seed & ~std::uint64_t{0xFF});
}

} // extern "C"

#endif
