#include "platform/dinput/pad_axis.h"

#include <cmath>

#include "platform/dinput/input_state.h"

LONG ScaleAxis(std::int16_t raw, const AxisSettings& settings) {
    // Position in -1..1, with the dead zone cut out and the rest stretched to the full span.
    double position = (static_cast<double>(raw) + 32768.0) / 65535.0 * 2.0 - 1.0;
    if (settings.deadZone > 0) {
        double deadZone = static_cast<double>(settings.deadZone) / 10000.0;
        double magnitude = std::fabs(position);
        if (magnitude <= deadZone || deadZone >= 1.0) {
            position = 0.0;
        } else {
            position = std::copysign((magnitude - deadZone) / (1.0 - deadZone), position);
        }
    }
    double span = static_cast<double>(settings.max) - static_cast<double>(settings.min);
    double value = static_cast<double>(settings.min) + std::round((position + 1.0) / 2.0 * span);
    return static_cast<LONG>(value);
}

DWORD HatToPov(BYTE bits) {
    switch (bits) {
        case kHatUp:
            return 0;
        case kHatUp | kHatRight:
            return 4500;
        case kHatRight:
            return 9000;
        case kHatDown | kHatRight:
            return 13500;
        case kHatDown:
            return 18000;
        case kHatDown | kHatLeft:
            return 22500;
        case kHatLeft:
            return 27000;
        case kHatUp | kHatLeft:
            return 31500;
        default:
            return DI_POV_CENTERED;
    }
}
