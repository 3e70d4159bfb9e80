#include "platform/d3d9/triangle_setup.h"

#include <algorithm>
#include <cmath>

namespace d3d9_internal {
namespace {

// Far enough out for any target, near enough that edge products stay inside 64 bits.
constexpr double kCoordinateLimit = 1 << 24;
constexpr double kFixedLimit = 70368744177664.0;  // 2^46

}  // namespace

bool SnapCoordinate(float value, std::int64_t* snapped) {
    if (!std::isfinite(value)) {
        return false;
    }
    const double scaled = std::clamp(static_cast<double>(value) * (1 << kSubpixelBits),
                                     -kCoordinateLimit, kCoordinateLimit);
    *snapped = FloorToInt(scaled + 0.5);
    return true;
}

namespace {

std::int64_t ToFixed(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double scaled = std::clamp(value * 65536.0, -kFixedLimit, kFixedLimit);
    return FloorToInt(scaled + 0.5);
}

std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {  // d > 0
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

struct Snapped {
    std::int64_t x;
    std::int64_t y;
    const RasterVertex* v;
};

// A plane through the three vertices' values, over pixel centres.
PerspectivePlane MakeFloatPlane(const Snapped (&p)[3], double area, double a0, double a1,
                                double a2) {
    const double x0 = static_cast<double>(p[0].x);
    const double y0 = static_cast<double>(p[0].y);
    const double dx1 = static_cast<double>(p[1].x) - x0;
    const double dy1 = static_cast<double>(p[1].y) - y0;
    const double dx2 = static_cast<double>(p[2].x) - x0;
    const double dy2 = static_cast<double>(p[2].y) - y0;
    const double perSubX = ((a1 - a0) * dy2 - (a2 - a0) * dy1) / area;
    const double perSubY = ((a2 - a0) * dx1 - (a1 - a0) * dx2) / area;
    PerspectivePlane plane;
    plane.c = a0 - perSubX * x0 - perSubY * y0;
    plane.dx = perSubX * (1 << kSubpixelBits);
    plane.dy = perSubY * (1 << kSubpixelBits);
    return plane;
}

AttributePlane MakePlane(const Snapped (&p)[3], double area, double a0, double a1, double a2) {
    const PerspectivePlane exact = MakeFloatPlane(p, area, a0, a1, a2);
    AttributePlane plane;
    plane.c = ToFixed(exact.c);
    plane.dx = ToFixed(exact.dx);
    plane.dy = ToFixed(exact.dy);
    return plane;
}

bool UsablePerspective(float q0, float q1, float q2) {
    const bool positive = std::isfinite(q0) && std::isfinite(q1) && std::isfinite(q2) &&
                          q0 > 0.0f && q1 > 0.0f && q2 > 0.0f;
    return positive && !(q0 == q1 && q0 == q2);
}

AttributePlane ConstantPlane(double value) {
    AttributePlane plane;
    plane.c = ToFixed(value);
    return plane;
}

}  // namespace

bool SetupTriangle(const PipelineState& state, const RasterVertex& v0, const RasterVertex& v1,
                   const RasterVertex& v2, bool reversed, TriangleSetup* setup) {
    Snapped p[3] = {{0, 0, &v0}, {0, 0, &v1}, {0, 0, &v2}};
    for (Snapped& s : p) {
        if (!SnapCoordinate(s.v->x, &s.x) || !SnapCoordinate(s.v->y, &s.y)) {
            return false;
        }
    }
    // Positive: clockwise on the screen (y grows downwards).
    std::int64_t area =
        (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
    if (area == 0) {
        return false;
    }
    const bool clockwise = (area > 0) != reversed;
    if ((state.cullMode == D3DCULL_CW && clockwise) ||
        (state.cullMode == D3DCULL_CCW && !clockwise)) {
        return false;
    }
    if (area < 0) {
        std::swap(p[1], p[2]);
        area = -area;
    }

    const std::int64_t sub = 1 << kSubpixelBits;
    std::int64_t minY = p[0].y;
    std::int64_t maxY = p[0].y;
    for (int e = 0; e < 3; ++e) {
        const Snapped& a = p[e];
        const Snapped& b = p[(e + 1) % 3];
        const std::int64_t dx = b.x - a.x;
        const std::int64_t dy = b.y - a.y;
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        // E(P) = dx * (P.y - a.y) - dy * (P.x - a.x), with P = pixel centre in subpixels.
        setup->edgeA[e] = -dy * sub;
        setup->edgeB[e] = dx * sub;
        setup->edgeC[e] = dy * a.x - dx * a.y - (topLeft ? 0 : 1);
        minY = std::min(minY, b.y);
        maxY = std::max(maxY, b.y);
    }
    setup->firstRow =
        static_cast<int>(std::max<std::int64_t>(state.clipTop, -FloorDiv(-minY, sub)));
    setup->lastRow =
        static_cast<int>(std::min<std::int64_t>(state.clipBottom - 1, FloorDiv(maxY, sub)));
    if (setup->firstRow > setup->lastRow) {
        return false;
    }

    const double areaD = static_cast<double>(area);
    const RasterVertex& a = *p[0].v;
    const RasterVertex& b = *p[1].v;
    const RasterVertex& c = *p[2].v;
    auto plane = [&](double a0, double a1, double a2) { return MakePlane(p, areaD, a0, a1, a2); };

    // Flat shading takes the colour of the triangle's first vertex.
    const bool flat = state.flatShading || (a.diffuse == b.diffuse && a.diffuse == c.diffuse);
    const std::uint32_t first = flat && state.flatShading ? v0.diffuse : a.diffuse;
    setup->constantDiffuse = flat;
    setup->diffuse = first;
    for (int i = 0; i < 4; ++i) {
        const int shift = 24 - 8 * i;
        auto ch = [shift](std::uint32_t argb) {
            return static_cast<double>((argb >> shift) & 0xFF);
        };
        setup->colour[i] =
            flat ? ConstantPlane(ch(first)) : plane(ch(a.diffuse), ch(b.diffuse), ch(c.diffuse));
    }

    if (state.hasTexture) {
        const double w = state.sampler.width;
        const double h = state.sampler.height;
        setup->s = plane(static_cast<double>(a.u) * w, static_cast<double>(b.u) * w,
                         static_cast<double>(c.u) * w);
        setup->t = plane(static_cast<double>(a.v) * h, static_cast<double>(b.v) * h,
                         static_cast<double>(c.v) * h);
        // Magnification or minification by the larger texel step per pixel.
        const std::int64_t step = std::max(std::max(std::abs(setup->s.dx), std::abs(setup->s.dy)),
                                           std::max(std::abs(setup->t.dx), std::abs(setup->t.dy)));
        const DWORD filter = step > 65536 ? state.sampler.minFilter : state.sampler.magFilter;
        setup->linearFilter = filter == D3DTEXF_LINEAR || filter == D3DTEXF_ANISOTROPIC;
        setup->perspective = UsablePerspective(a.q, b.q, c.q);
        if (setup->perspective) {
            auto exact = [&](double a0, double a1, double a2) {
                return MakeFloatPlane(p, areaD, a0, a1, a2);
            };
            const double qa = a.q;
            const double qb = b.q;
            const double qc = c.q;
            setup->q = exact(qa, qb, qc);
            setup->sq = exact(static_cast<double>(a.u) * w * qa, static_cast<double>(b.u) * w * qb,
                              static_cast<double>(c.u) * w * qc);
            setup->tq = exact(static_cast<double>(a.v) * h * qa, static_cast<double>(b.v) * h * qb,
                              static_cast<double>(c.v) * h * qc);
        }
    } else {
        setup->s = AttributePlane{};
        setup->t = AttributePlane{};
        setup->linearFilter = false;
        setup->perspective = false;
    }

    setup->depthMax = state.depth.bits >= 24 ? 0xFFFFFFu : 0xFFFFu;
    const double dmax = setup->depthMax;
    auto depth = [dmax](float z) {
        const double zc = std::isfinite(z) ? std::clamp(static_cast<double>(z), 0.0, 1.0) : 0.0;
        return zc * dmax;
    };
    if (v0.z == v1.z && v0.z == v2.z) {
        setup->z = ConstantPlane(depth(v0.z));
    } else {
        setup->z = plane(depth(a.z), depth(b.z), depth(c.z));
    }
    return true;
}

bool RowSpan(const PipelineState& state, const TriangleSetup& setup, int y, int* first, int* last) {
    std::int64_t lo = state.clipLeft;
    std::int64_t hi = static_cast<std::int64_t>(state.clipRight) - 1;
    for (int e = 0; e < 3; ++e) {
        const std::int64_t a = setup.edgeA[e];
        const std::int64_t r = setup.edgeB[e] * y + setup.edgeC[e];
        if (a > 0) {
            lo = std::max(lo, -FloorDiv(r, a));  // x >= ceil(-r / a)
        } else if (a < 0) {
            hi = std::min(hi, FloorDiv(r, -a));  // x <= floor(r / -a)
        } else if (r < 0) {
            return false;
        }
        if (lo > hi) {
            return false;
        }
    }
    *first = static_cast<int>(lo);
    *last = static_cast<int>(hi + 1);
    return true;
}

}  // namespace d3d9_internal
