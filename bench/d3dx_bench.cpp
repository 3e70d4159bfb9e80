#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx/argb_resample.h"
#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/png_encode.h"
#include "platform/gdi/gdi.h"

namespace {

// A picture-like image: smooth gradients with some detail, so that it compresses as photos and
// drawn backgrounds do rather than as a flat colour.
std::vector<std::uint32_t> SampleImage(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const std::uint32_t r = (x * 255 / width + ((noise >> 16) & 7)) & 0xFF;
            const std::uint32_t g = (y * 255 / height) & 0xFF;
            const std::uint32_t b = ((x + y) * 2) & 0xFF;
            pixels[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    return pixels;
}

void BM_DecodePng800x600(benchmark::State& state) {
    const std::vector<std::uint32_t> pixels = SampleImage(800, 600);
    const std::vector<std::uint8_t> png = d3dx::EncodeArgbAsPng(800, 600, pixels.data(), 800);
    for (auto _ : state) {
        d3dx::DecodedImage image;
        benchmark::DoNotOptimize(d3dx::DecodeImage(png.data(), png.size(), &image));
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_DecodePng800x600)->Unit(benchmark::kMillisecond);

// The capture of a full-HD back buffer into the 800 x 600 logical screen.
void BM_LinearResample1920x1080To800x600(benchmark::State& state) {
    const std::vector<std::uint32_t> pixels = SampleImage(1920, 1080);
    std::vector<std::uint32_t> dest;
    for (auto _ : state) {
        d3dx::ResampleArgb({pixels.data(), 1920, 1080, 1920}, 800, 600, d3dx::FilterKind::kLinear,
                           0, &dest);
        benchmark::DoNotOptimize(dest.data());
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_LinearResample1920x1080To800x600)->Unit(benchmark::kMillisecond);

// One glyph-cache fill as the font layer makes it: a fresh font and context, one double-byte
// character drawn into a 24 x 24 DIB.
void BM_GlyphCacheFill(benchmark::State& state) {
    LOGFONTA lf{};
    lf.lfHeight = 24;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(lf.lfFaceName, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", 14);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 24;
    info.bmiHeader.biHeight = -24;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    const std::string kanji = "\x8A\xBF";
    for (auto _ : state) {
        HFONT font = CreateFontIndirectA(&lf);
        HDC dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ oldFont = SelectObject(dc, font);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, nullptr, kanji.data(), 2, nullptr);
        benchmark::DoNotOptimize(bits);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteObject(font);
        DeleteDC(dc);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GlyphCacheFill)->Unit(benchmark::kMicrosecond);

}  // namespace
