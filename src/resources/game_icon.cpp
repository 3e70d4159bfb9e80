// Icon 197, the program's icon: a ring in the game's deep blue around a light lamp, drawn into
// 32 x 32 pixels once, when it is registered.

#include <array>
#include <cmath>
#include <cstdint>

#include "platform/win32/icon_api.h"
#include "resources/game_resources.h"

namespace {

std::array<std::uint32_t, kIconSize * kIconSize> iconPixels{};

std::uint32_t Pixel(double x, double y) {
    const double dx = x - 15.5;
    const double dy = y - 15.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > 15.0) {
        return 0;
    }
    if (r > 11.5) {
        return 0xFF1C3F7Au;  // the ring
    }
    if (r < 6.0) {
        return 0xFFF4E7B0u;  // the lamp
    }
    return 0xFF5A86C8u;
}

}  // namespace

void RegisterGameIcon() {
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            iconPixels[static_cast<std::size_t>(y * kIconSize + x)] = Pixel(x, y);
        }
    }
    Win32RegisterIconResource(kGameIconResource, iconPixels.data());
}
