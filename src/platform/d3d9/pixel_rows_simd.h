#pragma once
// The loops of the row conversions (pixel_rows.cpp), written once over a register type: Sse2
// here, Avx2 in pixel_rows_avx2.cpp (a file built for AVX2, whose kernels run only where the
// processor has it). Everything here has internal linkage, so each file keeps its own code.

#include <cstdint>
#include <cstring>

#include "platform/d3d9/d3d9_types.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3d9_internal {

// Row kernels of one 16-bit format: `from` and `over` leave the pixels whose mask byte is 0 (mask
// null: none) as they are stored.
using ToArgbRowFn = void (*)(const std::uint8_t* source, std::uint32_t* dest, int count);
using FromArgbRowFn = void (*)(const std::uint32_t* source, std::uint8_t* dest,
                               const std::uint8_t* mask, int count);
struct RowKernels {
    D3DFORMAT format;
    ToArgbRowFn to;
    FromArgbRowFn from;
    // The source blended over the row with its alpha (see RowSourceOver).
    FromArgbRowFn over;
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

// Div255(s * a + d * inverse), Div255 as the blend computes it: ((x + 128) * 257) >> 16.
template <typename S>
QVN_ROWS_INLINE typename S::V Mix(typename S::V s, typename S::V d, typename S::V a,
                                  typename S::V inverse) {
    const auto sum = S::Add(S::MulLo(s, a), S::MulLo(d, inverse));
    return S::MulHi(S::Add(sum, S::Set(128)), S::Set(257));
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

// The source over the stored pixels with the source alpha a, every channel (alpha too)
// Div255(s * a + d * (255 - a)) as the A8R8G8B8 blend computes it: a step of opaque source
// stores it, a transparent one leaves the target.
template <typename S, D3DFORMAT kFormat>
struct SourceOverStep {
    QVN_ROWS_INLINE bool operator()(const std::uint32_t* source, const std::uint8_t* stored,
                                    typename S::V* out) const {
        constexpr Layout16 L = LayoutOf(kFormat);
        Channels<S> c = ChannelsOf<S>(source);
        if (S::AllEqual(c.a, 0)) {
            return false;
        }
        if (!S::AllEqual(c.a, 255)) {
            const auto d = S::Load(stored);
            const auto inverse = S::Sub(S::Set(255), c.a);
            c.b = Mix<S>(c.b, WidenChannel<S, L.bShift, L.bBits>(d), c.a, inverse);
            c.g = Mix<S>(c.g, WidenChannel<S, L.gShift, L.gBits>(d), c.a, inverse);
            c.r = Mix<S>(c.r, WidenChannel<S, L.rShift, L.rBits>(d), c.a, inverse);
            if constexpr (L.aBits != 0) {
                c.a = Mix<S>(c.a, WidenChannel<S, L.aShift, L.aBits>(d), c.a, inverse);
            }
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

// The kernels of every 16-bit format for register type S.
#define QVN_ROW_KERNELS(S, format)                                                               \
    RowKernels {                                                                                 \
        format,                                                                                  \
            [](const std::uint8_t* source, std::uint32_t* dest, int count) {                     \
                ToArgbRow<S, format>(source, dest, count);                                       \
            },                                                                                   \
            [](const std::uint32_t* source, std::uint8_t* dest, const std::uint8_t* mask,        \
               int count) { StoreRow<S, FromArgbStep<S, format>>(source, dest, mask, count); },  \
            [](const std::uint32_t* source, std::uint8_t* dest, const std::uint8_t* mask,        \
               int count) { StoreRow<S, SourceOverStep<S, format>>(source, dest, mask, count); } \
    }

}  // namespace
#endif
}  // namespace d3d9_internal
