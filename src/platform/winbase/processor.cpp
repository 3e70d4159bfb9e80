#include "platform/winbase/processor.h"

#include "platform/winbase/machine_facts.h"
#include "platform/winbase/test_hooks.h"
#include "platform/winbase/time_api.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define QVN_HAS_CPUID 1
#else
#define QVN_HAS_CPUID 0
#endif

namespace {

#if QVN_HAS_CPUID
constexpr unsigned kFlagsIdBit = 1u << 21;

bool FlagsIdBitToggles() {
    const auto before = __readeflags();
    __writeeflags(before ^ kFlagsIdBit);
    const auto after = __readeflags();
    __writeeflags(before);
    return ((before ^ after) & kFlagsIdBit) != 0;
}

// Leaf 0 of the identification instruction, kept by the compiler: every earlier instruction
// completes before the next one starts.
void Serialise() {
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    __asm__ __volatile__("cpuid" : "+a"(a), "=b"(b), "+c"(c), "=d"(d) : : "memory");
}
#endif

// The fake counter follows the performance counter at the fake rate.
ULONGLONG FakeTimeStamp(const win32_test::FakeMachine& fake) {
    if (fake.microsecondsPerTimeStampRead != 0) {
        win32_test::AdvanceClockMicroseconds(fake.microsecondsPerTimeStampRead);
    }
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    if (frequency.QuadPart <= 0 || counter.QuadPart < 0) {
        return 0;
    }
    const auto ticks = static_cast<unsigned __int128>(counter.QuadPart) * fake.timeStampHz /
                       static_cast<ULONGLONG>(frequency.QuadPart);
    return static_cast<ULONGLONG>(ticks);
}

}  // namespace

bool ProcessorIdentificationAvailable() {
    if (const auto fake = winbase_internal::FakeMachine()) {
        return fake->cpuidAvailable;
    }
#if QVN_HAS_CPUID
    static const bool available = FlagsIdBitToggles();
    return available;
#else
    return false;
#endif
}

CpuidRegisters ProcessorIdentify(DWORD leaf) {
    CpuidRegisters regs{};
    if (const auto fake = winbase_internal::FakeMachine()) {
        if (fake->cpuidAvailable) {
            for (const win32_test::FakeCpuidLeaf& answer : fake->cpuid) {
                if (answer.leaf == leaf) {
                    regs = CpuidRegisters{answer.eax, answer.ebx, answer.ecx, answer.edx};
                    break;
                }
            }
        }
        return regs;
    }
#if QVN_HAS_CPUID
    if (ProcessorIdentificationAvailable()) {
        __cpuid_count(leaf, 0, regs.eax, regs.ebx, regs.ecx, regs.edx);
    }
#else
    (void)leaf;
#endif
    return regs;
}

ULONGLONG ReadTimeStampCounter() {
    if (const auto fake = winbase_internal::FakeMachine()) {
        return fake->cpuidAvailable ? FakeTimeStamp(*fake) : 0;
    }
#if QVN_HAS_CPUID
    if (!ProcessorIdentificationAvailable()) {
        return 0;
    }
    Serialise();
    return __rdtsc();
#else
    return 0;
#endif
}
