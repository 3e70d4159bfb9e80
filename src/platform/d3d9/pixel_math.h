#pragma once
// The per-pixel arithmetic of the rasteriser: sampling, the texture stage, the tests and the
// blend. Both the reference path and the span routines use these definitions, which is what
// makes their results identical. All of it is integer arithmetic on 8-bit channels.

#include <algorithm>
#include <cstdint>

#include "platform/d3d9/raster_state.h"

namespace d3d9_internal {

// x / 255 rounded to nearest, exact for 0 <= x <= 65535 + 255.
inline std::uint32_t Div255(std::uint32_t x) {
    return (x + 128u + ((x + 128u) >> 8)) >> 8;
}

inline std::uint32_t Channel(std::uint32_t argb, int shift) {
    return (argb >> shift) & 0xFFu;
}

inline std::uint32_t Pack(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Per-channel product of two colours.
inline std::uint32_t Modulate(std::uint32_t x, std::uint32_t y) {
    return Pack(Div255(Channel(x, 24) * Channel(y, 24)), Div255(Channel(x, 16) * Channel(y, 16)),
                Div255(Channel(x, 8) * Channel(y, 8)), Div255(Channel(x, 0) * Channel(y, 0)));
}

inline int AddressTexel(int index, int size, DWORD mode) {
    if (mode == D3DTADDRESS_WRAP) {
        // A power-of-two size wraps by masking (the same result as the remainder).
        if ((size & (size - 1)) == 0) {
            return index & (size - 1);
        }
        const int m = index % size;
        return m < 0 ? m + size : m;
    }
    return std::clamp(index, 0, size - 1);
}

inline std::uint32_t FetchTexel(const SamplerView& s, int x, int y) {
    return s.texels[static_cast<std::ptrdiff_t>(AddressTexel(y, s.height, s.addressV)) * s.pitch +
                    AddressTexel(x, s.width, s.addressU)];
}

// Point sampling: the texel whose area holds the sample (s, t in 16.16 texel units).
inline std::uint32_t SamplePoint(const SamplerView& view, std::int32_t s, std::int32_t t) {
    return FetchTexel(view, s >> 16, t >> 16) | view.alphaOr;
}

// Bilinear weights of 7 bits: rows first, then the columns' blend, rounded.
inline std::uint32_t BilinearBlend(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                                   std::uint32_t t11, std::uint32_t fx, std::uint32_t fy) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t top = Channel(t00, shift) * (128u - fx) + Channel(t10, shift) * fx;
        const std::uint32_t bottom = Channel(t01, shift) * (128u - fx) + Channel(t11, shift) * fx;
        const std::uint32_t c = (top * (128u - fy) + bottom * fy + 8192u) >> 14;
        result |= c << shift;
    }
    return result;
}

inline std::uint32_t SampleLinear(const SamplerView& view, std::int32_t s, std::int32_t t) {
    const std::int32_t sx = static_cast<std::int32_t>(static_cast<std::uint32_t>(s) - 0x8000u);
    const std::int32_t sy = static_cast<std::int32_t>(static_cast<std::uint32_t>(t) - 0x8000u);
    const int x0 = sx >> 16;
    const int y0 = sy >> 16;
    const std::uint32_t fx = (static_cast<std::uint32_t>(sx) >> 9) & 0x7Fu;
    const std::uint32_t fy = (static_cast<std::uint32_t>(sy) >> 9) & 0x7Fu;
    // Opaque texels blend to opaque, so the alpha can be set after the blend. Inside the
    // texture the 2 x 2 texels are read directly (addressing would not move them).
    if (x0 >= 0 && y0 >= 0 && x0 + 1 < view.width && y0 + 1 < view.height) {
        const std::uint32_t* top = view.texels + static_cast<std::ptrdiff_t>(y0) * view.pitch + x0;
        return BilinearBlend(top[0], top[1], top[view.pitch], top[view.pitch + 1], fx, fy) |
               view.alphaOr;
    }
    return BilinearBlend(FetchTexel(view, x0, y0), FetchTexel(view, x0 + 1, y0),
                         FetchTexel(view, x0, y0 + 1), FetchTexel(view, x0 + 1, y0 + 1), fx, fy) |
           view.alphaOr;
}

inline std::uint32_t StageArgument(const PipelineState& state, DWORD arg, std::uint32_t texel,
                                   std::uint32_t diffuse) {
    std::uint32_t value;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_TEXTURE:
            value = texel;
            break;
        case D3DTA_TFACTOR:
            value = state.textureFactor;
            break;
        default:  // diffuse, current (the diffuse colour at stage 0) and the rest
            value = diffuse;
            break;
    }
    if (arg & D3DTA_COMPLEMENT) {
        value = ~value;
    }
    if (arg & D3DTA_ALPHAREPLICATE) {
        const std::uint32_t a = value >> 24;
        value = Pack(a, a, a, a);
    }
    return value;
}

inline std::uint32_t StageOperation(DWORD op, std::uint32_t arg1, std::uint32_t arg2,
                                    std::uint32_t current) {
    switch (op) {
        case D3DTOP_DISABLE:
            return current;
        case D3DTOP_SELECTARG1:
            return arg1;
        case D3DTOP_SELECTARG2:
            return arg2;
        case D3DTOP_ADD: {
            std::uint32_t r = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                r |= std::min(255u, Channel(arg1, shift) + Channel(arg2, shift)) << shift;
            }
            return r;
        }
        case D3DTOP_MODULATE2X:
        case D3DTOP_MODULATE4X: {
            const std::uint32_t m = Modulate(arg1, arg2);
            const std::uint32_t factor = op == D3DTOP_MODULATE2X ? 2u : 4u;
            std::uint32_t r = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                r |= std::min(255u, Channel(m, shift) * factor) << shift;
            }
            return r;
        }
        default:  // D3DTOP_MODULATE and the operations we do not model
            return Modulate(arg1, arg2);
    }
}

// Texture stage 0: colour and alpha operations on the texel and the diffuse colour.
inline std::uint32_t CombineStage(const PipelineState& state, std::uint32_t texel,
                                  std::uint32_t diffuse) {
    if (!state.hasTexture) {
        return diffuse;
    }
    const std::uint32_t colour =
        StageOperation(state.colorOp, StageArgument(state, state.colorArg1, texel, diffuse),
                       StageArgument(state, state.colorArg2, texel, diffuse), diffuse);
    const std::uint32_t alpha =
        StageOperation(state.alphaOp, StageArgument(state, state.alphaArg1, texel, diffuse),
                       StageArgument(state, state.alphaArg2, texel, diffuse), diffuse);
    return (colour & 0x00FFFFFFu) | (alpha & 0xFF000000u);
}

inline bool Compare(DWORD func, std::uint32_t value, std::uint32_t reference) {
    switch (func) {
        case D3DCMP_NEVER:
            return false;
        case D3DCMP_LESS:
            return value < reference;
        case D3DCMP_EQUAL:
            return value == reference;
        case D3DCMP_LESSEQUAL:
            return value <= reference;
        case D3DCMP_GREATER:
            return value > reference;
        case D3DCMP_NOTEQUAL:
            return value != reference;
        case D3DCMP_GREATEREQUAL:
            return value >= reference;
        default:
            return true;
    }
}

inline std::uint32_t BlendFactor(DWORD factor, std::uint32_t src, std::uint32_t dst, int shift) {
    switch (factor) {
        case D3DBLEND_ZERO:
            return 0;
        case D3DBLEND_ONE:
            return 255;
        case D3DBLEND_SRCCOLOR:
            return Channel(src, shift);
        case D3DBLEND_INVSRCCOLOR:
            return 255 - Channel(src, shift);
        case D3DBLEND_SRCALPHA:
            return src >> 24;
        case D3DBLEND_INVSRCALPHA:
            return 255 - (src >> 24);
        case D3DBLEND_DESTALPHA:
            return dst >> 24;
        case D3DBLEND_INVDESTALPHA:
            return 255 - (dst >> 24);
        case D3DBLEND_DESTCOLOR:
            return Channel(dst, shift);
        case D3DBLEND_INVDESTCOLOR:
            return 255 - Channel(dst, shift);
        default:
            return 255;
    }
}

// The usual translucency (SRCALPHA, INVSRCALPHA with ADD): the weights add up to one, so the sum
// is rounded once.
inline bool IsAlphaOverPair(const PipelineState& state) {
    return state.srcBlend == D3DBLEND_SRCALPHA && state.destBlend == D3DBLEND_INVSRCALPHA &&
           state.blendOp == D3DBLENDOP_ADD;
}

// The output merger on A8R8G8B8 values: each term is rounded on its own, then they are combined
// with saturation; the alpha-over pair rounds its sum once.
inline std::uint32_t BlendPixel(const PipelineState& state, std::uint32_t src, std::uint32_t dst) {
    if (!state.blend) {
        return src;
    }
    std::uint32_t result = 0;
    if (IsAlphaOverPair(state)) {
        const std::uint32_t a = src >> 24;
        for (int shift = 0; shift < 32; shift += 8) {
            result |= Div255(Channel(src, shift) * a + Channel(dst, shift) * (255 - a)) << shift;
        }
        return result;
    }
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t s = Channel(src, shift);
        const std::uint32_t d = Channel(dst, shift);
        const std::uint32_t sterm = Div255(s * BlendFactor(state.srcBlend, src, dst, shift));
        const std::uint32_t dterm = Div255(d * BlendFactor(state.destBlend, src, dst, shift));
        std::uint32_t c;
        switch (state.blendOp) {
            case D3DBLENDOP_SUBTRACT:
                c = sterm > dterm ? sterm - dterm : 0;
                break;
            case D3DBLENDOP_REVSUBTRACT:
                c = dterm > sterm ? dterm - sterm : 0;
                break;
            case D3DBLENDOP_MIN:
                c = std::min(s, d);
                break;
            case D3DBLENDOP_MAX:
                c = std::max(s, d);
                break;
            default:
                c = std::min(255u, sterm + dterm);
                break;
        }
        result |= c << shift;
    }
    return result;
}

// Keeps the channels the colour write mask leaves alone.
inline std::uint32_t ApplyWriteMask(DWORD mask, std::uint32_t value, std::uint32_t old) {
    std::uint32_t keep = 0;
    if (!(mask & 1)) {
        keep |= 0x00FF0000u;
    }
    if (!(mask & 2)) {
        keep |= 0x0000FF00u;
    }
    if (!(mask & 4)) {
        keep |= 0x000000FFu;
    }
    if (!(mask & 8)) {
        keep |= 0xFF000000u;
    }
    return (value & ~keep) | (old & keep);
}

}  // namespace d3d9_internal
