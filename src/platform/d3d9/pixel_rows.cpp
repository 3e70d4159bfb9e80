// Whole rows of pixels to and from A8R8G8B8: 16-bit formats 8 pixels a step with SSE2 (16 with
// AVX2 where the processor has it, chosen at run time), each channel widened and narrowed to the
// values of PixelToArgb and PixelFromArgb (pixel_format.cpp), so that the bytes are the same.

#include <algorithm>
#include <cstring>

#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/pixel_rows_simd.h"
#include "platform/d3d9/span_kernels.h"

namespace d3d9_internal {
namespace {

#if defined(__SSE2__)
// The widest kernels the processor runs for a 16-bit format; null for any other format.
const RowKernels* KernelsOf(D3DFORMAT format) {
    if (CpuHasAvx2()) {
        if (const RowKernels* wide = Avx2RowKernels(format)) {
            return wide;
        }
    }
    for (const RowKernels& k : kKernelsOf<Sse2>) {
        if (k.format == format) {
            return &k;
        }
    }
    return nullptr;
}
#endif

}  // namespace

// Rows of 32-bit pixels are 4-byte aligned (surface storage is in words), so they are read and
// written as words.
void RowToArgb(D3DFORMAT format, const void* source, std::uint32_t* dest, int count) {
    const auto* bytes = static_cast<const std::uint8_t*>(source);
    if (format == D3DFMT_A8R8G8B8) {
        std::memcpy(dest, source, static_cast<std::size_t>(count) * 4);
        return;
    }
    if (format == D3DFMT_X8R8G8B8) {
        const auto* words = static_cast<const std::uint32_t*>(source);
        for (int i = 0; i < count; ++i) {
            dest[i] = words[i] | 0xFF000000u;
        }
        return;
    }
#if defined(__SSE2__)
    if (const RowKernels* k = KernelsOf(format)) {
        k->to(bytes, dest, count);
        return;
    }
#endif
    const int step = BytesPerPixel(format);
    for (int i = 0; i < count; ++i) {
        dest[i] = PixelToArgb(format, bytes + i * step);
    }
}

void RowFromArgb(D3DFORMAT format, const std::uint32_t* source, void* dest, int count) {
    RowFromArgbMasked(format, source, dest, nullptr, count);
}

void RowFromArgbMasked(D3DFORMAT format, const std::uint32_t* source, void* dest,
                       const std::uint8_t* mask, int count) {
    auto* bytes = static_cast<std::uint8_t*>(dest);
    if (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) {
        const std::uint32_t orMask = format == D3DFMT_X8R8G8B8 ? 0xFF000000u : 0u;
        auto* words = static_cast<std::uint32_t*>(dest);
        for (int i = 0; i < count; ++i) {
            if (mask == nullptr || mask[i] != 0) {
                words[i] = source[i] | orMask;
            }
        }
        return;
    }
#if defined(__SSE2__)
    if (const RowKernels* k = KernelsOf(format)) {
        k->from(source, bytes, mask, count);
        return;
    }
#endif
    const int step = BytesPerPixel(format);
    for (int i = 0; i < count; ++i) {
        if (mask == nullptr || mask[i] != 0) {
            PixelFromArgb(format, source[i], bytes + i * step);
        }
    }
}

bool RowBlend(D3DFORMAT format, DWORD srcBlend, DWORD destBlend, const std::uint32_t* source,
              void* dest, const std::uint8_t* mask, int count) {
#if defined(__SSE2__)
    if (const RowKernels* k = KernelsOf(format)) {
        for (int i = 0; i < kDirectBlendCount; ++i) {
            if (kDirectBlends[i].src == srcBlend && kDirectBlends[i].dst == destBlend) {
                k->blend[i](source, static_cast<std::uint8_t*>(dest), mask, count);
                return true;
            }
        }
    }
#endif
    return false;
}

void FillRow(D3DFORMAT format, std::uint32_t argb, void* dest, int count) {
    std::uint8_t one[4] = {};
    PixelFromArgb(format, argb, one);
    if (BytesPerPixel(format) == 4) {
        std::uint32_t value;
        std::memcpy(&value, one, 4);
        std::fill_n(static_cast<std::uint32_t*>(dest), count, value);
        return;
    }
    // Two pixels a word; a row of 16-bit pixels starts 2-byte aligned.
    std::uint8_t pattern[64];
    for (int i = 0; i < 64; i += 2) {
        std::memcpy(pattern + i, one, 2);
    }
    auto* bytes = static_cast<std::uint8_t*>(dest);
    auto left = static_cast<std::size_t>(count) * 2;
    for (; left >= sizeof pattern; left -= sizeof pattern, bytes += sizeof pattern) {
        std::memcpy(bytes, pattern, sizeof pattern);
    }
    std::memcpy(bytes, pattern, left);
}

}  // namespace d3d9_internal
