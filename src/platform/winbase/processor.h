#pragma once
// The processor identification and time-stamp instructions, with the fake processor of a test
// when one is set (system_test.h).

#include "platform/winbase/win_types.h"

struct CpuidRegisters {
    DWORD eax;
    DWORD ebx;
    DWORD ecx;
    DWORD edx;
};

// True when bit 21 of the flags register can be toggled, that is when the processor has the
// identification instruction.
bool ProcessorIdentificationAvailable();
// The identification instruction for `leaf` (sub-leaf 0); zeros without it.
CpuidRegisters ProcessorIdentify(DWORD leaf);
// The time-stamp counter, read after a serialising identification instruction; 0 without the
// identification instruction.
ULONGLONG ReadTimeStampCounter();
