#pragma once
// The span routines' inner loops that have a wider-vector (AVX2) variant, chosen at run time.
// Each gives the bytes of the baseline (SSE2) loop.

#include <cstdint>

#include "platform/d3d9/raster_state.h"

// Marks a function compiled for AVX2 whatever the baseline; the declaration and the definition
// both carry it, since GCC takes a template's target from its first declaration.
#if defined(__x86_64__) || defined(__i386__)
#define QVN_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define QVN_TARGET_AVX2
#endif

namespace d3d9_internal {

// True when the processor has AVX2 and the variant is allowed (tests switch it off to hold the
// baseline loops to the reference too).
bool CpuHasAvx2();
void SetWideVectorsAllowed(bool allowed);

// Blends whole groups of 8 pixels of src over dst (see BlendRun); returns how many it did.
template <DWORD kSrc, DWORD kDst>
QVN_TARGET_AVX2 int BlendRunAvx2(const std::uint32_t* src, std::uint32_t* dst,
                                 const std::uint8_t* mask, int count, std::uint32_t orMask);

// Bilinear samples of a run whose 16.16 coordinates start at (s, t) and step by (ds, dt): the
// samples whose 2 x 2 texels lie inside the texture go to `inside`, the rest to SampleLinear.
using FetchInsideFn = void (*)(const SamplerView& view, std::uint32_t s, std::uint32_t t,
                               std::uint32_t ds, std::uint32_t dt, int count, std::uint32_t* out);
void FetchLinearRun(const SamplerView& view, std::uint32_t s, std::uint32_t t, std::uint32_t ds,
                    std::uint32_t dt, int count, std::uint32_t* out, FetchInsideFn inside);

// Runs entirely inside the texture, baseline and AVX2. Along a row of an upright quad (dt 0)
// the two texture rows are blended once per column first, so that each sample only blends two
// neighbouring columns; the sums are those of BilinearBlend.
void FetchInsideSse2(const SamplerView& view, std::uint32_t s, std::uint32_t t, std::uint32_t ds,
                     std::uint32_t dt, int count, std::uint32_t* out);
QVN_TARGET_AVX2 void FetchInsideAvx2(const SamplerView& view, std::uint32_t s, std::uint32_t t,
                                     std::uint32_t ds, std::uint32_t dt, int count,
                                     std::uint32_t* out);

// Bilinear samples at the given 16.16 coordinates (perspective-correct runs, whose coordinates
// do not step evenly); the SSE2 blend where the 2 x 2 texels lie inside the texture.
void FetchLinearPoints(const SamplerView& view, const std::int32_t* s, const std::int32_t* t,
                       int count, std::uint32_t* out);

// Columns a run may blend at once (a chunk of 256 samples magnified or mildly minified).
constexpr int kMaxColumns = 2 * 256 + 8;

// Left texel column and 7-bit weight of a bilinear sample at a 16.16 coordinate.
inline std::uint32_t ColumnOf(std::uint32_t coordinate) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(coordinate - 0x8000u) >> 16);
}
inline std::uint32_t WeightOf(std::uint32_t coordinate) {
    return ((coordinate - 0x8000u) >> 9) & 0x7F;
}

}  // namespace d3d9_internal
