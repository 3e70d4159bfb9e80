#include "platform/d3d9/rasterizer.h"

#include <algorithm>
#include <atomic>

#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/pixel_math.h"

namespace d3d9_internal {
namespace {

std::atomic<bool> fastPaths{true};

}  // namespace

void SetFastPathsEnabled(bool enabled) {
    fastPaths.store(enabled);
}

bool FastPathsEnabled() {
    return fastPaths.load();
}

void ShadePixelReference(const PipelineState& state, const TriangleSetup& setup, int x, int y) {
    std::uint32_t* depthCell = nullptr;
    std::uint32_t depth = 0;
    if (state.zEnable && state.depth.values != nullptr && x < state.depth.width &&
        y < state.depth.height) {
        depthCell = state.depth.values + static_cast<std::ptrdiff_t>(y) * state.depth.pitch + x;
        depth = DepthAt(setup, x, y);
        if (!Compare(state.zFunc, depth, *depthCell)) {
            return;
        }
    }
    std::uint32_t texel = 0xFFFFFFFFu;
    if (state.hasTexture) {
        std::int32_t s;
        std::int32_t t;
        TexelAt(setup, x, y, &s, &t);
        texel = setup.linearFilter ? SampleLinear(state.sampler, s, t)
                                   : SamplePoint(state.sampler, s, t);
    }
    const std::uint32_t src = CombineStage(state, texel, DiffuseAt(setup, x, y));
    if (state.alphaTest && !Compare(state.alphaFunc, src >> 24, state.alphaRef)) {
        return;
    }
    if (depthCell != nullptr && state.zWrite) {
        *depthCell = depth;
    }
    std::uint8_t* pixel = state.target.bits + static_cast<std::ptrdiff_t>(y) * state.target.pitch +
                          x * BytesPerPixel(state.target.format);
    const std::uint32_t old = PixelToArgb(state.target.format, pixel);
    const std::uint32_t out =
        ApplyWriteMask(state.colorWriteMask, BlendPixel(state, src, old), old);
    PixelFromArgb(state.target.format, out, pixel);
}

void DrawTriangle(const PipelineState& state, const RasterVertex& v0, const RasterVertex& v1,
                  const RasterVertex& v2, bool reversed) {
    TriangleSetup setup;
    if (!SetupTriangle(state, v0, v1, v2, reversed, &setup)) {
        return;
    }
    const bool spans = FastPathsEnabled() && SpanPathSupports(state, setup);
    for (int y = setup.firstRow; y <= setup.lastRow; ++y) {
        int first = 0;
        int last = 0;
        if (!RowSpan(state, setup, y, &first, &last)) {
            continue;
        }
        if (spans) {
            ShadeSpan(state, setup, y, first, last);
        } else {
            for (int x = first; x < last; ++x) {
                ShadePixelReference(state, setup, x, y);
            }
        }
    }
}

bool DrawUprightQuad(const PipelineState& state, const RasterVertex (&strip)[4]) {
    if (!FastPathsEnabled()) {
        return false;
    }
    std::int64_t x[4];
    std::int64_t y[4];
    for (int i = 0; i < 4; ++i) {
        if (!SnapCoordinate(strip[i].x, &x[i]) || !SnapCoordinate(strip[i].y, &y[i])) {
            return false;
        }
    }
    // Vertices 0 and 3 are opposite corners, 1 and 2 the other two.
    const bool rectangle = x[0] != x[3] && y[0] != y[3] &&
                           ((x[1] == x[3] && y[1] == y[0] && x[2] == x[0] && y[2] == y[3]) ||
                            (x[1] == x[0] && y[1] == y[3] && x[2] == x[3] && y[2] == y[0]));
    if (!rectangle) {
        return false;
    }
    TriangleSetup first;
    TriangleSetup second;
    if (!SetupTriangle(state, strip[0], strip[1], strip[2], false, &first) ||
        !SetupTriangle(state, strip[1], strip[2], strip[3], true, &second)) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!(first.colour[i] == second.colour[i])) {
            return false;
        }
    }
    if (first.perspective || second.perspective) {
        return false;
    }
    if (first.constantDiffuse != second.constantDiffuse || first.diffuse != second.diffuse ||
        !(first.s == second.s) || !(first.t == second.t) || !(first.z == second.z) ||
        first.linearFilter != second.linearFilter) {
        return false;
    }
    // The union of the two triangles under the top-left rule: centres with
    // left <= x < right and top <= y < bottom (subpixels).
    constexpr std::int64_t sub = 1 << kSubpixelBits;
    auto firstCentre = [](std::int64_t edge) {  // smallest pixel whose centre is >= edge
        return edge >= 0 ? (edge + sub - 1) / sub : -((-edge) / sub);
    };
    const std::int64_t left =
        std::max<std::int64_t>(firstCentre(std::min(x[0], x[3])), state.clipLeft);
    const std::int64_t right =
        std::min<std::int64_t>(firstCentre(std::max(x[0], x[3])), state.clipRight);
    const std::int64_t top =
        std::max<std::int64_t>(firstCentre(std::min(y[0], y[3])), state.clipTop);
    const std::int64_t bottom =
        std::min<std::int64_t>(firstCentre(std::max(y[0], y[3])), state.clipBottom);
    const bool spans = SpanPathSupports(state, first);
    for (auto row = static_cast<int>(top); row < bottom; ++row) {
        if (left >= right) {
            break;
        }
        if (spans) {
            ShadeSpan(state, first, row, static_cast<int>(left), static_cast<int>(right));
        } else {
            for (auto col = static_cast<int>(left); col < right; ++col) {
                ShadePixelReference(state, first, col, row);
            }
        }
    }
    return true;
}

}  // namespace d3d9_internal
