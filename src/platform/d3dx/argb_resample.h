#pragma once
// Copies a rectangle of A8R8G8B8 pixels into a destination size with one of the library's
// filters. Integer arithmetic throughout, so results are exact and the same everywhere.

#include <cstdint>
#include <vector>

#include "platform/d3dx/d3dx_types.h"

namespace d3dx {

struct ArgbView {
    const std::uint32_t* pixels;
    int width;
    int height;
    int pitch;  // in pixels
};

enum class FilterKind { kNone, kPoint, kLinear };

// D3DERR_INVALIDCALL for an unknown filter kind; D3DX_DEFAULT is linear. Triangle and box
// filtering are done as linear.
HRESULT FilterKindOf(DWORD filter, FilterKind* kind);

// `dest` receives destWidth * destHeight pixels, rows top down. With kNone the source is copied
// unscaled from its top left, and what lies beyond it is transparent black; with kPoint and
// kLinear it is scaled to the destination size (sample centres aligned, edges clamped). Source
// pixels equal to a non-zero `colorKey` count as transparent black.
void ResampleArgb(const ArgbView& source, int destWidth, int destHeight, FilterKind kind,
                  D3DCOLOR colorKey, std::vector<std::uint32_t>* dest);

}  // namespace d3dx
