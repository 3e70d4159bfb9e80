// The system's icons of message boxes, drawn into 32 x 32 pixels on first use: a disc in the
// icon's colour with its sign (a cross, a question mark, an exclamation mark, a letter i).

#include "platform/win32/system_icons.h"

#include <array>
#include <cmath>
#include <mutex>

namespace win32_internal {
namespace {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphScale = 3;

struct SystemIcon {
    WORD id;
    std::uint32_t disc;
    std::uint32_t sign;
    const char* rows[kGlyphHeight];
};

constexpr SystemIcon kIcons[] = {
    {kIconHand,
     0xFFD03020u,
     0xFFFFFFFFu,
     {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {kIconQuestion,
     0xFF2A62C8u,
     0xFFFFFFFFu,
     {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {kIconExclamation,
     0xFFF0C020u,
     0xFF000000u,
     {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {kIconAsterisk,
     0xFF2A62C8u,
     0xFFFFFFFFu,
     {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
};

using Pixels = std::array<std::uint32_t, 32 * 32>;

void Draw(const SystemIcon& icon, Pixels* pixels) {
    constexpr int kLeft = (32 - kGlyphWidth * kGlyphScale) / 2;
    constexpr int kTop = (32 - kGlyphHeight * kGlyphScale) / 2;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const double dx = x - 15.5;
            const double dy = y - 15.5;
            std::uint32_t colour = std::sqrt(dx * dx + dy * dy) <= 15.0 ? icon.disc : 0u;
            const int gx = (x - kLeft) / kGlyphScale;
            const int gy = (y - kTop) / kGlyphScale;
            if (x >= kLeft && y >= kTop && gx < kGlyphWidth && gy < kGlyphHeight &&
                icon.rows[gy][gx] == '#') {
                colour = icon.sign;
            }
            (*pixels)[static_cast<std::size_t>(y * 32 + x)] = colour;
        }
    }
}

}  // namespace

const std::uint32_t* SystemIconPixels(WORD id) {
    static std::once_flag once;
    static std::array<Pixels, std::size(kIcons)>* drawn = nullptr;
    std::call_once(once, [] {
        drawn = new std::array<Pixels, std::size(kIcons)>;
        for (std::size_t i = 0; i < std::size(kIcons); ++i) {
            Draw(kIcons[i], &(*drawn)[i]);
        }
    });
    for (std::size_t i = 0; i < std::size(kIcons); ++i) {
        if (kIcons[i].id == id) {
            return (*drawn)[i].data();
        }
    }
    return nullptr;
}

}  // namespace win32_internal
