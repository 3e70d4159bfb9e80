// Bilinear runs: the split into samples inside the texture and those that need addressing, and
// the baseline (SSE2) kernel for the inside part.

#include <algorithm>

#include "platform/d3d9/pixel_math.h"
#include "platform/d3d9/span_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3d9_internal {

void FetchLinearRun(const SamplerView& view, std::uint32_t s, std::uint32_t t, std::uint32_t ds,
                    std::uint32_t dt, int count, std::uint32_t* out, FetchInsideFn fetchInside) {
    const auto widthLimit = static_cast<std::uint32_t>(view.width - 1);
    const auto heightLimit = static_cast<std::uint32_t>(view.height - 1);
    auto inside = [&](int i) {
        return ColumnOf(s + static_cast<std::uint32_t>(i) * ds) < widthLimit &&
               ColumnOf(t + static_cast<std::uint32_t>(i) * dt) < heightLimit;
    };
    auto sampleAt = [&](int i) {
        return SampleLinear(view, static_cast<std::int32_t>(s + static_cast<std::uint32_t>(i) * ds),
                            static_cast<std::int32_t>(t + static_cast<std::uint32_t>(i) * dt));
    };
    // The coordinates move linearly, so unless they leave 32 bits on the way, the samples
    // inside the texture form one stretch of the run.
    const std::int64_t span = count - 1;
    const std::int64_t sEnd =
        std::int64_t{static_cast<std::int32_t>(s)} + span * static_cast<std::int32_t>(ds);
    const std::int64_t tEnd =
        std::int64_t{static_cast<std::int32_t>(t)} + span * static_cast<std::int32_t>(dt);
    if (sEnd != static_cast<std::int32_t>(sEnd) || tEnd != static_cast<std::int32_t>(tEnd)) {
        for (int i = 0; i < count; ++i) {
            out[i] = sampleAt(i);
        }
        return;
    }
    int head = 0;
    while (head < count && !inside(head)) {
        out[head] = sampleAt(head);
        ++head;
    }
    int tail = count;
    while (tail > head && !inside(tail - 1)) {
        --tail;
        out[tail] = sampleAt(tail);
    }
    if (tail > head) {
        fetchInside(view, s + static_cast<std::uint32_t>(head) * ds,
                    t + static_cast<std::uint32_t>(head) * dt, ds, dt, tail - head, out + head);
    }
}

#if defined(__SSE2__)

namespace {

// The horizontal pass of one sample from two vertically blended columns side by side.
inline std::uint32_t HorizontalSse2(const std::int16_t* columns, std::uint32_t fx) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(columns));
    const __m128i pairs = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 8));
    const __m128i weights = _mm_set1_epi32(static_cast<int>((fx << 16) | (128 - fx)));
    __m128i sums = _mm_add_epi32(_mm_madd_epi16(pairs, weights), _mm_set1_epi32(8192));
    sums = _mm_srai_epi32(sums, 14);
    const __m128i packed = _mm_packs_epi32(sums, sums);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(packed, packed)));
}

// BilinearBlend of the 2 x 2 texels at `corner` and `corner + pitch`.
inline std::uint32_t BilinearSse2(const std::uint32_t* corner, std::ptrdiff_t pitch,
                                  std::uint32_t fx, std::uint32_t fy) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i top =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(corner)), zero);
    const __m128i bottom =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(corner + pitch)), zero);
    const __m128i vertical =
        _mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(static_cast<short>(128 - fy))),
                      _mm_mullo_epi16(bottom, _mm_set1_epi16(static_cast<short>(fy))));
    std::int16_t columns[8];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(columns), vertical);
    return HorizontalSse2(columns, fx);
}

}  // namespace

void FetchInsideSse2(const SamplerView& view, std::uint32_t s, std::uint32_t t, std::uint32_t ds,
                     std::uint32_t dt, int count, std::uint32_t* out) {
    const auto firstColumn = static_cast<std::int32_t>(ColumnOf(s));
    const auto lastColumn =
        static_cast<std::int32_t>(ColumnOf(s + static_cast<std::uint32_t>(count - 1) * ds));
    const std::int32_t lowColumn = std::min(firstColumn, lastColumn);
    const std::int32_t columns = std::max(firstColumn, lastColumn) - lowColumn + 2;
    if (dt == 0 && columns <= kMaxColumns) {
        const std::uint32_t* top =
            view.texels + static_cast<std::ptrdiff_t>(ColumnOf(t)) * view.pitch + lowColumn;
        const std::uint32_t* bottom = top + view.pitch;
        const auto fy = static_cast<short>(WeightOf(t));
        alignas(16) std::int16_t blended[kMaxColumns * 4 + 8];
        const __m128i zero = _mm_setzero_si128();
        const __m128i wyBottom = _mm_set1_epi16(fy);
        const __m128i wyTop = _mm_set1_epi16(static_cast<short>(128 - fy));
        int c = 0;
        for (; c + 2 <= columns; c += 2) {
            const __m128i t16 =
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top + c)), zero);
            const __m128i b16 = _mm_unpacklo_epi8(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottom + c)), zero);
            _mm_store_si128(
                reinterpret_cast<__m128i*>(blended + 4 * c),
                _mm_add_epi16(_mm_mullo_epi16(t16, wyTop), _mm_mullo_epi16(b16, wyBottom)));
        }
        for (; c < columns; ++c) {
            for (int shift = 0; shift < 32; shift += 8) {
                blended[4 * c + shift / 8] = static_cast<std::int16_t>(
                    Channel(top[c], shift) * static_cast<std::uint32_t>(128 - fy) +
                    Channel(bottom[c], shift) * static_cast<std::uint32_t>(fy));
            }
        }
        for (int i = 0; i < count; ++i, s += ds) {
            out[i] = HorizontalSse2(
                blended + 4 * (static_cast<std::int32_t>(ColumnOf(s)) - lowColumn), WeightOf(s));
        }
        return;
    }
    for (int i = 0; i < count; ++i, s += ds, t += dt) {
        out[i] = BilinearSse2(
            view.texels + static_cast<std::ptrdiff_t>(ColumnOf(t)) * view.pitch + ColumnOf(s),
            view.pitch, WeightOf(s), WeightOf(t));
    }
}

void FetchLinearPoints(const SamplerView& view, const std::int32_t* s, const std::int32_t* t,
                       int count, std::uint32_t* out) {
    const auto widthLimit = static_cast<std::uint32_t>(view.width - 1);
    const auto heightLimit = static_cast<std::uint32_t>(view.height - 1);
    for (int i = 0; i < count; ++i) {
        const auto su = static_cast<std::uint32_t>(s[i]);
        const auto tu = static_cast<std::uint32_t>(t[i]);
        if (ColumnOf(su) < widthLimit && ColumnOf(tu) < heightLimit) {
            out[i] =
                BilinearSse2(view.texels + static_cast<std::ptrdiff_t>(ColumnOf(tu)) * view.pitch +
                                 ColumnOf(su),
                             view.pitch, WeightOf(su), WeightOf(tu)) |
                view.alphaOr;
        } else {
            out[i] = SampleLinear(view, s[i], t[i]);
        }
    }
}

#else

void FetchLinearPoints(const SamplerView& view, const std::int32_t* s, const std::int32_t* t,
                       int count, std::uint32_t* out) {
    for (int i = 0; i < count; ++i) {
        out[i] = SampleLinear(view, s[i], t[i]);
    }
}

void FetchInsideSse2(const SamplerView& view, std::uint32_t s, std::uint32_t t, std::uint32_t ds,
                     std::uint32_t dt, int count, std::uint32_t* out) {
    for (int i = 0; i < count; ++i, s += ds, t += dt) {
        out[i] = SampleLinear(view, static_cast<std::int32_t>(s), static_cast<std::int32_t>(t));
    }
}

#endif

}  // namespace d3d9_internal
