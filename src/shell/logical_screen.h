#pragma once
// The logical screen the game is laid out on: 800 x 600 pixels, scaled by the smaller of the
// two ratios to the back buffer so that it fits whole.

#include <algorithm>

constexpr int kLogicalScreenWidth = 800;
constexpr int kLogicalScreenHeight = 600;

// min(width / 800, height / 600) for a back buffer of width x height pixels, as products with
// the reciprocals.
inline double LogicalScreenScale(unsigned width, unsigned height) {
    constexpr double kPerWidth = 1.0 / kLogicalScreenWidth;
    constexpr double kPerHeight = 1.0 / kLogicalScreenHeight;
    return std::min(static_cast<double>(width) * kPerWidth,
                    static_cast<double>(height) * kPerHeight);
}
