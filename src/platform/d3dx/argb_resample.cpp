#include "platform/d3dx/argb_resample.h"

#include <algorithm>
#include <cstddef>

namespace d3dx {
namespace {

struct Tap {
    int first;
    int second;
    std::uint32_t weight;  // of `second`, in 1/256
};

// Maps destination sample centres onto the source: position (d + 0.5) * size / destSize - 0.5,
// in 1/256 pixel, clamped to the source's first and last samples.
std::vector<Tap> LinearTaps(int size, int destSize) {
    std::vector<Tap> taps(static_cast<std::size_t>(destSize));
    const long long last = static_cast<long long>(size - 1) * 256;
    for (int d = 0; d < destSize; ++d) {
        long long position = (static_cast<long long>(2 * d + 1) * size * 128) / destSize - 128;
        position = std::clamp(position, 0LL, last);
        const int first = static_cast<int>(position >> 8);
        taps[static_cast<std::size_t>(d)] = {first, std::min(first + 1, size - 1),
                                             static_cast<std::uint32_t>(position & 255)};
    }
    return taps;
}

std::vector<int> PointTaps(int size, int destSize) {
    std::vector<int> taps(static_cast<std::size_t>(destSize));
    for (int d = 0; d < destSize; ++d) {
        taps[static_cast<std::size_t>(d)] =
            static_cast<int>((static_cast<long long>(2 * d + 1) * size) / (2LL * destSize));
    }
    return taps;
}

// Two channels per 64-bit word, one in each 32-bit lane: blue and red, or green and alpha. The
// largest lane value, 255 * 256 * 256 + 32768, stays below 2^32, so lanes never carry.
std::uint64_t Lanes(std::uint32_t pixel, int shift) {
    return ((pixel >> shift) & 0xFFu) |
           (static_cast<std::uint64_t>((pixel >> (shift + 16)) & 0xFFu) << 32);
}

std::uint64_t BlendLanes(int shift, std::uint32_t c00, std::uint32_t c01, std::uint32_t c10,
                         std::uint32_t c11, std::uint64_t wx, std::uint64_t wy) {
    constexpr std::uint64_t kHalf = 32768u | (std::uint64_t{32768u} << 32);
    const std::uint64_t top = Lanes(c00, shift) * (256 - wx) + Lanes(c01, shift) * wx;
    const std::uint64_t bottom = Lanes(c10, shift) * (256 - wx) + Lanes(c11, shift) * wx;
    const std::uint64_t sum = (top * (256 - wy) + bottom * wy + kHalf) >> 16;
    return (sum & 0xFFu) | ((sum >> 32 & 0xFFu) << 16);
}

// Each channel: (top * (256 - wy) + bottom * wy + 32768) >> 16, with top and bottom the
// horizontal blends of its row, weights in 1/256.
std::uint32_t Bilinear(std::uint32_t c00, std::uint32_t c01, std::uint32_t c10, std::uint32_t c11,
                       std::uint32_t wx, std::uint32_t wy) {
    const std::uint64_t blueRed = BlendLanes(0, c00, c01, c10, c11, wx, wy);
    const std::uint64_t greenAlpha = BlendLanes(8, c00, c01, c10, c11, wx, wy);
    return static_cast<std::uint32_t>(blueRed | (greenAlpha << 8));
}

const std::uint32_t* Row(const ArgbView& view, int y) {
    return view.pixels + static_cast<std::ptrdiff_t>(y) * view.pitch;
}

}  // namespace

HRESULT FilterKindOf(DWORD filter, FilterKind* kind) {
    if (filter == D3DX_DEFAULT) {
        *kind = FilterKind::kLinear;
        return S_OK;
    }
    switch (filter & 0xFF) {
        case D3DX_FILTER_NONE:
            *kind = FilterKind::kNone;
            return S_OK;
        case D3DX_FILTER_POINT:
            *kind = FilterKind::kPoint;
            return S_OK;
        case D3DX_FILTER_LINEAR:
        case D3DX_FILTER_TRIANGLE:
        case D3DX_FILTER_BOX:
            *kind = FilterKind::kLinear;
            return S_OK;
        default:
            return D3DERR_INVALIDCALL;
    }
}

void ResampleArgb(const ArgbView& source, int destWidth, int destHeight, FilterKind kind,
                  D3DCOLOR colorKey, std::vector<std::uint32_t>* dest) {
    dest->assign(static_cast<std::size_t>(destWidth) * static_cast<std::size_t>(destHeight), 0u);
    if (destWidth <= 0 || destHeight <= 0 || source.width <= 0 || source.height <= 0) {
        return;
    }
    std::vector<std::uint32_t> keyed;
    ArgbView from = source;
    if (colorKey != 0) {
        keyed.resize(static_cast<std::size_t>(source.width) * source.height);
        for (int y = 0; y < source.height; ++y) {
            const std::uint32_t* row = Row(source, y);
            std::uint32_t* out = keyed.data() + static_cast<std::ptrdiff_t>(y) * source.width;
            std::transform(row, row + source.width, out,
                           [colorKey](std::uint32_t p) { return p == colorKey ? 0u : p; });
        }
        from = {keyed.data(), source.width, source.height, source.width};
    }
    auto out = [&](int y) { return dest->data() + static_cast<std::ptrdiff_t>(y) * destWidth; };

    if (kind == FilterKind::kNone || (destWidth == from.width && destHeight == from.height)) {
        const int width = std::min(destWidth, from.width);
        const int height = std::min(destHeight, from.height);
        for (int y = 0; y < height; ++y) {
            std::copy(Row(from, y), Row(from, y) + width, out(y));
        }
        return;
    }
    if (kind == FilterKind::kPoint) {
        const std::vector<int> xs = PointTaps(from.width, destWidth);
        const std::vector<int> ys = PointTaps(from.height, destHeight);
        for (int y = 0; y < destHeight; ++y) {
            const std::uint32_t* row = Row(from, ys[static_cast<std::size_t>(y)]);
            std::uint32_t* target = out(y);
            for (int x = 0; x < destWidth; ++x) {
                target[x] = row[xs[static_cast<std::size_t>(x)]];
            }
        }
        return;
    }
    const std::vector<Tap> xs = LinearTaps(from.width, destWidth);
    const std::vector<Tap> ys = LinearTaps(from.height, destHeight);
    for (int y = 0; y < destHeight; ++y) {
        const Tap& ty = ys[static_cast<std::size_t>(y)];
        const std::uint32_t* upper = Row(from, ty.first);
        const std::uint32_t* lower = Row(from, ty.second);
        std::uint32_t* target = out(y);
        for (int x = 0; x < destWidth; ++x) {
            const Tap& tx = xs[static_cast<std::size_t>(x)];
            target[x] = Bilinear(upper[tx.first], upper[tx.second], lower[tx.first],
                                 lower[tx.second], tx.weight, ty.weight);
        }
    }
}

}  // namespace d3dx
