// The span routines of the rasteriser. A row's run of pixels goes through in chunks: depth mask,
// texel fetch, texture stage, blend and store, each stage a tight loop. Every value is computed
// by the same formulas as the reference path (pixel_math.h), so the bytes are the same.

#include <algorithm>
#include <cstring>

#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/pixel_math.h"
#include "platform/d3d9/rasterizer.h"
#include "platform/d3d9/span_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3d9_internal {
namespace {

constexpr int kChunk = 256;

bool IsDiffuseArg(DWORD arg) {
    return arg == D3DTA_DIFFUSE || arg == D3DTA_CURRENT;
}

// Which parts of the diffuse colour stage 0 multiplies the texel by, when it amounts to
// "texel times a colour": the colour channels and/or the alpha (the others multiply by 255,
// which leaves them as they are). False for any other stage.
struct StageShape {
    bool rgbFromDiffuse;
    bool alphaFromDiffuse;
};

bool TexelTimesDiffuse(const PipelineState& state, StageShape* shape) {
    if (state.colorOp == D3DTOP_MODULATE &&
        ((state.colorArg1 == D3DTA_TEXTURE && IsDiffuseArg(state.colorArg2)) ||
         (state.colorArg2 == D3DTA_TEXTURE && IsDiffuseArg(state.colorArg1)))) {
        shape->rgbFromDiffuse = true;
    } else if ((state.colorOp == D3DTOP_SELECTARG1 && state.colorArg1 == D3DTA_TEXTURE) ||
               (state.colorOp == D3DTOP_SELECTARG2 && state.colorArg2 == D3DTA_TEXTURE)) {
        shape->rgbFromDiffuse = false;
    } else {
        return false;
    }
    if (state.alphaOp == D3DTOP_MODULATE &&
        ((state.alphaArg1 == D3DTA_TEXTURE && IsDiffuseArg(state.alphaArg2)) ||
         (state.alphaArg2 == D3DTA_TEXTURE && IsDiffuseArg(state.alphaArg1)))) {
        shape->alphaFromDiffuse = true;
    } else if ((state.alphaOp == D3DTOP_SELECTARG1 && state.alphaArg1 == D3DTA_TEXTURE) ||
               (state.alphaOp == D3DTOP_SELECTARG2 && state.alphaArg2 == D3DTA_TEXTURE)) {
        shape->alphaFromDiffuse = false;
    } else {
        return false;
    }
    return true;
}

// The multiplier of a diffuse colour under `shape`.
inline std::uint32_t MultiplierOf(const StageShape& shape, std::uint32_t diffuse) {
    return (shape.rgbFromDiffuse ? diffuse & 0x00FFFFFFu : 0x00FFFFFFu) |
           (shape.alphaFromDiffuse ? diffuse & 0xFF000000u : 0xFF000000u);
}

// When stage 0 amounts to "texel times a constant colour", that colour (alpha 255 when the
// alpha is the texel's own); else false.
bool ConstantStageMultiplier(const PipelineState& state, const TriangleSetup& setup,
                             std::uint32_t* multiplier) {
    StageShape shape{};
    if (!setup.constantDiffuse || !TexelTimesDiffuse(state, &shape)) {
        return false;
    }
    *multiplier = MultiplierOf(shape, setup.diffuse);
    return true;
}

// The diffuse colours of a run of a row, stepping each channel's plane as At32 evaluates it
// (both are the plane's value modulo 2^32).
void DiffuseRun(const TriangleSetup& setup, int x, int y, int count, std::uint32_t* out) {
    if (setup.constantDiffuse) {
        std::fill(out, out + count, setup.diffuse);
        return;
    }
    std::uint32_t value[4];
    std::uint32_t step[4];
    for (int c = 0; c < 4; ++c) {
        value[c] = static_cast<std::uint32_t>(setup.colour[c].At32(x, y));
        step[c] = static_cast<std::uint32_t>(setup.colour[c].dx);
    }
    for (int i = 0; i < count; ++i) {
        std::uint32_t result = 0;
        for (int c = 0; c < 4; ++c) {
            const auto v = static_cast<std::int32_t>(value[c]);
            const std::int32_t rounded = (v >> 16) + ((v >> 15) & 1);
            const std::uint32_t channel =
                rounded < 0 ? 0u : (rounded > 255 ? 255u : static_cast<std::uint32_t>(rounded));
            result |= channel << (24 - 8 * c);
            value[c] += step[c];
        }
        out[i] = result;
    }
}

// pixels[i] = Modulate(pixels[i], multipliers[i]).
void ModulateRun(std::uint32_t* pixels, const std::uint32_t* multipliers, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i bias = _mm_set1_epi16(128);
    const __m128i scale = _mm_set1_epi16(257);
    for (; i + 4 <= count; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(multipliers + i));
        __m128i lo = _mm_add_epi16(
            _mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), _mm_unpacklo_epi8(m, zero)), bias);
        __m128i hi = _mm_add_epi16(
            _mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), _mm_unpackhi_epi8(m, zero)), bias);
        lo = _mm_mulhi_epu16(lo, scale);
        hi = _mm_mulhi_epu16(hi, scale);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < count; ++i) {
        pixels[i] = Modulate(pixels[i], multipliers[i]);
    }
}

void ModulateConstant(std::uint32_t* pixels, int count, std::uint32_t multiplier) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i m16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(multiplier)), zero);
    const __m128i bias = _mm_set1_epi16(128);
    for (; i + 4 <= count; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), m16), bias);
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), m16), bias);
        lo = _mm_mulhi_epu16(lo, _mm_set1_epi16(257));
        hi = _mm_mulhi_epu16(hi, _mm_set1_epi16(257));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < count; ++i) {
        pixels[i] = Modulate(pixels[i], multiplier);
    }
}

#if defined(__SSE2__)
template <DWORD kFactor>
inline __m128i FactorOf(__m128i s, __m128i d) {
    const __m128i full = _mm_set1_epi16(255);
    if constexpr (kFactor == D3DBLEND_ZERO) {
        return _mm_setzero_si128();
    } else if constexpr (kFactor == D3DBLEND_ONE) {
        return full;
    } else if constexpr (kFactor == D3DBLEND_SRCCOLOR) {
        return s;
    } else if constexpr (kFactor == D3DBLEND_INVSRCCOLOR) {
        return _mm_sub_epi16(full, s);
    } else if constexpr (kFactor == D3DBLEND_SRCALPHA || kFactor == D3DBLEND_INVSRCALPHA) {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
        return kFactor == D3DBLEND_SRCALPHA ? a : _mm_sub_epi16(full, a);
    } else if constexpr (kFactor == D3DBLEND_DESTCOLOR) {
        return d;
    } else {
        static_assert(kFactor == D3DBLEND_INVDESTCOLOR);
        return _mm_sub_epi16(full, d);
    }
}

// Div255 on 16-bit lanes: ((x + 128) * 257) >> 16 equals ((t + (t >> 8)) >> 8) for t = x + 128.
inline __m128i Div255Epi16(__m128i x) {
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

// Blends one half (two pixels in 16-bit lanes); the sum stays in 16 bits and packus saturates it.
template <DWORD kSrc, DWORD kDst>
inline __m128i BlendHalf(__m128i s, __m128i d) {
    if constexpr (kSrc == D3DBLEND_SRCALPHA && kDst == D3DBLEND_INVSRCALPHA) {
        const __m128i a = FactorOf<D3DBLEND_SRCALPHA>(s, d);
        const __m128i sum = _mm_add_epi16(
            _mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(_mm_set1_epi16(255), a)));
        return Div255Epi16(sum);
    } else {
        const __m128i sterm = Div255Epi16(_mm_mullo_epi16(s, FactorOf<kSrc>(s, d)));
        const __m128i dterm = Div255Epi16(_mm_mullo_epi16(d, FactorOf<kDst>(s, d)));
        return _mm_add_epi16(sterm, dterm);
    }
}

// Blends src over dst in place (A8R8G8B8 values); pixels whose mask byte is 0 keep dst.
template <DWORD kSrc, DWORD kDst>
void BlendRun(const std::uint32_t* src, std::uint32_t* dst, const std::uint8_t* mask, int count,
              std::uint32_t orMask) {
    int i = CpuHasAvx2() ? BlendRunAvx2<kSrc, kDst>(src, dst, mask, count, orMask) : 0;
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaOr = _mm_set1_epi32(static_cast<int>(orMask));
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i lo =
            BlendHalf<kSrc, kDst>(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i hi =
            BlendHalf<kSrc, kDst>(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        __m128i out = _mm_or_si128(_mm_packus_epi16(lo, hi), alphaOr);
        if (mask != nullptr) {
            std::uint32_t m;
            std::memcpy(&m, mask + i, 4);
            const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(m));
            const __m128i words = _mm_unpacklo_epi8(bytes, bytes);
            const __m128i keep = _mm_cmpeq_epi32(_mm_unpacklo_epi16(words, words), zero);
            out = _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, out));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
    for (; i < count; ++i) {
        if (mask != nullptr && mask[i] == 0) {
            continue;
        }
        const __m128i s = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(src[i])), zero);
        const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(dst[i])), zero);
        const __m128i r = BlendHalf<kSrc, kDst>(s, d);
        dst[i] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(r, r))) | orMask;
    }
}

using BlendRunFn = void (*)(const std::uint32_t*, std::uint32_t*, const std::uint8_t*, int,
                            std::uint32_t);

// The factor pairs the game draws with.
BlendRunFn FindBlendRun(DWORD src, DWORD dst) {
    struct Entry {
        DWORD src;
        DWORD dst;
        BlendRunFn fn;
    };
    static constexpr Entry kEntries[] = {
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
         BlendRun<D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA>},
        {D3DBLEND_ONE, D3DBLEND_ONE, BlendRun<D3DBLEND_ONE, D3DBLEND_ONE>},
        {D3DBLEND_ONE, D3DBLEND_ZERO, BlendRun<D3DBLEND_ONE, D3DBLEND_ZERO>},
        {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR, BlendRun<D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR>},
        {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, BlendRun<D3DBLEND_ZERO, D3DBLEND_SRCCOLOR>},
        {D3DBLEND_SRCALPHA, D3DBLEND_ONE, BlendRun<D3DBLEND_SRCALPHA, D3DBLEND_ONE>},
        {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO, BlendRun<D3DBLEND_DESTCOLOR, D3DBLEND_ZERO>},
    };
    for (const Entry& e : kEntries) {
        if (e.src == src && e.dst == dst) {
            return e.fn;
        }
    }
    return nullptr;
}
#endif

void BlendRunScalar(const PipelineState& state, const std::uint32_t* src, std::uint32_t* dst,
                    const std::uint8_t* mask, int count, std::uint32_t orMask) {
    for (int i = 0; i < count; ++i) {
        if (mask == nullptr || mask[i] != 0) {
            dst[i] = BlendPixel(state, src[i], dst[i]) | orMask;
        }
    }
}

// Blends the chunk into A8R8G8B8 values (a copy of the target's pixels, or the target itself).
void BlendInto(const PipelineState& state, const std::uint32_t* src, std::uint32_t* dst,
               const std::uint8_t* mask, int count, std::uint32_t orMask) {
    if (!state.blend) {
        for (int i = 0; i < count; ++i) {
            if (mask == nullptr || mask[i] != 0) {
                dst[i] = src[i] | orMask;
            }
        }
        return;
    }
#if defined(__SSE2__)
    if (state.blendOp == D3DBLENDOP_ADD) {
        if (BlendRunFn fn = FindBlendRun(state.srcBlend, state.destBlend)) {
            fn(src, dst, mask, count, orMask);
            return;
        }
    }
#endif
    BlendRunScalar(state, src, dst, mask, count, orMask);
}

// mask[i] = 1 where depthOf(i) passes the test against cells[i], else 0; returns how many pass.
// One loop per comparison, so that each is a plain vector loop.
template <typename DepthOf, typename Test>
int DepthMaskWith(DepthOf depthOf, const std::uint32_t* cells, int count, std::uint8_t* mask,
                  Test test) {
    int passed = 0;
    for (int i = 0; i < count; ++i) {
        mask[i] = test(depthOf(i), cells[i]) ? 1 : 0;
        passed += mask[i];
    }
    return passed;
}

template <typename DepthOf>
int DepthMask(DWORD func, DepthOf depthOf, const std::uint32_t* cells, int count,
              std::uint8_t* mask) {
    using U = std::uint32_t;
    switch (func) {
        case D3DCMP_LESS:
            return DepthMaskWith(depthOf, cells, count, mask, [](U v, U r) { return v < r; });
        case D3DCMP_LESSEQUAL:
            return DepthMaskWith(depthOf, cells, count, mask, [](U v, U r) { return v <= r; });
        case D3DCMP_EQUAL:
            return DepthMaskWith(depthOf, cells, count, mask, [](U v, U r) { return v == r; });
        case D3DCMP_GREATER:
            return DepthMaskWith(depthOf, cells, count, mask, [](U v, U r) { return v > r; });
        case D3DCMP_NOTEQUAL:
            return DepthMaskWith(depthOf, cells, count, mask, [](U v, U r) { return v != r; });
        case D3DCMP_GREATEREQUAL:
            return DepthMaskWith(depthOf, cells, count, mask, [](U v, U r) { return v >= r; });
        default:
            return DepthMaskWith(depthOf, cells, count, mask,
                                 [func](U v, U r) { return Compare(func, v, r); });
    }
}

// The depth test of `count` cells: the mask of the pixels that pass (and the depths they write
// when writing is on); returns how many pass.
template <typename DepthOf>
int TestDepths(const PipelineState& state, DepthOf depthOf, std::uint32_t* cells, int count,
               std::uint8_t* mask) {
    const int passed = DepthMask(state.zFunc, depthOf, cells, count, mask);
    if (state.zWrite && passed > 0) {
        for (int i = 0; i < count; ++i) {
            cells[i] = mask[i] != 0 ? depthOf(i) : cells[i];
        }
    }
    return passed;
}

// Blends a run into the target through A8R8G8B8 values; pixels the depth test rejects keep
// their stored bytes.
void BlendConverted(const PipelineState& state, const std::uint32_t* colours, std::uint8_t* pixels,
                    const std::uint8_t* mask, int count) {
    alignas(16) std::uint32_t target[kChunk];
    RowToArgb(state.target.format, pixels, target, count);
    BlendInto(state, colours, target, mask, count, 0);
    RowFromArgbMasked(state.target.format, target, pixels, mask, count);
}

// Writes a chunk into a target that is not blended in place (a 16-bit one, or X8R8G8B8 under a
// blend that reads the target's alpha); into a 16-bit one, the game's blends go straight.
void StoreConverted(const PipelineState& state, const std::uint32_t* colours, std::uint8_t* pixels,
                    const std::uint8_t* mask, int count) {
    if (!state.blend) {
        RowFromArgbMasked(state.target.format, colours, pixels, mask, count);
    } else if (state.blendOp != D3DBLENDOP_ADD ||
               !RowBlend(state.target.format, state.srcBlend, state.destBlend, colours, pixels,
                         mask, count)) {
        BlendConverted(state, colours, pixels, mask, count);
    }
}

// Texels of the chunk. Returns where they are: straight in the texture when the row maps one
// texel to one pixel, else in `out`.
const std::uint32_t* FetchTexels(const PipelineState& state, const TriangleSetup& setup, int x,
                                 int y, int count, std::uint32_t* out) {
    const SamplerView& view = state.sampler;
    if (setup.perspective) {
        alignas(16) std::int32_t ss[kChunk];
        alignas(16) std::int32_t ts[kChunk];
        const PerspectiveRow row = PerspectiveRowAt(setup, y);
        for (int i = 0; i < count; ++i) {
            if (!PerspectiveTexel(setup, row, x + i, &ss[i], &ts[i])) {
                ss[i] = setup.s.At32(x + i, y);
                ts[i] = setup.t.At32(x + i, y);
            }
        }
        if (setup.linearFilter) {
            FetchLinearPoints(view, ss, ts, count, out);
        } else {
            for (int i = 0; i < count; ++i) {
                out[i] = SamplePoint(view, ss[i], ts[i]);
            }
        }
        return out;
    }
    const std::int32_t s0 = setup.s.At32(x, y);
    const std::int32_t t0 = setup.t.At32(x, y);
    const auto ds = static_cast<std::uint32_t>(setup.s.dx);
    const auto dt = static_cast<std::uint32_t>(setup.t.dx);
    if (setup.s.dx == 65536 && setup.t.dx == 0) {
        // With zero weights and the run inside the texture, addressing changes nothing.
        bool aligned = true;
        std::int32_t sx = s0;
        std::int32_t ty = t0;
        if (setup.linearFilter) {
            sx = static_cast<std::int32_t>(static_cast<std::uint32_t>(s0) - 0x8000u);
            ty = static_cast<std::int32_t>(static_cast<std::uint32_t>(t0) - 0x8000u);
            aligned = ((static_cast<std::uint32_t>(sx) >> 9) & 0x7F) == 0 &&
                      ((static_cast<std::uint32_t>(ty) >> 9) & 0x7F) == 0;
        }
        const int ix = sx >> 16;
        const int iy = ty >> 16;
        if (aligned && ix >= 0 && ix <= view.width - count && iy >= 0 && iy < view.height) {
            const std::uint32_t* row =
                view.texels + static_cast<std::ptrdiff_t>(iy) * view.pitch + ix;
            if (view.alphaOr == 0) {
                return row;
            }
            for (int i = 0; i < count; ++i) {
                out[i] = row[i] | view.alphaOr;
            }
            return out;
        }
    }
    auto s = static_cast<std::uint32_t>(s0);
    auto t = static_cast<std::uint32_t>(t0);
    const auto width = static_cast<std::uint32_t>(view.width);
    const auto height = static_cast<std::uint32_t>(view.height);
    if (setup.linearFilter) {
        FetchLinearRun(view, s, t, ds, dt, count, out,
                       CpuHasAvx2() ? &FetchInsideAvx2 : &FetchInsideSse2);
        if (view.alphaOr != 0) {
            for (int i = 0; i < count; ++i) {
                out[i] |= view.alphaOr;
            }
        }
    } else {
        if (dt == 0) {
            // Along a row of an upright quad: when both ends of the run lie inside the texture
            // (without leaving 32 bits on the way), every sample does.
            const auto py = static_cast<std::uint32_t>(static_cast<std::int32_t>(t) >> 16);
            const std::int64_t sEnd = std::int64_t{static_cast<std::int32_t>(s)} +
                                      std::int64_t{count - 1} * static_cast<std::int32_t>(ds);
            if (py < height && sEnd == static_cast<std::int32_t>(sEnd) &&
                static_cast<std::uint32_t>(static_cast<std::int32_t>(s) >> 16) < width &&
                static_cast<std::uint32_t>(static_cast<std::int32_t>(sEnd) >> 16) < width) {
                const std::uint32_t* row =
                    view.texels + static_cast<std::ptrdiff_t>(py) * view.pitch;
                for (int i = 0; i < count; ++i, s += ds) {
                    out[i] = row[static_cast<std::int32_t>(s) >> 16] | view.alphaOr;
                }
                return out;
            }
        }
        for (int i = 0; i < count; ++i, s += ds, t += dt) {
            const auto px = static_cast<std::uint32_t>(static_cast<std::int32_t>(s) >> 16);
            const auto py = static_cast<std::uint32_t>(static_cast<std::int32_t>(t) >> 16);
            out[i] =
                px < width && py < height
                    ? view.texels[static_cast<std::ptrdiff_t>(py) * view.pitch + px] | view.alphaOr
                    : SamplePoint(view, static_cast<std::int32_t>(s), static_cast<std::int32_t>(t));
        }
    }
    return out;
}

// The stage's output for the chunk: a pointer to `count` colours (in `buffer`, or straight in
// the texture when nothing changes them).
const std::uint32_t* SourceColours(const PipelineState& state, const TriangleSetup& setup, int x,
                                   int y, int count, std::uint32_t* buffer) {
    if (!state.hasTexture) {
        DiffuseRun(setup, x, y, count, buffer);
        return buffer;
    }
    const std::uint32_t* texels = FetchTexels(state, setup, x, y, count, buffer);
    std::uint32_t multiplier = 0;
    if (ConstantStageMultiplier(state, setup, &multiplier)) {
        if (multiplier == 0xFFFFFFFFu) {
            return texels;
        }
        if (texels != buffer) {
            std::memcpy(buffer, texels, static_cast<std::size_t>(count) * 4);
        }
        ModulateConstant(buffer, count, multiplier);
        return buffer;
    }
    alignas(16) std::uint32_t diffuse[kChunk];
    DiffuseRun(setup, x, y, count, diffuse);
    StageShape shape{};
    if (TexelTimesDiffuse(state, &shape)) {
        for (int i = 0; i < count; ++i) {
            diffuse[i] = MultiplierOf(shape, diffuse[i]);
        }
        if (texels != buffer) {
            std::memcpy(buffer, texels, static_cast<std::size_t>(count) * 4);
        }
        ModulateRun(buffer, diffuse, count);
        return buffer;
    }
    for (int i = 0; i < count; ++i) {
        buffer[i] = CombineStage(state, texels[i], diffuse[i]);
    }
    return buffer;
}

}  // namespace

bool SpanPathSupports(const PipelineState& state, const TriangleSetup&) {
    if (state.alphaTest || state.colorWriteMask != 0xF) {
        return false;
    }
    return BytesPerPixel(state.target.format) != 0;
}

void ShadeSpan(const PipelineState& state, const TriangleSetup& setup, int y, int first, int last) {
    alignas(16) std::uint32_t src[kChunk];
    alignas(16) std::uint8_t mask[kChunk];
    const bool depthTest = state.zEnable && state.depth.values != nullptr;
    const bool flatDepth = setup.z.Constant();
    const std::uint32_t depth = depthTest ? DepthAt(setup, 0, 0) : 0;
    alignas(16) std::uint32_t depths[kChunk];
    const int bpp = BytesPerPixel(state.target.format);
    const bool direct =
        state.target.format == D3DFMT_A8R8G8B8 || state.target.format == D3DFMT_X8R8G8B8;
    const std::uint32_t orMask = state.target.format == D3DFMT_X8R8G8B8 ? 0xFF000000u : 0u;
    const bool readsDestAlpha =
        state.blend &&
        (state.srcBlend == D3DBLEND_DESTALPHA || state.srcBlend == D3DBLEND_INVDESTALPHA ||
         state.destBlend == D3DBLEND_DESTALPHA || state.destBlend == D3DBLEND_INVDESTALPHA);
    std::uint8_t* row = state.target.bits + static_cast<std::ptrdiff_t>(y) * state.target.pitch;

    for (int x = first; x < last; x += kChunk) {
        const int count = last - x < kChunk ? last - x : kChunk;
        const std::uint8_t* chunkMask = nullptr;
        // Pixels of the chunk that the depth buffer covers.
        const int covered =
            !depthTest || y >= state.depth.height ? 0 : std::clamp(state.depth.width - x, 0, count);
        if (covered > 0) {
            std::uint32_t* cells =
                state.depth.values + static_cast<std::ptrdiff_t>(y) * state.depth.pitch + x;
            int passed = count - covered;
            if (flatDepth) {
                passed += TestDepths(
                    state, [depth](int) { return depth; }, cells, covered, mask);
            } else {
                std::int64_t plane = setup.z.At(x, y);
                for (int i = 0; i < covered; ++i, plane += setup.z.dx) {
                    depths[i] = DepthFromPlane(plane, setup.depthMax);
                }
                passed += TestDepths(
                    state, [&depths](int i) { return depths[i]; }, cells, covered, mask);
            }
            std::fill(mask + covered, mask + count, std::uint8_t{1});
            if (passed == 0) {
                continue;
            }
            if (passed < count) {
                chunkMask = mask;
            }
        }
        const std::uint32_t* colours = SourceColours(state, setup, x, y, count, src);
        std::uint8_t* pixels = row + static_cast<std::ptrdiff_t>(x) * bpp;
        if (direct && (orMask == 0 || !readsDestAlpha)) {
            // In place: an X8R8G8B8 target's stored alpha then reaches only the alpha channel,
            // which is set opaque. Rows of 4-byte pixels are 4-byte aligned.
            BlendInto(state, colours, reinterpret_cast<std::uint32_t*>(pixels), chunkMask, count,
                      orMask);
        } else {
            StoreConverted(state, colours, pixels, chunkMask, count);
        }
    }
}

}  // namespace d3d9_internal
