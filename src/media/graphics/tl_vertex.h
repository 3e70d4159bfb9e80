#pragma once
// The vertex types of 2-D drawing and the float rectangle.

#include <cstdint>

#include "platform/d3d9/d3d9_types.h"

// The screen vertex of every textured 2-D draw (28 bytes, FVF 0x144).
struct TLVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float rhw = 1.0f;
    std::uint32_t colour = 0xFFFFFFFFu;  // ARGB
    float u = 0.0f;
    float v = 0.0f;

    TLVertex() = default;
    TLVertex(float px, float py, std::uint32_t argb, float tu, float tv)
        : x(px), y(py), colour(argb), u(tu), v(tv) {}
    TLVertex(float px, float py, float tu, float tv) : x(px), y(py), u(tu), v(tv) {}
};
static_assert(sizeof(TLVertex) == 28);

constexpr DWORD kTLVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// The untextured vertex of D3D_ColorFill (20 bytes, FVF 0x44).
struct ColorFillVertex {
    float x;
    float y;
    float z;
    float rhw;
    std::uint32_t colour;
};
static_assert(sizeof(ColorFillVertex) == 20);

constexpr DWORD kColorFillFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

struct FloatRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    FloatRect() = default;
    FloatRect(int l, int t, int r, int b)
        : left(static_cast<float>(l)),
          top(static_cast<float>(t)),
          right(static_cast<float>(r)),
          bottom(static_cast<float>(b)) {}
    explicit FloatRect(const RECT& rect)
        : FloatRect(rect.left, rect.top, rect.right, rect.bottom) {}

    void Offset(float x, float y) {
        left += x;
        right += x;
        top += y;
        bottom += y;
    }
};
