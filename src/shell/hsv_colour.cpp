#include "shell/hsv_colour.h"

#include <algorithm>

namespace {

constexpr int kDegrees = 360;
constexpr int kSector = 60;
constexpr int kFull = 255;

int Channel(int value) {
    return std::clamp(value, 0, kFull);
}

DWORD Pack(int a, int r, int g, int b) {
    return (static_cast<DWORD>(a) << 24) | (static_cast<DWORD>(r) << 16) |
           (static_cast<DWORD>(g) << 8) | static_cast<DWORD>(b);
}

}  // namespace

DWORD HsvToArgb(int hue, int saturation, int value, int alpha) {
    const int h = ((hue % kDegrees) + kDegrees) % kDegrees;
    const int s = Channel(saturation);
    const int v = Channel(value);
    const int a = Channel(alpha);
    if (s == 0) {
        return Pack(a, v, v, v);
    }
    const int f = h % kSector;
    const int p = (kFull - s) * v / kFull;
    const int q = (kFull - f * s / kSector) * v / kFull;
    const int t = (kFull - (kSector - f) * s / kSector) * v / kFull;
    switch (h / kSector) {
        case 0:
            return Pack(a, v, t, p);
        case 1:
            return Pack(a, q, v, p);
        case 2:
            return Pack(a, p, v, t);
        case 3:
            return Pack(a, p, q, v);
        case 4:
            return Pack(a, t, p, v);
        default:
            return Pack(a, v, p, q);
    }
}

HsvColour ArgbToHsv(DWORD colour) {
    const int a = static_cast<int>((colour >> 24) & 0xFF);
    const int r = static_cast<int>((colour >> 16) & 0xFF);
    const int g = static_cast<int>((colour >> 8) & 0xFF);
    const int b = static_cast<int>(colour & 0xFF);
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    HsvColour hsv{0, max == 0 ? 0 : (max - min) * kFull / max, max, a};
    if (hsv.saturation == 0) {
        return hsv;
    }
    const int d = max - min;
    const int rd = (max - r) * kSector / d;
    const int gd = (max - g) * kSector / d;
    const int bd = (max - b) * kSector / d;
    int h = 0;
    if (r == max) {
        h = g == min ? 300 + bd : 60 - gd;
    } else if (g == max) {
        h = b == min ? 60 + rd : 180 - bd;
    } else {
        h = r == min ? 180 + gd : 300 - rd;
    }
    hsv.hue = h % kDegrees;
    return hsv;
}
