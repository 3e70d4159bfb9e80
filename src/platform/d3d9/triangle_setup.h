#pragma once
// Triangle setup: snapped edges with the top-left fill rule, and fixed-point attribute planes.

#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/d3d9/raster_state.h"

namespace d3d9_internal {

// Vertex positions are snapped to 1/16 pixel.
constexpr int kSubpixelBits = 4;

// A coordinate in pixels to the subpixel grid (clamped far outside any target); false when it
// is not a finite number.
bool SnapCoordinate(float value, std::int64_t* snapped);

// An attribute as a plane over pixel centres: value(x, y) = c + dx * x + dy * y, in 16.16 fixed
// point. Colour channels and texture coordinates are taken modulo 2^32 (At32), which the span
// routines step with 32-bit additions and get the same values.
struct AttributePlane {
    std::int64_t c = 0;
    std::int64_t dx = 0;
    std::int64_t dy = 0;

    std::int64_t At(int x, int y) const { return c + dx * x + dy * y; }
    bool operator==(const AttributePlane&) const = default;
    std::int32_t At32(int x, int y) const { return static_cast<std::int32_t>(At(x, y)); }
    bool Constant() const { return dx == 0 && dy == 0; }
};

// An attribute as a plane in floating point, for the perspective-correct texture coordinates:
// value(x, y) = (c + dy * y) + dx * x over pixel centres, evaluated in that order.
struct PerspectivePlane {
    double c = 0;
    double dx = 0;
    double dy = 0;
};

// floor(value) for a finite value within 64 bits, without a library call.
inline std::int64_t FloorToInt(double value) {
    const auto truncated = static_cast<std::int64_t>(value);
    return static_cast<double>(truncated) > value ? truncated - 1 : truncated;
}

struct TriangleSetup {
    // Edge e covers pixel (x, y) when edgeA[e] * x + edgeB[e] * y + edgeC[e] >= 0.
    std::int64_t edgeA[3];
    std::int64_t edgeB[3];
    std::int64_t edgeC[3];
    int firstRow = 0;
    int lastRow = -1;  // inclusive

    // Diffuse channels in the order alpha, red, green, blue.
    AttributePlane colour[4];
    bool constantDiffuse = false;
    std::uint32_t diffuse = 0;  // the colour when constant
    // Texture coordinates in texels of level 0, interpolated on the screen.
    AttributePlane s;
    AttributePlane t;
    // With perspective correction: q = 1/w and the texel coordinates times q; a pixel's
    // coordinates are (s q) / q. The screen planes above still choose the filter.
    bool perspective = false;
    PerspectivePlane q;
    PerspectivePlane sq;
    PerspectivePlane tq;
    // Depth in units of the depth buffer's least significant bit.
    AttributePlane z;
    std::uint32_t depthMax = 0;
    bool linearFilter = false;
};

// Culls, snaps and sets up one triangle; false when nothing of it can be drawn. `reversed`
// marks the odd triangles of a strip, whose winding counts the other way round.
bool SetupTriangle(const PipelineState& state, const RasterVertex& v0, const RasterVertex& v1,
                   const RasterVertex& v2, bool reversed, TriangleSetup* setup);

// The covered pixels [*first, *last) of a row inside the clip rectangle; false when none.
bool RowSpan(const PipelineState& state, const TriangleSetup& setup, int y, int* first, int* last);

inline std::uint32_t DiffuseAt(const TriangleSetup& setup, int x, int y) {
    if (setup.constantDiffuse) {
        return setup.diffuse;
    }
    std::uint32_t result = 0;
    for (int i = 0; i < 4; ++i) {
        const std::int32_t v = setup.colour[i].At32(x, y);
        const std::int32_t c = (v >> 16) + ((v >> 15) & 1);
        const std::uint32_t channel = c < 0 ? 0u : (c > 255 ? 255u : static_cast<std::uint32_t>(c));
        result |= channel << (24 - 8 * i);
    }
    return result;
}

// The depth of a value of the depth plane (16.16), rounded and clamped to the buffer's range.
inline std::uint32_t DepthFromPlane(std::int64_t plane, std::uint32_t depthMax) {
    const std::int64_t v = (plane + 0x8000) >> 16;
    if (v < 0) {
        return 0;
    }
    return v > static_cast<std::int64_t>(depthMax) ? depthMax : static_cast<std::uint32_t>(v);
}

inline std::uint32_t DepthAt(const TriangleSetup& setup, int x, int y) {
    return DepthFromPlane(setup.z.At(x, y), setup.depthMax);
}

// A texel coordinate in 16.16 fixed point, clamped to 32 bits.
inline std::int32_t TexelFixed(double value) {
    const double scaled = value * 65536.0;
    if (!(scaled > -2147483648.0)) {
        return scaled == scaled ? INT32_MIN : 0;
    }
    if (!(scaled < 2147483647.0)) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(FloorToInt(scaled + 0.5));
}

// The perspective planes' values at the start of row y.
struct PerspectiveRow {
    double q;
    double sq;
    double tq;
};

inline PerspectiveRow PerspectiveRowAt(const TriangleSetup& setup, int y) {
    return PerspectiveRow{setup.q.c + setup.q.dy * y, setup.sq.c + setup.sq.dy * y,
                          setup.tq.c + setup.tq.dy * y};
}

// The perspective-correct texel coordinates of pixel x of a row; false where q is not positive
// (never inside a triangle whose corners have positive q, but rounding is not trusted).
inline bool PerspectiveTexel(const TriangleSetup& setup, const PerspectiveRow& row, int x,
                             std::int32_t* s, std::int32_t* t) {
    const double q = row.q + setup.q.dx * x;
    if (!(q > 0.0)) {
        return false;
    }
    const double w = 1.0 / q;
    *s = TexelFixed((row.sq + setup.sq.dx * x) * w);
    *t = TexelFixed((row.tq + setup.tq.dx * x) * w);
    return true;
}

// The texel coordinates (16.16, texels of level 0) of the pixel centre (x, y).
inline void TexelAt(const TriangleSetup& setup, int x, int y, std::int32_t* s, std::int32_t* t) {
    if (setup.perspective && PerspectiveTexel(setup, PerspectiveRowAt(setup, y), x, s, t)) {
        return;
    }
    *s = setup.s.At32(x, y);
    *t = setup.t.At32(x, y);
}

}  // namespace d3d9_internal
