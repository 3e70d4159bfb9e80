#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/d3dx/surface_load.h"
#include "platform/d3dx/texture_create.h"
#include "png_fixture.h"

namespace {

HWND TestWindow() {
    static int anchor;
    return reinterpret_cast<HWND>(&anchor);
}

std::vector<std::uint8_t> RgbaPng(std::uint32_t width, std::uint32_t height,
                                  std::uint8_t alpha = 0xFF) {
    d3dx_test::PngFixture f;
    f.width = width;
    f.height = height;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row;
        for (std::uint32_t x = 0; x < width; ++x) {
            row.insert(row.end(), {static_cast<std::uint8_t>(0x10 * (x + 1)),
                                   static_cast<std::uint8_t>(0x10 * (y + 1)), 0x80, alpha});
        }
        f.rows.push_back(row);
    }
    return d3dx_test::WritePng(f);
}

std::uint32_t ImagePixel(std::uint32_t x, std::uint32_t y, std::uint32_t alpha = 0xFF) {
    return (alpha << 24) | ((0x10 * (x + 1)) << 16) | ((0x10 * (y + 1)) << 8) | 0x80;
}

class TextureCreateTest : public ::testing::Test {
protected:
    void SetUp() override {
        table_ = d3d9_test::DefaultAdapterTable();
        d3d9_test::SetAdapterTable(table_);
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = 16;
        pp.BackBufferHeight = 8;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = TestWindow();
        pp.Windowed = TRUE;
        ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, TestWindow(),
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device_),
                  S_OK);
    }
    void TearDown() override {
        if (device_ != nullptr) {
            device_->Release();
        }
        if (d3d_ != nullptr) {
            d3d_->Release();
        }
        d3d9_test::ResetAdapterTable();
    }
    void SetTextureCaps(DWORD textureCaps, DWORD maxSize = 4096) {
        table_.caps.TextureCaps = textureCaps;
        table_.caps.MaxTextureWidth = maxSize;
        table_.caps.MaxTextureHeight = maxSize;
        d3d9_test::SetAdapterTable(table_);
    }
    IDirect3DTexture9* Load(const std::vector<std::uint8_t>& file, UINT width, UINT height,
                            D3DFORMAT format, DWORD filter, HRESULT expected = S_OK,
                            D3DXIMAGE_INFO* info = nullptr) {
        IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
        EXPECT_EQ(
            D3DXCreateTextureFromFileInMemoryEx(
                device_, file.data(), static_cast<UINT>(file.size()), width, height, D3DX_DEFAULT,
                0, format, D3DPOOL_MANAGED, filter, D3DX_DEFAULT, 0, info, nullptr, &texture),
            expected);
        if (FAILED(expected)) {
            EXPECT_EQ(texture, nullptr);
        }
        return texture;
    }
    // Level 0 as A8R8G8B8 values.
    static std::vector<std::uint32_t> Pixels(IDirect3DTexture9* texture, D3DSURFACE_DESC* desc) {
        texture->GetLevelDesc(0, desc);
        std::vector<std::uint32_t> out;
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
        for (UINT y = 0; y < desc->Height; ++y) {
            const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch;
            for (UINT x = 0; x < desc->Width; ++x) {
                if (desc->Format == D3DFMT_R5G6B5) {
                    out.push_back(static_cast<std::uint32_t>(row[2 * x] | (row[2 * x + 1] << 8)));
                } else {
                    out.push_back(static_cast<std::uint32_t>(row[4 * x]) |
                                  (static_cast<std::uint32_t>(row[4 * x + 1]) << 8) |
                                  (static_cast<std::uint32_t>(row[4 * x + 2]) << 16) |
                                  (static_cast<std::uint32_t>(row[4 * x + 3]) << 24));
                }
            }
        }
        texture->UnlockRect(0);
        return out;
    }

    d3d9_test::AdapterTable table_{};
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

TEST_F(TextureCreateTest, ImageSitsAtTheTopLeftOfAPowerOfTwoTextureWhenTheDeviceAsks) {
    struct Case {
        const char* name;
        DWORD textureCaps;
        UINT expectedWidth;
        UINT expectedHeight;
    };
    const Case cases[] = {
        {"any size", 0, 3, 5},
        {"powers of two", D3DPTEXTURECAPS_POW2, 4, 8},
        {"powers of two unless conditional",
         D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL, 3, 5},
        {"square powers of two", D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 8, 8},
    };
    for (const Case& c : cases) {
        SetTextureCaps(c.textureCaps);
        D3DXIMAGE_INFO info{};
        IDirect3DTexture9* texture = Load(RgbaPng(3, 5), D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_UNKNOWN,
                                          D3DX_FILTER_NONE, S_OK, &info);
        ASSERT_NE(texture, nullptr) << c.name;
        EXPECT_EQ(texture->GetLevelCount(), 1u) << c.name;
        D3DSURFACE_DESC desc{};
        const std::vector<std::uint32_t> pixels = Pixels(texture, &desc);
        EXPECT_EQ(desc.Width, c.expectedWidth) << c.name;
        EXPECT_EQ(desc.Height, c.expectedHeight) << c.name;
        EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8) << c.name;
        for (UINT y = 0; y < desc.Height; ++y) {
            for (UINT x = 0; x < desc.Width; ++x) {
                const std::uint32_t want = (x < 3 && y < 5) ? ImagePixel(x, y) : 0u;
                EXPECT_EQ(pixels[y * desc.Width + x], want) << c.name << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(info.Width, 3u) << c.name;
        EXPECT_EQ(info.Height, 5u) << c.name;
        texture->Release();
    }
}

TEST_F(TextureCreateTest, FormatsSizesAndFiltersFollowTheRequest) {
    SetTextureCaps(D3DPTEXTURECAPS_POW2, 4);
    // An alpha image keeps its alpha, and the padding is transparent.
    IDirect3DTexture9* alpha =
        Load(RgbaPng(3, 1, 0x40), D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_UNKNOWN, D3DX_FILTER_NONE);
    ASSERT_NE(alpha, nullptr);
    D3DSURFACE_DESC desc{};
    std::vector<std::uint32_t> pixels = Pixels(alpha, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{ImagePixel(0, 0, 0x40), ImagePixel(1, 0, 0x40),
                                                  ImagePixel(2, 0, 0x40), 0u}));
    alpha->Release();

    // Wider than the device allows: scaled down to the largest texture.
    IDirect3DTexture9* clamped =
        Load(RgbaPng(8, 1), D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_UNKNOWN, D3DX_FILTER_POINT);
    ASSERT_NE(clamped, nullptr);
    pixels = Pixels(clamped, &desc);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{ImagePixel(1, 0), ImagePixel(3, 0),
                                                  ImagePixel(5, 0), ImagePixel(7, 0)}));
    clamped->Release();

    // A requested size other than the image's scales the image into it.
    IDirect3DTexture9* halved = Load(RgbaPng(4, 2), 2, 1, D3DFMT_R5G6B5, D3DX_FILTER_POINT);
    ASSERT_NE(halved, nullptr);
    pixels = Pixels(halved, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    ASSERT_EQ(desc.Width, 2u);
    ASSERT_EQ(desc.Height, 1u);
    // (0x20, 0x20, 0x80) and (0x40, 0x20, 0x80) in 5-6-5 bits.
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{(4u << 11) | (8u << 5) | 16u,
                                                  (8u << 11) | (8u << 5) | 16u}));
    halved->Release();
}

TEST_F(TextureCreateTest, DamagedFilesAndBadArgumentsCreateNothing) {
    std::vector<std::uint8_t> truncated = RgbaPng(4, 4);
    truncated.resize(truncated.size() / 2);
    Load(truncated, D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_UNKNOWN, D3DX_FILTER_NONE,
         D3DXERR_INVALIDDATA);
    Load(RgbaPng(2, 2), D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_UNKNOWN, 9, D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(nullptr, "x", 1, 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                                  D3DPOOL_MANAGED, D3DX_FILTER_NONE, 0, 0, nullptr,
                                                  nullptr, nullptr),
              D3DERR_INVALIDCALL);
}

TEST_F(TextureCreateTest, BlankTexturesFollowTheDeviceRequirements) {
    struct Case {
        const char* name;
        DWORD textureCaps;
        UINT width;
        UINT height;
        D3DFORMAT format;
        UINT expectedWidth;
        UINT expectedHeight;
        D3DFORMAT expectedFormat;
    };
    const Case cases[] = {
        {"defaults", 0, 0, D3DX_DEFAULT, D3DFMT_UNKNOWN, 256, 256, D3DFMT_A8R8G8B8},
        {"any size", 0, 100, 30, D3DFMT_R5G6B5, 100, 30, D3DFMT_R5G6B5},
        {"powers of two", D3DPTEXTURECAPS_POW2, 100, 30, D3DFMT_A4R4G4B4, 128, 32, D3DFMT_A4R4G4B4},
    };
    for (const Case& c : cases) {
        SetTextureCaps(c.textureCaps);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTexture(device_, c.width, c.height, 1, 0, c.format, D3DPOOL_MANAGED,
                                    &texture),
                  S_OK)
            << c.name;
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(0, &desc);
        EXPECT_EQ(desc.Width, c.expectedWidth) << c.name;
        EXPECT_EQ(desc.Height, c.expectedHeight) << c.name;
        EXPECT_EQ(desc.Format, c.expectedFormat) << c.name;
        EXPECT_EQ(texture->GetLevelCount(), 1u) << c.name;
        texture->Release();
    }
}

TEST_F(TextureCreateTest, AnUnlockableBackBufferIsReadThroughACopy) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0), S_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), S_OK);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device_, 8, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              S_OK);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), S_OK);
    EXPECT_EQ(D3DXLoadSurfaceFromSurface(level, nullptr, nullptr, backBuffer, nullptr, nullptr,
                                         D3DX_FILTER_LINEAR, 0),
              S_OK);
    level->Release();
    backBuffer->Release();
    D3DSURFACE_DESC desc{};
    for (std::uint32_t pixel : Pixels(texture, &desc)) {
        EXPECT_EQ(pixel, 0xFF336699u);
    }
    texture->Release();
}

}  // namespace
