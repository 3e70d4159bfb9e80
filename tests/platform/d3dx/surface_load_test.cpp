#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "fake_surface.h"
#include "platform/d3dx/surface_load.h"
#include "platform/d3dx/surface_save.h"
#include "png_fixture.h"

using d3dx_test::FakeSurface;

namespace {

// An RGBA PNG of the given A8R8G8B8 pixels.
std::vector<std::uint8_t> ArgbPng(std::uint32_t width, std::uint32_t height,
                                  const std::vector<std::uint32_t>& argb) {
    d3dx_test::PngFixture f;
    f.width = width;
    f.height = height;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t p = argb[y * width + x];
            row.insert(row.end(),
                       {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                        static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
        }
        f.rows.push_back(row);
    }
    return d3dx_test::WritePng(f);
}

// 4 x 4 pixels, each telling its own position.
std::uint32_t Marker(std::uint32_t x, std::uint32_t y) {
    return 0xFF000000u | (x << 16) | (y << 8) | 0x5A;
}
std::vector<std::uint8_t> MarkerPng() {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t y = 0; y < 4; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x) {
            pixels.push_back(Marker(x, y));
        }
    }
    return ArgbPng(4, 4, pixels);
}

HRESULT LoadFile(FakeSurface* surface, const RECT* destRect, const std::vector<std::uint8_t>& file,
                 const RECT* srcRect, DWORD filter, D3DCOLOR colorKey = 0,
                 D3DXIMAGE_INFO* info = nullptr) {
    return D3DXLoadSurfaceFromFileInMemory(surface, nullptr, destRect, file.data(),
                                           static_cast<UINT>(file.size()), srcRect, filter,
                                           colorKey, info);
}

TEST(SurfaceLoad, ConvertsToEachDestinationFormat) {
    struct Case {
        const char* name;
        D3DFORMAT format;
        std::uint32_t raw;
    };
    const Case cases[] = {
        {"A8R8G8B8", D3DFMT_A8R8G8B8, 0x80FF4020u}, {"X8R8G8B8", D3DFMT_X8R8G8B8, 0xFFFF4020u},
        {"R5G6B5", D3DFMT_R5G6B5, 0xFA04u},         {"A1R5G5B5", D3DFMT_A1R5G5B5, 0xFD04u},
        {"A4R4G4B4", D3DFMT_A4R4G4B4, 0x8F42u},
    };
    const std::vector<std::uint8_t> file = ArgbPng(1, 1, {0x80FF4020u});
    for (const Case& c : cases) {
        FakeSurface surface(1, 1, c.format);
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(LoadFile(&surface, nullptr, file, nullptr, D3DX_FILTER_NONE, 0, &info), S_OK)
            << c.name;
        EXPECT_EQ(surface.Raw(0, 0), c.raw) << c.name;
        EXPECT_FALSE(surface.locked()) << c.name;
        EXPECT_EQ(info.Width, 1u) << c.name;
        EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8) << c.name;
    }
}

TEST(SurfaceLoad, RectanglesWithoutFilteringCopyAndClip) {
    const std::vector<std::uint8_t> file = MarkerPng();
    constexpr std::uint32_t kUntouched = 0xDEADBEEFu;
    struct Case {
        const char* name;
        RECT dest;
        RECT source;
        // (x, y, expected) for every pixel of the destination rectangle
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"same size",
         {2, 0, 4, 2},
         {1, 1, 3, 3},
         {Marker(1, 1), Marker(2, 1), Marker(1, 2), Marker(2, 2)}},
        {"destination larger: transparent black beyond the source",
         {0, 0, 3, 2},
         {3, 2, 4, 4},
         {Marker(3, 2), 0, 0, Marker(3, 3), 0, 0}},
        {"destination smaller: the source's top left", {1, 1, 2, 2}, {0, 2, 4, 4}, {Marker(0, 2)}},
    };
    for (const Case& c : cases) {
        FakeSurface surface(4, 4, D3DFMT_A8R8G8B8);
        surface.Fill(kUntouched);
        ASSERT_EQ(LoadFile(&surface, &c.dest, file, &c.source, D3DX_FILTER_NONE), S_OK) << c.name;
        std::size_t i = 0;
        for (LONG y = 0; y < 4; ++y) {
            for (LONG x = 0; x < 4; ++x) {
                const bool inside =
                    x >= c.dest.left && x < c.dest.right && y >= c.dest.top && y < c.dest.bottom;
                const std::uint32_t want = inside ? c.expected[i++] : kUntouched;
                EXPECT_EQ(surface.Argb(x, y), want) << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(SurfaceLoad, PointAndLinearFiltersScaleExactly) {
    struct Case {
        const char* name;
        std::vector<std::uint32_t> source;  // one row
        DWORD filter;
        UINT destWidth;
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"point, twice as wide",
         {0xFF000000u, 0xFFFFFFFFu},
         D3DX_FILTER_POINT,
         4,
         {0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu}},
        {"point, a third", {1u, 2u, 3u, 4u, 5u, 6u}, D3DX_FILTER_POINT, 2, {2u, 5u}},
        {"linear, twice as wide",
         {0xFF000000u, 0xFFFFFFFFu},
         D3DX_FILTER_LINEAR,
         4,
         {0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu}},
        {"linear blends alpha too",
         {0x00000000u, 0xFF000000u},
         D3DX_FILTER_LINEAR,
         4,
         {0x00000000u, 0x40000000u, 0xBF000000u, 0xFF000000u}},
        {"linear, half as wide",
         {0xFF000000u, 0xFF202020u, 0xFF404040u, 0xFF606060u},
         D3DX_FILTER_LINEAR,
         2,
         {0xFF101010u, 0xFF505050u}},
        {"linear at the same size copies",
         {0x12345678u, 0x9ABCDEF0u},
         D3DX_FILTER_LINEAR,
         2,
         {0x12345678u, 0x9ABCDEF0u}},
        {"triangle and box act as linear",
         {0xFF000000u, 0xFFFFFFFFu},
         D3DX_FILTER_TRIANGLE,
         4,
         {0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu}},
        {"default acts as linear",
         {0xFF000000u, 0xFFFFFFFFu},
         D3DX_DEFAULT,
         4,
         {0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu}},
        {"dither flag ignored",
         {0xFF000000u, 0xFFFFFFFFu},
         D3DX_FILTER_POINT | D3DX_FILTER_DITHER,
         4,
         {0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> file =
            ArgbPng(static_cast<std::uint32_t>(c.source.size()), 1, c.source);
        FakeSurface surface(c.destWidth, 1, D3DFMT_A8R8G8B8);
        ASSERT_EQ(LoadFile(&surface, nullptr, file, nullptr, c.filter), S_OK) << c.name;
        for (UINT x = 0; x < c.destWidth; ++x) {
            EXPECT_EQ(surface.Argb(x, 0), c.expected[x]) << c.name << " at " << x;
        }
    }
}

TEST(SurfaceLoad, ColourKeyedPixelsBecomeTransparentBlack) {
    const std::vector<std::uint8_t> file = ArgbPng(3, 1, {0xFFFF00FFu, 0xFF102030u, 0xFFFF00FFu});
    FakeSurface surface(3, 1, D3DFMT_A8R8G8B8);
    ASSERT_EQ(LoadFile(&surface, nullptr, file, nullptr, D3DX_FILTER_NONE, 0xFFFF00FFu), S_OK);
    EXPECT_EQ(surface.Argb(0, 0), 0u);
    EXPECT_EQ(surface.Argb(1, 0), 0xFF102030u);
    EXPECT_EQ(surface.Argb(2, 0), 0u);
}

TEST(SurfaceLoad, BadArgumentsFailAndLeaveTheSurfaceAlone) {
    const std::vector<std::uint8_t> file = MarkerPng();
    struct Case {
        const char* name;
        std::optional<RECT> dest;
        std::optional<RECT> source;
        DWORD filter;
        std::vector<std::uint8_t> data;
        HRESULT expected;
    };
    const Case cases[] = {
        {"destination past the right edge",
         RECT{2, 0, 5, 1},
         {},
         D3DX_FILTER_NONE,
         file,
         D3DERR_INVALIDCALL},
        {"destination at negative x",
         RECT{-1, 0, 1, 1},
         {},
         D3DX_FILTER_NONE,
         file,
         D3DERR_INVALIDCALL},
        {"empty destination", RECT{1, 1, 1, 3}, {}, D3DX_FILTER_NONE, file, D3DERR_INVALIDCALL},
        {"inverted source", {}, RECT{3, 0, 1, 2}, D3DX_FILTER_NONE, file, D3DERR_INVALIDCALL},
        {"source past the image", {}, RECT{0, 0, 4, 5}, D3DX_FILTER_NONE, file, D3DERR_INVALIDCALL},
        {"filter 0", {}, {}, 0, file, D3DERR_INVALIDCALL},
        {"filter 6", {}, {}, 6, file, D3DERR_INVALIDCALL},
        {"not an image",
         {},
         {},
         D3DX_FILTER_NONE,
         {'G', 'I', 'F', '8', '9', 'a'},
         D3DXERR_INVALIDDATA},
        {"truncated image",
         {},
         {},
         D3DX_FILTER_NONE,
         std::vector<std::uint8_t>(file.begin(), file.end() - 20),
         D3DXERR_INVALIDDATA},
    };
    for (const Case& c : cases) {
        FakeSurface surface(4, 4, D3DFMT_A8R8G8B8);
        surface.Fill(0x11223344u);
        EXPECT_EQ(LoadFile(&surface, c.dest ? &*c.dest : nullptr, c.data,
                           c.source ? &*c.source : nullptr, c.filter),
                  c.expected)
            << c.name;
        EXPECT_FALSE(surface.locked()) << c.name;
        EXPECT_EQ(surface.Argb(0, 0), 0x11223344u) << c.name;
        EXPECT_EQ(surface.Argb(3, 3), 0x11223344u) << c.name;
    }
    EXPECT_EQ(D3DXLoadSurfaceFromFileInMemory(nullptr, nullptr, nullptr, file.data(),
                                              static_cast<UINT>(file.size()), nullptr,
                                              D3DX_FILTER_NONE, 0, nullptr),
              D3DERR_INVALIDCALL);
}

TEST(SurfaceLoad, SurfaceToSurfaceConvertsFormatsAndMayOverlap) {
    FakeSurface source(2, 2, D3DFMT_R5G6B5);
    source.Fill(0xFFFF0000u);
    FakeSurface dest(4, 2, D3DFMT_A8R8G8B8);
    dest.Fill(0u);
    const RECT destRect{1, 0, 3, 2};
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(&dest, nullptr, &destRect, &source, nullptr, nullptr,
                                         D3DX_FILTER_NONE, 0),
              S_OK);
    EXPECT_EQ(dest.Argb(0, 0), 0u);
    EXPECT_EQ(dest.Argb(1, 0), 0xFFFF0000u);
    EXPECT_EQ(dest.Argb(2, 1), 0xFFFF0000u);
    EXPECT_EQ(dest.Argb(3, 1), 0u);

    // Within one surface, shifting a row right by one pixel reads before it writes.
    FakeSurface row(3, 1, D3DFMT_A8R8G8B8);
    ASSERT_EQ(
        D3DXLoadSurfaceFromFileInMemory(&row, nullptr, nullptr, ArgbPng(3, 1, {1u, 2u, 3u}).data(),
                                        static_cast<UINT>(ArgbPng(3, 1, {1u, 2u, 3u}).size()),
                                        nullptr, D3DX_FILTER_NONE, 0, nullptr),
        S_OK);
    const RECT from{0, 0, 2, 1};
    const RECT to{1, 0, 3, 1};
    ASSERT_EQ(
        D3DXLoadSurfaceFromSurface(&row, nullptr, &to, &row, nullptr, &from, D3DX_FILTER_NONE, 0),
        S_OK);
    EXPECT_EQ(row.Argb(0, 0), 1u);
    EXPECT_EQ(row.Argb(1, 0), 1u);
    EXPECT_EQ(row.Argb(2, 0), 2u);

    EXPECT_EQ(D3DXLoadSurfaceFromSurface(&dest, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         D3DX_FILTER_NONE, 0),
              D3DERR_INVALIDCALL);
    const RECT outside{1, 1, 3, 3};
    EXPECT_EQ(D3DXLoadSurfaceFromSurface(&dest, nullptr, nullptr, &source, nullptr, &outside,
                                         D3DX_FILTER_NONE, 0),
              D3DERR_INVALIDCALL);
}

TEST(SurfaceSave, PngOfARectangleLoadsBackTheSamePixels) {
    FakeSurface source(3, 2, D3DFMT_A4R4G4B4);
    source.Fill(0x8844CC22u);
    const RECT part{1, 0, 3, 2};
    ID3DXBuffer* buffer = nullptr;
    ASSERT_EQ(D3DXSaveSurfaceToFileInMemory(&buffer, D3DXIFF_PNG, &source, nullptr, &part), S_OK);
    FakeSurface copy(2, 2, D3DFMT_A8R8G8B8);
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXLoadSurfaceFromFileInMemory(&copy, nullptr, nullptr, buffer->GetBufferPointer(),
                                              buffer->GetBufferSize(), nullptr, D3DX_FILTER_NONE, 0,
                                              &info),
              S_OK);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(info.Width, 2u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    EXPECT_EQ(copy.Argb(1, 1), 0x8844CC22u);

    ID3DXBuffer* unused = reinterpret_cast<ID3DXBuffer*>(1);
    EXPECT_EQ(D3DXSaveSurfaceToFileInMemory(&unused, D3DXIFF_JPG, &source, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(unused, nullptr);
}

}  // namespace
