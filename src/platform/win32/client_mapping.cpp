#include "platform/win32/client_mapping.h"

#include <algorithm>
#include <cmath>

namespace win32_internal {
namespace {

LONG ToLong(double value) {
    constexpr double kLimit = 1.0e9;
    return static_cast<LONG>(std::floor(std::clamp(value, -kLimit, kLimit)));
}

}  // namespace

PictureFit FitPicture(SIZE picture, SIZE output) {
    if (picture.cx <= 0 || picture.cy <= 0 || output.cx <= 0 || output.cy <= 0) {
        return PictureFit{1.0, RECT{0, 0, picture.cx, picture.cy}};
    }
    const double scale = std::min(static_cast<double>(output.cx) / picture.cx,
                                  static_cast<double>(output.cy) / picture.cy);
    const auto width = static_cast<LONG>(picture.cx * scale + 0.5);
    const auto height = static_cast<LONG>(picture.cy * scale + 0.5);
    const LONG left = (output.cx - width) / 2;
    const LONG top = (output.cy - height) / 2;
    return PictureFit{scale, RECT{left, top, left + width, top + height}};
}

POINT OutputToClient(SIZE client, SIZE output, POINT output_point, bool clamp) {
    const PictureFit fit = FitPicture(client, output);
    POINT result{ToLong((output_point.x - fit.area.left) / fit.scale),
                 ToLong((output_point.y - fit.area.top) / fit.scale)};
    if (clamp && client.cx > 0 && client.cy > 0) {
        result.x = std::clamp<LONG>(result.x, 0, client.cx - 1);
        result.y = std::clamp<LONG>(result.y, 0, client.cy - 1);
    }
    return result;
}

POINT ClientToOutput(SIZE client, SIZE output, POINT client_point) {
    const PictureFit fit = FitPicture(client, output);
    return POINT{ToLong(fit.area.left + (client_point.x + 0.5) * fit.scale),
                 ToLong(fit.area.top + (client_point.y + 0.5) * fit.scale)};
}

}  // namespace win32_internal
