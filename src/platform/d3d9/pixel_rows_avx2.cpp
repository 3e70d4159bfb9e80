// The row conversions' AVX2 kernels: the loops of pixel_rows_simd.h over 256-bit registers, 16
// pixels a step. This file alone is built for AVX2; its code runs only where the processor has
// it (CpuHasAvx2).

#include "platform/d3d9/pixel_rows_simd.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace d3d9_internal {
namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr int kLanes = 16;
    static QVN_ROWS_INLINE V Set(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
    static QVN_ROWS_INLINE V Load(const void* p) {
        return _mm256_loadu_si256(static_cast<const __m256i*>(p));
    }
    static QVN_ROWS_INLINE void Store(void* p, V v) {
        _mm256_storeu_si256(static_cast<__m256i*>(p), v);
    }
    static QVN_ROWS_INLINE V And(V a, V b) { return _mm256_and_si256(a, b); }
    static QVN_ROWS_INLINE V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static QVN_ROWS_INLINE V Sub(V a, V b) { return _mm256_sub_epi16(a, b); }
    static QVN_ROWS_INLINE V Add(V a, V b) { return _mm256_add_epi16(a, b); }
    static QVN_ROWS_INLINE V MulLo(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static QVN_ROWS_INLINE V MulHi(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    static QVN_ROWS_INLINE V Min(V a, V b) { return _mm256_min_epi16(a, b); }
    static QVN_ROWS_INLINE bool AllEqual(V v, int value) {
        return _mm256_movemask_epi8(_mm256_cmpeq_epi16(v, Set(value))) == -1;
    }
    template <int kCount>
    static QVN_ROWS_INLINE V Shl(V v) {
        return _mm256_slli_epi16(v, kCount);
    }
    template <int kCount>
    static QVN_ROWS_INLINE V Shr(V v) {
        return _mm256_srli_epi16(v, kCount);
    }
    // Unpacking and packing work within 128-bit halves: the quarters are put in order around it.
    static QVN_ROWS_INLINE void Interleave(V lo, V hi, V* first, V* second) {
        lo = _mm256_permute4x64_epi64(lo, 0xD8);
        hi = _mm256_permute4x64_epi64(hi, 0xD8);
        *first = _mm256_unpacklo_epi16(lo, hi);
        *second = _mm256_unpackhi_epi16(lo, hi);
    }
    static QVN_ROWS_INLINE void Split(V first, V second, V* lo, V* hi) {
        *lo = _mm256_permute4x64_epi64(
            _mm256_packs_epi32(_mm256_srai_epi32(_mm256_slli_epi32(first, 16), 16),
                               _mm256_srai_epi32(_mm256_slli_epi32(second, 16), 16)),
            0xD8);
        *hi = _mm256_permute4x64_epi64(
            _mm256_packs_epi32(_mm256_srai_epi32(first, 16), _mm256_srai_epi32(second, 16)), 0xD8);
    }
    static QVN_ROWS_INLINE V KeepWhereZero(const std::uint8_t* mask) {
        const __m256i words =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mask)));
        return _mm256_cmpeq_epi16(words, _mm256_setzero_si256());
    }
    static QVN_ROWS_INLINE V Select(V keep, V old, V fresh) {
        return _mm256_or_si256(_mm256_and_si256(keep, old), _mm256_andnot_si256(keep, fresh));
    }
};

}  // namespace

const RowKernels* Avx2RowKernels(D3DFORMAT format) {
    for (const RowKernels& k : kKernelsOf<Avx2>) {
        if (k.format == format) {
            return &k;
        }
    }
    return nullptr;
}

}  // namespace d3d9_internal

#else

namespace d3d9_internal {

const RowKernels* Avx2RowKernels(D3DFORMAT) {
    return nullptr;
}

}  // namespace d3d9_internal

#endif
