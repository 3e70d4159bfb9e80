// Clears, colour fills, surface copies and pixel-format conversion.

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "device_fixture.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/pixel_math.h"

namespace d3d9_tests {
namespace {

using CopyTest = DeviceTest;

TEST(PixelFormat, SixteenBitChannelsSurviveARoundTrip) {
    using d3d9_internal::PixelFromArgb;
    using d3d9_internal::PixelToArgb;
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X1R5G5B5}) {
        for (std::uint32_t v = 0; v < 65536; ++v) {
            auto in = static_cast<std::uint16_t>(v);
            if (format == D3DFMT_X1R5G5B5) {
                in |= 0x8000;
            }
            std::uint8_t out[2];
            PixelFromArgb(format, PixelToArgb(format, reinterpret_cast<const std::uint8_t*>(&in)),
                          out);
            std::uint16_t back;
            std::memcpy(&back, out, 2);
            ASSERT_EQ(back, in) << "format " << format << " value " << v;
        }
    }
    // Narrowing rounds to the nearest level; widening fills the low bits.
    const std::uint32_t grey = 0xFF848484u;
    std::uint8_t packed[2];
    PixelFromArgb(D3DFMT_R5G6B5, grey, packed);
    EXPECT_EQ(PixelToArgb(D3DFMT_R5G6B5, packed), 0xFF848684u);
    const std::uint8_t opaque[4] = {1, 2, 3, 0};
    EXPECT_EQ(PixelToArgb(D3DFMT_X8R8G8B8, opaque), 0xFF030201u);
}

// The row routines (the device's reads, writes, masked writes and fills of whole rows) against
// the single-pixel ones, in every colour format: every 16-bit value read, random colours written
// over random bytes with and without a mask, rows of every length from 1 to past two vector
// steps and fills up to past the fill pattern, each at its own start.
TEST(PixelFormat, RowsMatchThePixelFunctions) {
    using namespace d3d9_internal;
    std::mt19937 random(20261207);
    constexpr int kPixels = 65536 + 64;
    for (const bool wide : {false, true}) {
        d3d9_test::SetWideVectorsEnabled(wide);
        for (D3DFORMAT format : {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5,
                                 D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4}) {
            const int bpp = BytesPerPixel(format);
            std::vector<std::uint8_t> stored(static_cast<std::size_t>(kPixels) * bpp);
            for (int i = 0; i < kPixels; ++i) {
                const auto value = bpp == 2 ? static_cast<std::uint32_t>(i & 0xFFFF)
                                            : static_cast<std::uint32_t>(random());
                std::memcpy(&stored[static_cast<std::size_t>(i) * bpp], &value,
                            static_cast<std::size_t>(bpp));
            }
            std::vector<std::uint32_t> colours(kPixels);
            std::vector<std::uint8_t> mask(kPixels);
            for (int i = 0; i < kPixels; ++i) {
                // Runs of 40 of one kind: random, transparent, black and transparent, white and
                // opaque, opaque.
                const std::uint32_t kinds[] = {0xFFFFFFFFu, 0x00FFFFFFu, 0u, 0u, 0xFFFFFFFFu};
                const std::uint32_t sets[] = {0u, 0u, 0u, 0xFFFFFFFFu, 0xFF000000u};
                const int kind = i / 40 % 5;
                colours[static_cast<std::size_t>(i)] =
                    (static_cast<std::uint32_t>(random()) & kinds[kind]) | sets[kind];
                const std::uint8_t maskBytes[] = {0, 1, 0x80, 0xFF};
                mask[static_cast<std::size_t>(i)] = maskBytes[random() % 4];
            }
            std::vector<std::uint32_t> read(kPixels);
            std::vector<std::uint8_t> written = stored;
            std::vector<std::uint8_t> masked = stored;
            std::vector<std::uint8_t> filled = stored;
            for (int start = 0, length = 1; start < kPixels;
                 start += length, length = length % 70 + 1) {
                const int n = std::min(length, kPixels - start);
                const std::size_t at = static_cast<std::size_t>(start) * bpp;
                RowToArgb(format, &stored[at], &read[static_cast<std::size_t>(start)], n);
                RowFromArgb(format, &colours[static_cast<std::size_t>(start)], &written[at], n);
                RowFromArgbMasked(format, &colours[static_cast<std::size_t>(start)], &masked[at],
                                  &mask[static_cast<std::size_t>(start)], n);
                FillRow(format, colours[static_cast<std::size_t>(start)], &filled[at], n);
            }
            std::vector<std::uint8_t> expectWritten = stored;
            std::vector<std::uint8_t> expectMasked = stored;
            std::vector<std::uint8_t> expectFilled = stored;
            for (int start = 0, length = 1; start < kPixels;
                 start += length, length = length % 70 + 1) {
                for (int i = start; i < std::min(start + length, kPixels); ++i) {
                    const auto k = static_cast<std::size_t>(i);
                    ASSERT_EQ(read[k], PixelToArgb(format, &stored[k * bpp]))
                        << "format " << format << " pixel " << i;
                    PixelFromArgb(format, colours[k], &expectWritten[k * bpp]);
                    if (mask[k] != 0) {
                        PixelFromArgb(format, colours[k], &expectMasked[k * bpp]);
                    }
                    PixelFromArgb(format, colours[static_cast<std::size_t>(start)],
                                  &expectFilled[k * bpp]);
                }
            }
            // The blends that go straight into the format: bytes as through A8R8G8B8 values.
            for (const auto& [src, dst] : {std::pair{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                           {D3DBLEND_ONE, D3DBLEND_ONE},
                                           {D3DBLEND_ONE, D3DBLEND_ZERO},
                                           {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},
                                           {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
                                           {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                           {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO}}) {
                if (bpp != 2) {
                    continue;
                }
                PipelineState state;
                state.blend = true;
                state.srcBlend = src;
                state.destBlend = dst;
                std::vector<std::uint8_t> blended = stored;
                std::vector<std::uint8_t> expectBlended = stored;
                for (int start = 0, length = 1; start < kPixels;
                     start += length, length = length % 70 + 1) {
                    const int n = std::min(length, kPixels - start);
                    const auto k = static_cast<std::size_t>(start);
                    ASSERT_TRUE(RowBlend(format, src, dst, &colours[k], &blended[k * 2],
                                         start % 3 == 0 ? nullptr : &mask[k], n));
                    for (std::size_t i = k; i < k + static_cast<std::size_t>(n); ++i) {
                        if (start % 3 == 0 || mask[i] != 0) {
                            PixelFromArgb(
                                format,
                                BlendPixel(state, colours[i], PixelToArgb(format, &stored[i * 2])),
                                &expectBlended[i * 2]);
                        }
                    }
                }
                ASSERT_EQ(blended, expectBlended)
                    << "format " << format << " blend " << src << ", " << dst;
            }
            EXPECT_EQ(written, expectWritten) << "format " << format;
            EXPECT_EQ(masked, expectMasked) << "format " << format;
            EXPECT_EQ(filled, expectFilled) << "format " << format;
        }
    }
    d3d9_test::SetWideVectorsEnabled(true);
}

TEST_F(CopyTest, ClearHonoursViewportRectanglesAndScissor) {
    MakeDevice(16, 8);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 0.0f, 0),
              D3D_OK);
    const D3DVIEWPORT9 viewport{2, 1, 10, 6, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0), D3D_OK);
    EXPECT_EQ(PixelAt(1, 1), 0xFF000000u);
    EXPECT_EQ(PixelAt(2, 1), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(11, 6), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(12, 6), 0xFF000000u);

    // Rectangles are cut to the viewport.
    const D3DRECT rects[] = {{0, 0, 4, 4}, {10, 5, 20, 20}};
    ASSERT_EQ(device_->Clear(2, rects, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0), D3D_OK);
    EXPECT_EQ(PixelAt(1, 1), 0xFF000000u);
    EXPECT_EQ(PixelAt(3, 3), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(11, 6), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(12, 7), 0xFF000000u);

    const RECT scissor{5, 0, 6, 8};
    device_->SetScissorRect(&scissor);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0), D3D_OK);
    EXPECT_EQ(PixelAt(5, 3), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(6, 3), 0xFF0000FFu);

    // The lockable back buffer reads the same through LockRect.
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DLOCKED_RECT locked{};
    const RECT pixel{5, 3, 6, 4};
    ASSERT_EQ(backBuffer->LockRect(&locked, &pixel, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<const std::uint32_t*>(locked.pBits) | 0xFF000000u, 0xFF00FF00u);
    backBuffer->UnlockRect();
    backBuffer->Release();

    EXPECT_EQ(device_->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    // The D16 buffer has no stencil.
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(CopyTest, ColorFillWritesWithoutBlending) {
    MakeDevice(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_R5G6B5, D3DPOOL_DEFAULT,
                                     &texture, nullptr),
              D3D_OK);
    IDirect3DSurface9* level = nullptr;
    texture->GetSurfaceLevel(0, &level);
    const RECT part{2, 2, 4, 3};
    ASSERT_EQ(device_->ColorFill(level, nullptr, 0x80000000u), D3D_OK);
    ASSERT_EQ(device_->ColorFill(level, &part, 0x80FFFFFFu), D3D_OK);
    const std::vector<std::uint32_t> pixels = ReadTarget(level);
    EXPECT_EQ(pixels[2 * 8 + 2], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[2 * 8 + 4], 0xFF000000u);
    const RECT outside{6, 6, 9, 7};
    EXPECT_EQ(device_->ColorFill(level, &outside, 0), D3DERR_INVALIDCALL);
    level->Release();
    texture->Release();

    IDirect3DTexture9* managed = MakeTexture(4, 4, [](int, int) { return 0; });
    managed->GetSurfaceLevel(0, &level);
    EXPECT_EQ(device_->ColorFill(level, nullptr, 0), D3DERR_INVALIDCALL);
    level->Release();
    managed->Release();
}

TEST_F(CopyTest, UpdateSurfaceCopiesInsideBounds) {
    MakeDevice(16, 16);
    IDirect3DTexture9* source = MakeTexture(
        8, 8, [](int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(y * 16 + x); });
    IDirect3DTexture9* dest = MakeTexture(8, 8, [](int, int) { return 0u; });
    IDirect3DSurface9* from = nullptr;
    IDirect3DSurface9* to = nullptr;
    source->GetSurfaceLevel(0, &from);
    dest->GetSurfaceLevel(0, &to);
    const RECT cell{1, 2, 4, 4};
    const POINT at{5, 6};
    ASSERT_EQ(device_->UpdateSurface(from, &cell, to, &at), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(to->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto texel = [&](int x, int y) {
        return static_cast<const std::uint32_t*>(locked.pBits)[y * locked.Pitch / 4 + x];
    };
    EXPECT_EQ(texel(5, 6), 0xFF000021u);
    EXPECT_EQ(texel(7, 7), 0xFF000033u);
    EXPECT_EQ(texel(4, 6), 0u);
    to->UnlockRect();
    const POINT overhang{6, 6};
    EXPECT_EQ(device_->UpdateSurface(from, &cell, to, &overhang), D3DERR_INVALIDCALL);
    const POINT negative{-1, 0};
    EXPECT_EQ(device_->UpdateSurface(from, &cell, to, &negative), D3DERR_INVALIDCALL);
    // A point so far out that its rectangle's far edge passes the range of a LONG.
    const POINT farOut{0x7FFFFFFE, 0x7FFFFFFE};
    EXPECT_EQ(device_->UpdateSurface(from, &cell, to, &farOut), D3DERR_INVALIDCALL);
    IDirect3DTexture9* other = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &other, nullptr),
              D3D_OK);
    IDirect3DSurface9* otherLevel = nullptr;
    other->GetSurfaceLevel(0, &otherLevel);
    EXPECT_EQ(device_->UpdateSurface(from, nullptr, otherLevel, nullptr), D3DERR_INVALIDCALL);
    otherLevel->Release();
    other->Release();
    from->Release();
    to->Release();
    source->Release();
    dest->Release();
}

TEST_F(CopyTest, StretchRectScalesAndConverts) {
    MakeDevice(8, 8);
    // A 2 x 1 source: black, white.
    IDirect3DSurface9* source = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(2, 1, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &source,
                                                   nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    source->LockRect(&locked, nullptr, 0);
    static_cast<std::uint32_t*>(locked.pBits)[0] = 0x00000000u;
    static_cast<std::uint32_t*>(locked.pBits)[1] = 0x00FFFFFFu;
    source->UnlockRect();
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &target), D3D_OK);

    const RECT wide{0, 0, 8, 1};
    ASSERT_EQ(device_->StretchRect(source, nullptr, target, &wide, D3DTEXF_POINT), D3D_OK);
    std::vector<std::uint32_t> row = ReadTarget();
    EXPECT_EQ(row[3], 0xFF000000u);
    EXPECT_EQ(row[4], 0xFFFFFFFFu);

    ASSERT_EQ(device_->StretchRect(source, nullptr, target, &wide, D3DTEXF_LINEAR), D3D_OK);
    row = ReadTarget();
    // Centres at 0.125 .. 1.875 of the source: the outer pixels clamp, the inner ones ramp.
    EXPECT_EQ(row[0], 0xFF000000u);
    EXPECT_EQ(row[7], 0xFFFFFFFFu);
    EXPECT_LT(row[2] & 0xFF, row[3] & 0xFF);
    EXPECT_LT(row[3] & 0xFF, row[4] & 0xFF);
    EXPECT_EQ((row[3] & 0xFF) + (row[4] & 0xFF), 255u);

    // Overlapping copies within one surface and non-default pools are refused.
    const RECT a{0, 0, 4, 4};
    const RECT b{2, 2, 6, 6};
    EXPECT_EQ(device_->StretchRect(target, &a, target, &b, D3DTEXF_NONE), D3DERR_INVALIDCALL);
    IDirect3DSurface9* system = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(2, 1, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                   &system, nullptr),
              D3D_OK);
    EXPECT_EQ(device_->StretchRect(system, nullptr, target, &wide, D3DTEXF_NONE),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetRenderTargetData(target, system), D3DERR_INVALIDCALL);
    system->Release();
    target->Release();
    source->Release();
}

}  // namespace
}  // namespace d3d9_tests
