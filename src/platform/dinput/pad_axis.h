#pragma once
// Internal to dinput: how a pad's raw readings become DirectInput values.

#include <cstdint>

#include "platform/winbase/win_types.h"

struct AxisSettings {
    LONG min = 0;
    LONG max = 65535;
    DWORD deadZone = 0;  // hundredths of a percent (0..10000) of the half-range around the centre
};

// A raw axis value (-32768..32767) in the axis's range: -32768 gives min, 32767 gives max, and
// a value inside the dead zone the middle of the range.
LONG ScaleAxis(std::int16_t raw, const AxisSettings& settings);

// Hat bits (kHatUp | kHatRight | kHatDown | kHatLeft) in hundredths of a degree clockwise from
// north; DI_POV_CENTERED for none or an impossible combination.
DWORD HatToPov(BYTE bits);
