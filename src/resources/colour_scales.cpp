// Bitmaps 117, 118 and 119: the colour scales under the message page's colour sliders (hue;
// saturation from white to red; value, and alpha, from black to white), each a row of cells
// drawn once, when it is registered.

#include <array>
#include <cstdint>

#include "platform/win32/bitmap_api.h"
#include "resources/game_resources.h"
#include "shell/hsv_colour.h"

namespace {

constexpr int kHueCells = 120;  // 3 degrees a cell
constexpr int kRampCells = 64;

std::array<std::uint32_t, kHueCells> hueScale{};
std::array<std::uint32_t, kRampCells> saturationScale{};
std::array<std::uint32_t, kRampCells> valueScale{};

}  // namespace

void RegisterColourScales() {
    for (int x = 0; x < kHueCells; ++x) {
        hueScale[static_cast<std::size_t>(x)] = HsvToArgb(x * 360 / kHueCells, 255, 255, 255);
    }
    for (int x = 0; x < kRampCells; ++x) {
        const int level = x * 255 / (kRampCells - 1);
        saturationScale[static_cast<std::size_t>(x)] = HsvToArgb(0, level, 255, 255);
        valueScale[static_cast<std::size_t>(x)] = HsvToArgb(0, 0, level, 255);
    }
    Win32RegisterBitmapResource(kHueScaleBitmap, Win32Bitmap{kHueCells, 1, hueScale.data()});
    Win32RegisterBitmapResource(kSaturationScaleBitmap,
                                Win32Bitmap{kRampCells, 1, saturationScale.data()});
    Win32RegisterBitmapResource(kValueScaleBitmap, Win32Bitmap{kRampCells, 1, valueScale.data()});
}
