// AVX2 variants of the span routines' inner loops: 8 pixels per blend step, 2 bilinear samples
// per step. Integer arithmetic throughout, so they give the baseline loops' bytes.

#include "platform/d3d9/span_kernels.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/d3d9/pixel_math.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QVN_D3D9_AVX2 1
#endif

namespace d3d9_internal {
namespace {

std::atomic<bool> wideAllowed{true};

}  // namespace

void SetWideVectorsAllowed(bool allowed) {
    wideAllowed.store(allowed);
}

#if defined(QVN_D3D9_AVX2)

bool CpuHasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported && wideAllowed.load(std::memory_order_relaxed);
}

namespace {

#define QVN_AVX2 __attribute__((target("avx2"), always_inline)) inline

template <DWORD kFactor>
QVN_AVX2 __m256i FactorOf256(__m256i s, __m256i d) {
    const __m256i full = _mm256_set1_epi16(255);
    if constexpr (kFactor == D3DBLEND_ZERO) {
        return _mm256_setzero_si256();
    } else if constexpr (kFactor == D3DBLEND_ONE) {
        return full;
    } else if constexpr (kFactor == D3DBLEND_SRCCOLOR) {
        return s;
    } else if constexpr (kFactor == D3DBLEND_INVSRCCOLOR) {
        return _mm256_sub_epi16(full, s);
    } else if constexpr (kFactor == D3DBLEND_SRCALPHA || kFactor == D3DBLEND_INVSRCALPHA) {
        const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
        return kFactor == D3DBLEND_SRCALPHA ? a : _mm256_sub_epi16(full, a);
    } else if constexpr (kFactor == D3DBLEND_DESTCOLOR) {
        return d;
    } else {
        static_assert(kFactor == D3DBLEND_INVDESTCOLOR);
        return _mm256_sub_epi16(full, d);
    }
}

QVN_AVX2 __m256i Div255Epi16x16(__m256i x) {
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

template <DWORD kSrc, DWORD kDst>
QVN_AVX2 __m256i BlendHalf256(__m256i s, __m256i d) {
    if constexpr (kSrc == D3DBLEND_SRCALPHA && kDst == D3DBLEND_INVSRCALPHA) {
        const __m256i a = FactorOf256<D3DBLEND_SRCALPHA>(s, d);
        const __m256i sum =
            _mm256_add_epi16(_mm256_mullo_epi16(s, a),
                             _mm256_mullo_epi16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), a)));
        return Div255Epi16x16(sum);
    } else {
        const __m256i sterm = Div255Epi16x16(_mm256_mullo_epi16(s, FactorOf256<kSrc>(s, d)));
        const __m256i dterm = Div255Epi16x16(_mm256_mullo_epi16(d, FactorOf256<kDst>(s, d)));
        return _mm256_add_epi16(sterm, dterm);
    }
}

// [fyp x 8 | fyq x 8] as 16-bit lanes.
QVN_AVX2 __m256i RowWeights(std::uint32_t fyp, std::uint32_t fyq) {
    __m128i fy = _mm_cvtsi32_si128(static_cast<int>(fyp | (fyq << 16)));
    fy = _mm_unpacklo_epi16(fy, fy);
    fy = _mm_unpacklo_epi32(fy, fy);
    return _mm256_permute4x64_epi64(_mm256_castsi128_si256(fy), 0x50);
}

// [wxp x 4 | wxq x 4] as 32-bit lanes, wx = fx << 16 | (128 - fx).
QVN_AVX2 __m256i ColumnWeights(std::uint32_t fxp, std::uint32_t fxq) {
    const std::uint64_t wxPair =
        ((fxp << 16) | (128 - fxp)) | (static_cast<std::uint64_t>((fxq << 16) | (128 - fxq)) << 32);
    __m128i wxq = _mm_cvtsi64_si128(static_cast<long long>(wxPair));
    wxq = _mm_unpacklo_epi32(wxq, wxq);
    return _mm256_permute4x64_epi64(_mm256_castsi128_si256(wxq), 0x50);
}

// The horizontal pass shared by both pair kernels: `columns` holds, per 128-bit half, a column
// and its right neighbour (4 x 16-bit each), weighted by ColumnWeights; the two rounded pixels
// go to out[0] and out[1].
QVN_AVX2 void HorizontalFinishAvx2(__m256i columns, std::uint32_t fxp, std::uint32_t fxq,
                                   std::uint32_t* out) {
    const __m256i pairs = _mm256_unpacklo_epi16(columns, _mm256_srli_si256(columns, 8));
    __m256i sums = _mm256_add_epi32(_mm256_madd_epi16(pairs, ColumnWeights(fxp, fxq)),
                                    _mm256_set1_epi32(8192));
    sums = _mm256_srai_epi32(sums, 14);
    const __m256i packed = _mm256_packs_epi32(sums, sums);
    const __m256i bytes = _mm256_packus_epi16(packed, packed);
    const __m256i both =
        _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 0, 0, 0, 0, 0, 0));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(both));
}

// Two bilinear samples (corners p0 and q0) into out[0] and out[1]; wyBottom holds each
// sample's row weight (RowWeights), fxp and fxq the column weights (7 bits).
QVN_AVX2 void BilinearPairAvx2(const std::uint32_t* p0, const std::uint32_t* q0,
                               std::ptrdiff_t pitch, std::uint32_t fxp, std::uint32_t fxq,
                               __m256i wyBottom, std::uint32_t* out) {
    const __m128i topBytes =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(q0)));
    const __m128i bottomBytes =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0 + pitch)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(q0 + pitch)));
    const __m256i top = _mm256_cvtepu8_epi16(topBytes);
    const __m256i bottom = _mm256_cvtepu8_epi16(bottomBytes);
    const __m256i wyTop = _mm256_sub_epi16(_mm256_set1_epi16(128), wyBottom);
    const __m256i vertical =
        _mm256_add_epi16(_mm256_mullo_epi16(top, wyTop), _mm256_mullo_epi16(bottom, wyBottom));
    HorizontalFinishAvx2(vertical, fxp, fxq, out);
}

// Horizontal pass of two samples from vertically blended columns (4 x 16-bit per column, the
// column and its right neighbour side by side at vp and vq).
QVN_AVX2 void HorizontalPairAvx2(const std::int16_t* vp, const std::int16_t* vq, std::uint32_t fxp,
                                 std::uint32_t fxq, std::uint32_t* out) {
    const __m256i v = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(vp))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(vq)), 1);
    HorizontalFinishAvx2(v, fxp, fxq, out);
}

}  // namespace

template <DWORD kSrc, DWORD kDst>
QVN_TARGET_AVX2 int BlendRunAvx2(const std::uint32_t* src, std::uint32_t* dst,
                                 const std::uint8_t* mask, int count, std::uint32_t orMask) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaOr = _mm256_set1_epi32(static_cast<int>(orMask));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        const __m256i lo =
            BlendHalf256<kSrc, kDst>(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero));
        const __m256i hi =
            BlendHalf256<kSrc, kDst>(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero));
        __m256i out = _mm256_or_si256(_mm256_packus_epi16(lo, hi), alphaOr);
        if (mask != nullptr) {
            const __m256i m =
                _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(mask + i)));
            const __m256i keep = _mm256_cmpeq_epi32(m, zero);
            out = _mm256_blendv_epi8(out, d, keep);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), out);
    }
    return i;
}

QVN_TARGET_AVX2 void FetchInsideAvx2(const SamplerView& view, std::uint32_t s, std::uint32_t t,
                                     std::uint32_t ds, std::uint32_t dt, int count,
                                     std::uint32_t* out) {
    const auto firstColumn = static_cast<std::int32_t>(ColumnOf(s));
    const auto lastColumn =
        static_cast<std::int32_t>(ColumnOf(s + static_cast<std::uint32_t>(count - 1) * ds));
    const std::int32_t lowColumn = std::min(firstColumn, lastColumn);
    const std::int32_t columns = std::max(firstColumn, lastColumn) - lowColumn + 2;
    int i = 0;
    if (dt == 0 && columns <= kMaxColumns) {
        // Along a row of an upright quad: blend the two texture rows once per column, then
        // each sample only blends two neighbouring columns.
        const std::uint32_t* top =
            view.texels + static_cast<std::ptrdiff_t>(ColumnOf(t)) * view.pitch + lowColumn;
        const std::uint32_t* bottom = top + view.pitch;
        const auto fy = static_cast<std::int16_t>(WeightOf(t));
        alignas(32) std::int16_t blended[kMaxColumns * 4];
        const __m256i wyBottom = _mm256_set1_epi16(fy);
        const __m256i wyTop = _mm256_set1_epi16(static_cast<std::int16_t>(128 - fy));
        int c = 0;
        for (; c + 4 <= columns; c += 4) {
            const __m256i t16 =
                _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(top + c)));
            const __m256i b16 =
                _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + c)));
            _mm256_store_si256(reinterpret_cast<__m256i*>(blended + 4 * c),
                               _mm256_add_epi16(_mm256_mullo_epi16(t16, wyTop),
                                                _mm256_mullo_epi16(b16, wyBottom)));
        }
        for (; c < columns; ++c) {
            for (int shift = 0; shift < 32; shift += 8) {
                blended[4 * c + shift / 8] = static_cast<std::int16_t>(
                    Channel(top[c], shift) * static_cast<std::uint32_t>(128 - fy) +
                    Channel(bottom[c], shift) * static_cast<std::uint32_t>(fy));
            }
        }
        for (; i + 2 <= count; i += 2) {
            const std::uint32_t sq = s + ds;
            HorizontalPairAvx2(blended + 4 * (static_cast<std::int32_t>(ColumnOf(s)) - lowColumn),
                               blended + 4 * (static_cast<std::int32_t>(ColumnOf(sq)) - lowColumn),
                               WeightOf(s), WeightOf(sq), out + i);
            s = sq + ds;
        }
    } else {
        for (; i + 2 <= count; i += 2) {
            const std::uint32_t sq = s + ds;
            const std::uint32_t tq = t + dt;
            const std::uint32_t* p0 =
                view.texels + static_cast<std::ptrdiff_t>(ColumnOf(t)) * view.pitch + ColumnOf(s);
            const std::uint32_t* q0 =
                view.texels + static_cast<std::ptrdiff_t>(ColumnOf(tq)) * view.pitch + ColumnOf(sq);
            BilinearPairAvx2(p0, q0, view.pitch, WeightOf(s), WeightOf(sq),
                             RowWeights(WeightOf(t), WeightOf(tq)), out + i);
            s = sq + ds;
            t = tq + dt;
        }
    }
    if (i < count) {
        out[i] = SampleLinear(view, static_cast<std::int32_t>(s), static_cast<std::int32_t>(t));
    }
}

#else

bool CpuHasAvx2() {
    return false;
}

template <DWORD kSrc, DWORD kDst>
int BlendRunAvx2(const std::uint32_t*, std::uint32_t*, const std::uint8_t*, int, std::uint32_t) {
    return 0;
}

void FetchInsideAvx2(const SamplerView&, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                     int, std::uint32_t*) {}

#endif

#define QVN_INSTANTIATE(a, b)                                                                  \
    template int BlendRunAvx2<a, b>(const std::uint32_t*, std::uint32_t*, const std::uint8_t*, \
                                    int, std::uint32_t);
QVN_INSTANTIATE(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA)
QVN_INSTANTIATE(D3DBLEND_ONE, D3DBLEND_ONE)
QVN_INSTANTIATE(D3DBLEND_ONE, D3DBLEND_ZERO)
QVN_INSTANTIATE(D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR)
QVN_INSTANTIATE(D3DBLEND_ZERO, D3DBLEND_SRCCOLOR)
QVN_INSTANTIATE(D3DBLEND_SRCALPHA, D3DBLEND_ONE)
QVN_INSTANTIATE(D3DBLEND_DESTCOLOR, D3DBLEND_ZERO)
#undef QVN_INSTANTIATE

}  // namespace d3d9_internal
