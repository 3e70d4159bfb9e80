#include "platform/win32/client_mapping.h"

#include <algorithm>
#include <cmath>

namespace win32_internal {
namespace {

struct Fit {
    double scale;
    double left;
    double top;
};

// The placement of the picture: the same rounding as the presenter.
Fit FitOf(SIZE client, SIZE output) {
    if (client.cx <= 0 || client.cy <= 0 || output.cx <= 0 || output.cy <= 0) {
        return Fit{1.0, 0.0, 0.0};
    }
    double scale = std::min(static_cast<double>(output.cx) / client.cx,
                            static_cast<double>(output.cy) / client.cy);
    int width = static_cast<int>(client.cx * scale + 0.5);
    int height = static_cast<int>(client.cy * scale + 0.5);
    return Fit{scale, static_cast<double>((output.cx - width) / 2),
               static_cast<double>((output.cy - height) / 2)};
}

LONG ToLong(double value) {
    constexpr double kLimit = 1.0e9;
    return static_cast<LONG>(std::floor(std::clamp(value, -kLimit, kLimit)));
}

}  // namespace

POINT OutputToClient(SIZE client, SIZE output, POINT output_point, bool clamp) {
    Fit fit = FitOf(client, output);
    POINT result{ToLong((output_point.x - fit.left) / fit.scale),
                 ToLong((output_point.y - fit.top) / fit.scale)};
    if (clamp && client.cx > 0 && client.cy > 0) {
        result.x = std::clamp<LONG>(result.x, 0, client.cx - 1);
        result.y = std::clamp<LONG>(result.y, 0, client.cy - 1);
    }
    return result;
}

POINT ClientToOutput(SIZE client, SIZE output, POINT client_point) {
    Fit fit = FitOf(client, output);
    return POINT{ToLong(fit.left + (client_point.x + 0.5) * fit.scale),
                 ToLong(fit.top + (client_point.y + 0.5) * fit.scale)};
}

}  // namespace win32_internal
