#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "d3dx_fixture_files.h"
#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/image_info.h"
#include "png_fixture.h"

using d3dx_test::PngFixture;
using d3dx_test::ReadFixture;
using d3dx_test::WritePng;

namespace {

struct DecodeCase {
    const char* name;
    PngFixture png;
    bool hasAlpha;
    std::vector<std::uint32_t> expected;
};

PngFixture OneRow(std::uint32_t width, int depth, int colourType,
                  std::vector<std::uint8_t> samples) {
    PngFixture f;
    f.width = width;
    f.height = 1;
    f.bitDepth = depth;
    f.colourType = colourType;
    f.rows = {std::move(samples)};
    return f;
}

PngFixture WithTransparency(PngFixture f, std::vector<std::uint8_t> palette,
                            std::vector<std::uint8_t> transparency) {
    f.palette = std::move(palette);
    f.transparency = std::move(transparency);
    return f;
}

TEST(ImageDecode, EveryPngColourTypeAndDepthBecomesArgb) {
    const DecodeCase cases[] = {
        {"RGBA 8",
         OneRow(2, 8, 6, {10, 20, 30, 40, 50, 60, 70, 80}),
         true,
         {0x280A141Eu, 0x50323C46u}},
        {"RGB 8", OneRow(2, 8, 2, {1, 2, 3, 4, 5, 6}), false, {0xFF010203u, 0xFF040506u}},
        {"RGB 8 with a transparent colour",
         WithTransparency(OneRow(2, 8, 2, {1, 2, 3, 4, 5, 6}), {}, {0, 4, 0, 5, 0, 6}),
         true,
         {0xFF010203u, 0x00040506u}},
        {"grey 1",
         OneRow(4, 1, 0, {0xA0}),
         false,
         {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u}},
        {"grey 4", OneRow(2, 4, 0, {0x3C}), false, {0xFF333333u, 0xFFCCCCCCu}},
        {"grey 16", OneRow(1, 16, 0, {0xAB, 0xCD}), false, {0xFFABABABu}},
        {"grey and alpha 8", OneRow(1, 8, 4, {0x80, 0x40}), true, {0x40808080u}},
        {"RGBA 16",
         OneRow(1, 16, 6, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0xFF}),
         true,
         {0xFF12569Au}},
        {"palette 2 with alpha",
         WithTransparency(OneRow(3, 2, 3, {0x18}), {255, 0, 0, 0, 255, 0, 0, 0, 255}, {0x80}),
         true,
         {0x80FF0000u, 0xFF00FF00u, 0xFF0000FFu}},
        {"palette 8 opaque",
         WithTransparency(OneRow(2, 8, 3, {1, 0}), {9, 8, 7, 6, 5, 4}, {}),
         false,
         {0xFF060504u, 0xFF090807u}},
    };
    for (const DecodeCase& c : cases) {
        const std::vector<std::uint8_t> file = WritePng(c.png);
        d3dx::DecodedImage image;
        ASSERT_EQ(d3dx::DecodeImage(file.data(), file.size(), &image), S_OK) << c.name;
        EXPECT_EQ(image.header.width, c.png.width) << c.name;
        EXPECT_EQ(image.header.height, 1u) << c.name;
        EXPECT_EQ(image.header.hasAlpha, c.hasAlpha) << c.name;
        EXPECT_EQ(image.pixels, c.expected) << c.name;
    }
}

TEST(ImageDecode, InterlacedPngMatchesItsPlainTwin) {
    PngFixture f;
    f.width = 11;
    f.height = 9;
    f.colourType = 2;
    for (std::uint32_t y = 0; y < f.height; ++y) {
        std::vector<std::uint8_t> row;
        for (std::uint32_t x = 0; x < f.width; ++x) {
            row.insert(row.end(),
                       {static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 25),
                        static_cast<std::uint8_t>(x * y)});
        }
        f.rows.push_back(row);
    }
    std::vector<std::uint32_t> expected;
    for (std::uint32_t y = 0; y < f.height; ++y) {
        for (std::uint32_t x = 0; x < f.width; ++x) {
            expected.push_back(0xFF000000u | (x * 20) << 16 | (y * 25) << 8 | (x * y));
        }
    }
    for (bool interlaced : {false, true}) {
        f.interlaced = interlaced;
        const std::vector<std::uint8_t> file = WritePng(f);
        d3dx::DecodedImage image;
        ASSERT_EQ(d3dx::DecodeImage(file.data(), file.size(), &image), S_OK);
        EXPECT_EQ(image.pixels, expected) << "interlaced " << interlaced;
    }
}

TEST(ImageDecode, JpegFilesOfEachKindDecode) {
    struct Case {
        const char* file;
        std::uint32_t size;
        // Expected colour at the centre of each quadrant (top left, top right, bottom left,
        // bottom right); JPEG is lossy, so channels may differ by a little.
        std::uint32_t quadrants[4];
    };
    const Case cases[] = {
        {"quadrants_16x16.jpg", 16, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {"quadrants_progressive_16x16.jpg",
         16,
         {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {"grey_8x8.jpg", 8, {0xFF808080u, 0xFF808080u, 0xFF808080u, 0xFF808080u}},
        {"cmyk_red_8x8.jpg", 8, {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> file = ReadFixture(c.file);
        ASSERT_FALSE(file.empty()) << c.file;
        d3dx::DecodedImage image;
        ASSERT_EQ(d3dx::DecodeImage(file.data(), file.size(), &image), S_OK) << c.file;
        ASSERT_EQ(image.header.width, c.size) << c.file;
        ASSERT_EQ(image.header.height, c.size) << c.file;
        EXPECT_FALSE(image.header.hasAlpha) << c.file;
        const std::uint32_t q = c.size / 4;
        const std::uint32_t points[4][2] = {{q, q}, {3 * q, q}, {q, 3 * q}, {3 * q, 3 * q}};
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t got = image.pixels[points[i][1] * c.size + points[i][0]];
            for (int shift = 0; shift < 32; shift += 8) {
                const int a = static_cast<int>((got >> shift) & 0xFF);
                const int b = static_cast<int>((c.quadrants[i] >> shift) & 0xFF);
                EXPECT_NEAR(a, b, 6) << c.file << " quadrant " << i << " shift " << shift;
            }
        }
    }
}

TEST(ImageDecode, ImageInfoDescribesTheFileWithoutDecodingIt) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        UINT width;
        UINT height;
        D3DFORMAT format;
        D3DXIMAGE_FILEFORMAT kind;
    };
    const Case cases[] = {
        {"RGBA PNG", WritePng(OneRow(3, 8, 6, std::vector<std::uint8_t>(12))), 3, 1,
         D3DFMT_A8R8G8B8, D3DXIFF_PNG},
        {"grey PNG", WritePng(OneRow(5, 8, 0, std::vector<std::uint8_t>(5))), 5, 1, D3DFMT_X8R8G8B8,
         D3DXIFF_PNG},
        {"palette PNG with alpha", WritePng(WithTransparency(OneRow(1, 8, 3, {0}), {1, 2, 3}, {0})),
         1, 1, D3DFMT_A8R8G8B8, D3DXIFF_PNG},
        {"JPEG", ReadFixture("quadrants_16x16.jpg"), 16, 16, D3DFMT_X8R8G8B8, D3DXIFF_JPG},
    };
    for (const Case& c : cases) {
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(D3DXGetImageInfoFromFileInMemory(c.file.data(), static_cast<UINT>(c.file.size()),
                                                   &info),
                  S_OK)
            << c.name;
        EXPECT_EQ(info.Width, c.width) << c.name;
        EXPECT_EQ(info.Height, c.height) << c.name;
        EXPECT_EQ(info.Depth, 1u) << c.name;
        EXPECT_EQ(info.MipLevels, 1u) << c.name;
        EXPECT_EQ(info.Format, c.format) << c.name;
        EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE) << c.name;
        EXPECT_EQ(info.ImageFileFormat, c.kind) << c.name;
    }
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(D3DXGetImageInfoFromFileInMemory(nullptr, 10, &info), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXGetImageInfoFromFileInMemory("x", 0, &info), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXGetImageInfoFromFileInMemory("BM not an image", 15, &info), D3DXERR_INVALIDDATA);
}

}  // namespace
