#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "d3dx_fixture_files.h"
#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/image_info.h"
#include "png_fixture.h"

using d3dx_test::FindChunkData;
using d3dx_test::FixChunkCrc;
using d3dx_test::PngFixture;

namespace {

std::vector<std::uint8_t> SmallRgbaPng() {
    PngFixture f;
    f.width = 4;
    f.height = 3;
    for (std::uint32_t y = 0; y < f.height; ++y) {
        f.rows.push_back(std::vector<std::uint8_t>(16, static_cast<std::uint8_t>(40 * y + 7)));
    }
    return d3dx_test::WritePng(f);
}

HRESULT Decode(const std::vector<std::uint8_t>& file) {
    d3dx::DecodedImage image;
    const HRESULT hr = d3dx::DecodeImage(file.data(), file.size(), &image);
    if (FAILED(hr)) {
        EXPECT_TRUE(image.pixels.empty());
    }
    return hr;
}

void PutBigEndian32(std::vector<std::uint8_t>* file, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        (*file)[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

TEST(ImageDamage, EveryTruncationOfAPngOrJpegFails) {
    for (const std::vector<std::uint8_t>& whole :
         {SmallRgbaPng(), d3dx_test::ReadFixture("quadrants_16x16.jpg"),
          d3dx_test::ReadFixture("quadrants_progressive_16x16.jpg")}) {
        ASSERT_EQ(Decode(whole), S_OK);
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + size);
            EXPECT_EQ(Decode(prefix), D3DXERR_INVALIDDATA) << "first " << size << " bytes";
        }
    }
}

TEST(ImageDamage, DamagedPngChunksAreRefused) {
    using Damage = std::function<void(std::vector<std::uint8_t>*)>;
    struct Case {
        const char* name;
        Damage damage;
        bool headerReadable;  // whether the image information can still be read
    };
    const std::vector<std::uint8_t> good = SmallRgbaPng();
    const std::size_t ihdr = FindChunkData(good, "IHDR");
    const std::size_t idat = FindChunkData(good, "IDAT");
    ASSERT_NE(ihdr, 0u);
    ASSERT_NE(idat, 0u);
    const Case cases[] = {
        {"wrong CRC on the image data", [&](auto* f) { (*f)[idat + 2] ^= 0x55; }, true},
        {"wrong CRC on the header", [&](auto* f) { (*f)[ihdr + 13] ^= 1; }, false},
        {"data damaged, CRC made to match",
         [&](auto* f) {
             (*f)[idat + 3] ^= 0xFF;
             (*f)[idat + 4] ^= 0xFF;
             FixChunkCrc(f, idat);
         },
         true},
        {"width 0",
         [&](auto* f) {
             PutBigEndian32(f, ihdr, 0);
             FixChunkCrc(f, ihdr);
         },
         false},
        {"width above 16384",
         [&](auto* f) {
             PutBigEndian32(f, ihdr, 16385);
             FixChunkCrc(f, ihdr);
         },
         false},
        {"huge both ways",
         [&](auto* f) {
             PutBigEndian32(f, ihdr, 0x7FFFFFFF);
             PutBigEndian32(f, ihdr + 4, 0x7FFFFFFF);
             FixChunkCrc(f, ihdr);
         },
         false},
        {"larger than the data",
         [&](auto* f) {
             PutBigEndian32(f, ihdr + 4, 3000);
             FixChunkCrc(f, ihdr);
         },
         true},
        {"RGB with 4-bit samples",
         [&](auto* f) {
             (*f)[ihdr + 8] = 4;
             FixChunkCrc(f, ihdr);
         },
         false},
        {"unknown compression",
         [&](auto* f) {
             (*f)[ihdr + 10] = 1;
             FixChunkCrc(f, ihdr);
         },
         false},
        {"chunk length past the end", [&](auto* f) { PutBigEndian32(f, idat - 8, 0x7FFFFFF0); },
         true},
        {"no IEND", [&](auto* f) { f->resize(f->size() - 12); }, true},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = good;
        c.damage(&file);
        EXPECT_EQ(Decode(file), D3DXERR_INVALIDDATA) << c.name;
        D3DXIMAGE_INFO info{};
        EXPECT_EQ(SUCCEEDED(D3DXGetImageInfoFromFileInMemory(
                      file.data(), static_cast<UINT>(file.size()), &info)),
                  c.headerReadable)
            << c.name;
    }
}

TEST(ImageDamage, LargestAcceptedSideIs16384) {
    PngFixture f;
    f.width = 16384;
    f.height = 1;
    f.colourType = 0;
    f.rows = {std::vector<std::uint8_t>(16384, 0x11)};
    const std::vector<std::uint8_t> file = d3dx_test::WritePng(f);
    d3dx::DecodedImage image;
    ASSERT_EQ(d3dx::DecodeImage(file.data(), file.size(), &image), S_OK);
    EXPECT_EQ(image.pixels.size(), 16384u);
    EXPECT_EQ(image.pixels.back(), 0xFF111111u);
}

TEST(ImageDamage, DamagedJpegIsRefused) {
    const std::vector<std::uint8_t> good = d3dx_test::ReadFixture("quadrants_16x16.jpg");
    ASSERT_GT(good.size(), 100u);
    std::vector<std::uint8_t> noFrame = good;
    // Every start-of-frame marker turned into an unknown application marker.
    for (std::size_t i = 0; i + 1 < noFrame.size(); ++i) {
        if (noFrame[i] == 0xFF && noFrame[i + 1] == 0xC0) {
            noFrame[i + 1] = 0xEF;
        }
    }
    EXPECT_EQ(Decode(noFrame), D3DXERR_INVALIDDATA);
    const std::vector<std::uint8_t> onlyStart = {0xFF, 0xD8, 0xFF};
    EXPECT_EQ(Decode(onlyStart), D3DXERR_INVALIDDATA);
}

}  // namespace
