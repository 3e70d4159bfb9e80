#pragma once
// The loops of the row conversions (pixel_rows.cpp), written once over a register type: Sse2
// here, Avx2 in pixel_rows_avx2.cpp (a file built for AVX2, whose kernels run only where the
// processor has it). The loops have internal linkage, so that each file keeps its own code.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/d3d9/d3d9_types.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3d9_internal {

// The factor pairs (added) that blend straight into a 16-bit target: those the game draws with.
struct BlendPair {
    DWORD src;
    DWORD dst;
};
constexpr BlendPair kDirectBlends[] = {
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
    {D3DBLEND_ONE, D3DBLEND_ONE},
    {D3DBLEND_ONE, D3DBLEND_ZERO},
    {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},
    {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
    {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO},
};
constexpr int kDirectBlendCount = static_cast<int>(sizeof kDirectBlends / sizeof kDirectBlends[0]);

// Row kernels of one 16-bit format: `from` and `blend` leave the pixels whose mask byte is 0
// (mask null: none) as they are stored; blend[i] blends with the factors kDirectBlends[i].
using ToArgbRowFn = void (*)(const std::uint8_t* source, std::uint32_t* dest, int count);
using FromArgbRowFn = void (*)(const std::uint32_t* source, std::uint8_t* dest,
                               const std::uint8_t* mask, int count);
struct RowKernels {
    D3DFORMAT format;
    ToArgbRowFn to;
    FromArgbRowFn from;
    FromArgbRowFn blend[kDirectBlendCount];
};

// The AVX2 kernels of a 16-bit format; null for another format or without AVX2 code.
const RowKernels* Avx2RowKernels(D3DFORMAT format);

#if defined(__SSE2__)
namespace {

// Where a 16-bit format keeps its channels: shift and width of each (alpha width 0: none, read
// as opaque), and the unused bits that every write sets.
struct Layout16 {
    int aShift, aBits, rShift, rBits, gShift, gBits, bShift, bBits;
    std::uint16_t fixed;
};

constexpr Layout16 LayoutOf(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_R5G6B5:
            return {0, 0, 11, 5, 5, 6, 0, 5, 0};
        case D3DFMT_X1R5G5B5:
            return {0, 0, 10, 5, 5, 5, 0, 5, 0x8000};
        case D3DFMT_A1R5G5B5:
            return {15, 1, 10, 5, 5, 5, 0, 5, 0};
        case D3DFMT_A4R4G4B4:
            return {12, 4, 8, 4, 4, 4, 0, 4, 0};
        default:  // X4R4G4B4
            return {0, 0, 8, 4, 4, 4, 0, 4, 0xF000};
    }
}

// Vector operations on 16-bit lanes; each step handles one register of 16-bit pixels (kLanes of
// them) and two of A8R8G8B8 ones.
#define QVN_ROWS_INLINE __attribute__((always_inline)) inline

struct Sse2 {
    using V = __m128i;
    static constexpr int kLanes = 8;
    static QVN_ROWS_INLINE V Set(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
    static QVN_ROWS_INLINE V Load(const void* p) {
        return _mm_loadu_si128(static_cast<const __m128i*>(p));
    }
    static QVN_ROWS_INLINE void Store(void* p, V v) {
        _mm_storeu_si128(static_cast<__m128i*>(p), v);
    }
    static QVN_ROWS_INLINE V And(V a, V b) { return _mm_and_si128(a, b); }
    static QVN_ROWS_INLINE V Or(V a, V b) { return _mm_or_si128(a, b); }
    static QVN_ROWS_INLINE V Sub(V a, V b) { return _mm_sub_epi16(a, b); }
    static QVN_ROWS_INLINE V Add(V a, V b) { return _mm_add_epi16(a, b); }
    static QVN_ROWS_INLINE V MulLo(V a, V b) { return _mm_mullo_epi16(a, b); }
    static QVN_ROWS_INLINE V MulHi(V a, V b) { return _mm_mulhi_epu16(a, b); }
    static QVN_ROWS_INLINE V Min(V a, V b) { return _mm_min_epi16(a, b); }
    static QVN_ROWS_INLINE bool AllEqual(V v, int value) {
        return _mm_movemask_epi8(_mm_cmpeq_epi16(v, Set(value))) == 0xFFFF;
    }
    template <int kCount>
    static QVN_ROWS_INLINE V Shl(V v) {
        return _mm_slli_epi16(v, kCount);
    }
    template <int kCount>
    static QVN_ROWS_INLINE V Shr(V v) {
        return _mm_srli_epi16(v, kCount);
    }
    // Pixels i of `lo` and `hi` (16-bit halves) as A8R8G8B8 values, in order.
    static QVN_ROWS_INLINE void Interleave(V lo, V hi, V* first, V* second) {
        *first = _mm_unpacklo_epi16(lo, hi);
        *second = _mm_unpackhi_epi16(lo, hi);
    }
    // The low and the high 16 bits of two registers of A8R8G8B8 values, in order.
    static QVN_ROWS_INLINE void Split(V first, V second, V* lo, V* hi) {
        *lo = _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(first, 16), 16),
                              _mm_srai_epi32(_mm_slli_epi32(second, 16), 16));
        *hi = _mm_packs_epi32(_mm_srai_epi32(first, 16), _mm_srai_epi32(second, 16));
    }
    // All ones where the mask byte of the lane is 0.
    static QVN_ROWS_INLINE V KeepWhereZero(const std::uint8_t* mask) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mask));
        return _mm_cmpeq_epi16(_mm_unpacklo_epi8(bytes, _mm_setzero_si128()), _mm_setzero_si128());
    }
    static QVN_ROWS_INLINE V Select(V keep, V old, V fresh) {
        return _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, fresh));
    }
};

// A channel of `kBits` at `kShift` widened to 8 bits by bit replication.
template <typename S, int kShift, int kBits>
QVN_ROWS_INLINE typename S::V WidenChannel(typename S::V v) {
    const auto c = S::And(S::template Shr<kShift>(v), S::Set((1 << kBits) - 1));
    if constexpr (kBits == 1) {
        return S::Sub(S::template Shl<8>(c), c);
    } else {
        return S::Or(S::template Shl<8 - kBits>(c), S::template Shr<2 * kBits - 8>(c));
    }
}

// An 8-bit channel narrowed to `kBits` with rounding to nearest, (x * max + 127) / 255, taken as
// ((x + bias) * scale) >> 16, which gives the same for every x from 0 to 255.
template <typename S, int kBits>
QVN_ROWS_INLINE typename S::V NarrowChannel(typename S::V x) {
    if constexpr (kBits == 1) {
        return S::template Shr<7>(x);
    } else {
        static_assert(kBits >= 4 && kBits <= 6);
        constexpr int kBias = kBits == 4 ? 8 : kBits == 5 ? 4 : 2;
        constexpr int kScale = kBits == 4 ? 3856 : kBits == 5 ? 7971 : 16192;
        return S::MulHi(S::Add(x, S::Set(kBias)), S::Set(kScale));
    }
}

template <typename S, D3DFORMAT kFormat>
QVN_ROWS_INLINE void ToArgbStep(const void* source, std::uint32_t* dest) {
    constexpr Layout16 L = LayoutOf(kFormat);
    const auto v = S::Load(source);
    const auto b = WidenChannel<S, L.bShift, L.bBits>(v);
    const auto g = WidenChannel<S, L.gShift, L.gBits>(v);
    const auto r = WidenChannel<S, L.rShift, L.rBits>(v);
    typename S::V a;
    if constexpr (L.aBits == 0) {
        a = S::Set(255);
    } else {
        a = WidenChannel<S, L.aShift, L.aBits>(v);
    }
    typename S::V first;
    typename S::V second;
    S::Interleave(S::Or(b, S::template Shl<8>(g)), S::Or(r, S::template Shl<8>(a)), &first,
                  &second);
    S::Store(dest, first);
    S::Store(dest + S::kLanes / 2, second);
}

// Channels (8-bit values in 16-bit lanes) narrowed and packed into the format.
template <typename S, D3DFORMAT kFormat>
QVN_ROWS_INLINE typename S::V Pack(typename S::V b, typename S::V g, typename S::V r,
                                   typename S::V a) {
    constexpr Layout16 L = LayoutOf(kFormat);
    auto out = S::Set(L.fixed);
    out = S::Or(out, S::template Shl<L.bShift>(NarrowChannel<S, L.bBits>(b)));
    out = S::Or(out, S::template Shl<L.gShift>(NarrowChannel<S, L.gBits>(g)));
    out = S::Or(out, S::template Shl<L.rShift>(NarrowChannel<S, L.rBits>(r)));
    if constexpr (L.aBits != 0) {
        out = S::Or(out, S::template Shl<L.aShift>(NarrowChannel<S, L.aBits>(a)));
    } else {
        (void)a;
    }
    return out;
}

// The channels of one register's worth of A8R8G8B8 values.
template <typename S>
struct Channels {
    typename S::V b, g, r, a;
};

template <typename S>
QVN_ROWS_INLINE Channels<S> ChannelsOf(const std::uint32_t* source) {
    typename S::V lo;
    typename S::V hi;
    S::Split(S::Load(source), S::Load(source + S::kLanes / 2), &lo, &hi);
    const auto byte = S::Set(0xFF);
    return {S::And(lo, byte), S::template Shr<8>(lo), S::And(hi, byte), S::template Shr<8>(hi)};
}

// Div255 as the blend computes it: ((x + 128) * 257) >> 16.
template <typename S>
QVN_ROWS_INLINE typename S::V Div255(typename S::V x) {
    return S::MulHi(S::Add(x, S::Set(128)), S::Set(257));
}

// A blend factor for one channel: the source's value of it `s`, the source alpha `sa` and the
// target's value `d`.
template <typename S, DWORD kFactor>
QVN_ROWS_INLINE typename S::V FactorOf(typename S::V s, typename S::V sa, typename S::V d) {
    if constexpr (kFactor == D3DBLEND_SRCCOLOR) {
        return s;
    } else if constexpr (kFactor == D3DBLEND_INVSRCCOLOR) {
        return S::Sub(S::Set(255), s);
    } else if constexpr (kFactor == D3DBLEND_SRCALPHA) {
        return sa;
    } else if constexpr (kFactor == D3DBLEND_INVSRCALPHA) {
        return S::Sub(S::Set(255), sa);
    } else if constexpr (kFactor == D3DBLEND_DESTCOLOR) {
        return d;
    } else {
        static_assert(kFactor == D3DBLEND_INVDESTCOLOR);
        return S::Sub(S::Set(255), d);
    }
}

// One term of the blend, Div255(x * factor); a factor of 0 or 255 gives 0 or x.
template <typename S, DWORD kFactor>
QVN_ROWS_INLINE typename S::V TermOf(typename S::V x, typename S::V s, typename S::V sa,
                                     typename S::V d) {
    if constexpr (kFactor == D3DBLEND_ZERO) {
        return S::Set(0);
    } else if constexpr (kFactor == D3DBLEND_ONE) {
        return x;
    } else {
        return Div255<S>(S::MulLo(x, FactorOf<S, kFactor>(s, sa, d)));
    }
}

// One channel blended as the A8R8G8B8 blend computes it: source alpha over inverse source alpha
// as Div255 of the whole sum, any other pair as the sum of the two terms saturated at 255.
template <typename S, DWORD kSrc, DWORD kDst>
QVN_ROWS_INLINE typename S::V BlendChannel(typename S::V s, typename S::V sa, typename S::V d) {
    if constexpr (kSrc == D3DBLEND_SRCALPHA && kDst == D3DBLEND_INVSRCALPHA) {
        return Div255<S>(S::Add(S::MulLo(s, sa), S::MulLo(d, S::Sub(S::Set(255), sa))));
    } else if constexpr (kSrc == D3DBLEND_ZERO || kDst == D3DBLEND_ZERO) {
        return S::Add(TermOf<S, kSrc>(s, s, sa, d), TermOf<S, kDst>(d, s, sa, d));
    } else {
        return S::Min(S::Add(TermOf<S, kSrc>(s, s, sa, d), TermOf<S, kDst>(d, s, sa, d)),
                      S::Set(255));
    }
}

// Steps of a row that writes the format: each sets `out` from the source values and the stored
// register's bytes, or answers false when they stay as they are.
template <typename S, D3DFORMAT kFormat>
struct FromArgbStep {
    QVN_ROWS_INLINE bool operator()(const std::uint32_t* source, const std::uint8_t*,
                                    typename S::V* out) const {
        const Channels<S> c = ChannelsOf<S>(source);
        *out = Pack<S, kFormat>(c.b, c.g, c.r, c.a);
        return true;
    }
};

// The source blended with the stored pixels, every channel (alpha too) as the A8R8G8B8 blend
// computes it on the pixels read as A8R8G8B8 (alpha 255 where the format has none). Where the
// source alpha settles it, a step of transparent source keeps the target and one of opaque source
// stores the source, as the sums give.
template <typename S, D3DFORMAT kFormat, DWORD kSrc, DWORD kDst>
struct BlendStep {
    static constexpr bool kReadsTarget =
        kDst != D3DBLEND_ZERO || kSrc == D3DBLEND_DESTCOLOR || kSrc == D3DBLEND_INVDESTCOLOR;
    // Sources that leave the target as it is: alpha 0 under the source-alpha pairs, channels of
    // 0 where they are added or darken, of 255 where they multiply.
    static constexpr bool kKeepOnClearAlpha =
        kSrc == D3DBLEND_SRCALPHA && (kDst == D3DBLEND_INVSRCALPHA || kDst == D3DBLEND_ONE);
    static constexpr bool kKeepOnZero = (kSrc == D3DBLEND_ONE && kDst == D3DBLEND_ONE) ||
                                        (kSrc == D3DBLEND_ZERO && kDst == D3DBLEND_INVSRCCOLOR);
    static constexpr bool kKeepOnFull = (kSrc == D3DBLEND_ZERO && kDst == D3DBLEND_SRCCOLOR) ||
                                        (kSrc == D3DBLEND_DESTCOLOR && kDst == D3DBLEND_ZERO);

    // True when every channel the format keeps is `value`.
    static QVN_ROWS_INLINE bool AllChannels(const Channels<S>& c, int value) {
        constexpr Layout16 L = LayoutOf(kFormat);
        return S::AllEqual(c.b, value) && S::AllEqual(c.g, value) && S::AllEqual(c.r, value) &&
               (L.aBits == 0 || S::AllEqual(c.a, value));
    }

    QVN_ROWS_INLINE bool operator()(const std::uint32_t* source, const std::uint8_t* stored,
                                    typename S::V* out) const {
        constexpr Layout16 L = LayoutOf(kFormat);
        Channels<S> c = ChannelsOf<S>(source);
        const bool keep = (kKeepOnClearAlpha && S::AllEqual(c.a, 0)) ||
                          (kKeepOnZero && AllChannels(c, 0)) ||
                          (kKeepOnFull && AllChannels(c, 255));
        if (keep) {
            // The target's channels come back as they are; the unused bits are set.
            if constexpr (L.fixed == 0) {
                return false;
            } else {
                *out = S::Or(S::Load(stored), S::Set(L.fixed));
                return true;
            }
        }
        if (kSrc == D3DBLEND_SRCALPHA && kDst == D3DBLEND_INVSRCALPHA && S::AllEqual(c.a, 255)) {
            *out = Pack<S, kFormat>(c.b, c.g, c.r, c.a);
            return true;
        }
        typename S::V db = S::Set(0);
        typename S::V dg = db;
        typename S::V dr = db;
        typename S::V da = S::Set(255);
        if constexpr (kReadsTarget) {
            const auto d = S::Load(stored);
            db = WidenChannel<S, L.bShift, L.bBits>(d);
            dg = WidenChannel<S, L.gShift, L.gBits>(d);
            dr = WidenChannel<S, L.rShift, L.rBits>(d);
            if constexpr (L.aBits != 0) {
                da = WidenChannel<S, L.aShift, L.aBits>(d);
            }
        }
        const auto sa = c.a;
        c.b = BlendChannel<S, kSrc, kDst>(c.b, sa, db);
        c.g = BlendChannel<S, kSrc, kDst>(c.g, sa, dg);
        c.r = BlendChannel<S, kSrc, kDst>(c.r, sa, dr);
        if constexpr (L.aBits != 0) {
            c.a = BlendChannel<S, kSrc, kDst>(c.a, sa, da);
        }
        *out = Pack<S, kFormat>(c.b, c.g, c.r, c.a);
        return true;
    }
};

// The steps over a whole row; the last few pixels go through a padded step.
template <typename S, D3DFORMAT kFormat>
QVN_ROWS_INLINE void ToArgbRow(const std::uint8_t* source, std::uint32_t* dest, int count) {
    int i = 0;
    for (; i + S::kLanes <= count; i += S::kLanes) {
        ToArgbStep<S, kFormat>(source + i * 2, dest + i);
    }
    if (i < count) {
        alignas(32) std::uint16_t in[S::kLanes] = {};
        alignas(32) std::uint32_t out[S::kLanes];
        std::memcpy(in, source + i * 2, static_cast<std::size_t>(count - i) * 2);
        ToArgbStep<S, kFormat>(in, out);
        std::memcpy(dest + i, out, static_cast<std::size_t>(count - i) * 4);
    }
}

// A row written by `Step`; pixels whose mask byte is 0 keep their stored bytes (mask null: none).
template <typename S, typename Step>
QVN_ROWS_INLINE void StoreRow(const std::uint32_t* source, std::uint8_t* dest,
                              const std::uint8_t* mask, int count) {
    int i = 0;
    typename S::V out;
    for (; i + S::kLanes <= count; i += S::kLanes) {
        std::uint8_t* stored = dest + i * 2;
        if (Step()(source + i, stored, &out)) {
            if (mask != nullptr) {
                out = S::Select(S::KeepWhereZero(mask + i), S::Load(stored), out);
            }
            S::Store(stored, out);
        }
    }
    if (i < count) {
        const auto left = static_cast<std::size_t>(count - i);
        alignas(32) std::uint32_t in[S::kLanes] = {};
        alignas(32) std::uint16_t stored[S::kLanes] = {};
        alignas(32) std::uint8_t keep[S::kLanes] = {};
        std::memcpy(in, source + i, left * 4);
        std::memcpy(stored, dest + i * 2, left * 2);
        if (mask != nullptr) {
            std::memcpy(keep, mask + i, left);
        }
        const auto* storedBytes = reinterpret_cast<const std::uint8_t*>(stored);
        if (Step()(in, storedBytes, &out)) {
            if (mask != nullptr) {
                out = S::Select(S::KeepWhereZero(keep), S::Load(stored), out);
            }
            S::Store(stored, out);
            std::memcpy(dest + i * 2, stored, left * 2);
        }
    }
}

// The kernels of a 16-bit format for register type S, each a function of its own (as profiles
// name them).
template <typename S, D3DFORMAT kFormat>
void ToArgbKernel(const std::uint8_t* source, std::uint32_t* dest, int count) {
    ToArgbRow<S, kFormat>(source, dest, count);
}

template <typename S, D3DFORMAT kFormat>
void FromArgbKernel(const std::uint32_t* source, std::uint8_t* dest, const std::uint8_t* mask,
                    int count) {
    StoreRow<S, FromArgbStep<S, kFormat>>(source, dest, mask, count);
}

template <typename S, D3DFORMAT kFormat, DWORD kSrc, DWORD kDst>
void BlendKernel(const std::uint32_t* source, std::uint8_t* dest, const std::uint8_t* mask,
                 int count) {
    StoreRow<S, BlendStep<S, kFormat, kSrc, kDst>>(source, dest, mask, count);
}

template <typename S, D3DFORMAT kFormat, std::size_t... kPair>
constexpr RowKernels KernelsFor(std::index_sequence<kPair...>) {
    return RowKernels{
        kFormat,
        ToArgbKernel<S, kFormat>,
        FromArgbKernel<S, kFormat>,
        {BlendKernel<S, kFormat, kDirectBlends[kPair].src, kDirectBlends[kPair].dst>...}};
}

// The kernels of every 16-bit format.
template <typename S>
constexpr RowKernels kKernelsOf[] = {
    KernelsFor<S, D3DFMT_R5G6B5>(std::make_index_sequence<kDirectBlendCount>()),
    KernelsFor<S, D3DFMT_X1R5G5B5>(std::make_index_sequence<kDirectBlendCount>()),
    KernelsFor<S, D3DFMT_A1R5G5B5>(std::make_index_sequence<kDirectBlendCount>()),
    KernelsFor<S, D3DFMT_A4R4G4B4>(std::make_index_sequence<kDirectBlendCount>()),
    KernelsFor<S, D3DFMT_X4R4G4B4>(std::make_index_sequence<kDirectBlendCount>()),
};

}  // namespace
#endif
}  // namespace d3d9_internal
