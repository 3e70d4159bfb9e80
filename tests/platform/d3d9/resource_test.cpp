// Textures, surfaces and vertex buffers: creation rules, levels, locks and their bounds.

#include <cstring>
#include <vector>

#include "device_fixture.h"

namespace d3d9_tests {
namespace {

using ResourceTest = DeviceTest;

TEST_F(ResourceTest, TextureCreationRules) {
    MakeDevice(16, 16);
    struct Case {
        const char* name;
        UINT width;
        UINT height;
        DWORD usage;
        D3DFORMAT format;
        D3DPOOL pool;
        HRESULT expected;
    };
    const Case cases[] = {
        {"managed A8R8G8B8", 64, 32, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3D_OK},
        {"non-power-of-two", 100, 50, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, D3D_OK},
        {"render target R5G6B5", 64, 64, D3DUSAGE_RENDERTARGET, D3DFMT_R5G6B5, D3DPOOL_DEFAULT,
         D3D_OK},
        {"managed render target", 64, 64, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED,
         D3DERR_INVALIDCALL},
        {"render target A1R5G5B5", 64, 64, D3DUSAGE_RENDERTARGET, D3DFMT_A1R5G5B5, D3DPOOL_DEFAULT,
         D3DERR_INVALIDCALL},
        {"dynamic managed", 64, 64, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
         D3DERR_INVALIDCALL},
        {"depth texture", 64, 64, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D16, D3DPOOL_DEFAULT,
         D3DERR_INVALIDCALL},
        {"zero width", 0, 64, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
        {"beyond the maximum size", 8192, 64, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
         D3DERR_INVALIDCALL},
        {"compressed format", 64, 64, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
        {"unknown pool", 64, 64, 0, D3DFMT_A8R8G8B8, static_cast<D3DPOOL>(7), D3DERR_INVALIDCALL},
    };
    for (const Case& c : cases) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device_->CreateTexture(c.width, c.height, 1, c.usage, c.format, c.pool, &texture,
                                         nullptr),
                  c.expected)
            << c.name;
        if (texture != nullptr) {
            texture->Release();
        }
    }

    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
    d3d9_test::SetAdapterTable(table);
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(
        device_->CreateTexture(100, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3DERR_INVALIDCALL);
}

TEST_F(ResourceTest, LevelChainAndDescriptions) {
    MakeDevice(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device_->CreateTexture(100, 20, 0, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 7u);  // 100 50 25 12 6 3 1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(6, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    ASSERT_EQ(texture->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 25u);
    EXPECT_EQ(desc.Height, 5u);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(texture->GetLevelDesc(7, &desc), D3DERR_INVALIDCALL);
    IDirect3DSurface9* level = nullptr;
    EXPECT_EQ(texture->GetSurfaceLevel(7, &level), D3DERR_INVALIDCALL);
    EXPECT_EQ(level, nullptr);
    IDirect3DTexture9* tooMany = nullptr;
    EXPECT_EQ(device_->CreateTexture(4, 4, 4, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &tooMany, nullptr),
              D3DERR_INVALIDCALL);
    texture->Release();
}

TEST_F(ResourceTest, LockRectBoundsAndNesting) {
    MakeDevice(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device_->CreateTexture(10, 10, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    D3DLOCKED_RECT whole{};
    ASSERT_EQ(texture->LockRect(0, &whole, nullptr, 0), D3D_OK);
    EXPECT_GE(whole.Pitch, 20);
    D3DLOCKED_RECT again{};
    EXPECT_EQ(texture->LockRect(0, &again, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);

    const RECT inside{2, 3, 5, 4};
    D3DLOCKED_RECT part{};
    ASSERT_EQ(texture->LockRect(0, &part, &inside, 0), D3D_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(part.pBits) - static_cast<std::uint8_t*>(whole.pBits),
              3 * whole.Pitch + 2 * 2);
    texture->UnlockRect(0);
    const RECT bad[] = {{0, 0, 11, 1}, {-1, 0, 2, 2}, {3, 3, 3, 5}, {4, 4, 2, 6}};
    for (const RECT& r : bad) {
        EXPECT_EQ(texture->LockRect(0, &part, &r, 0), D3DERR_INVALIDCALL)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    texture->Release();

    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(8, 8, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                 &depth, nullptr),
              D3D_OK);
    EXPECT_EQ(depth->LockRect(&part, nullptr, 0), D3DERR_INVALIDCALL);
    depth->Release();
}

TEST_F(ResourceTest, SurfaceCreationRules) {
    MakeDevice(16, 16);
    IDirect3DSurface9* surface = nullptr;
    // Surfaces cannot be managed.
    EXPECT_EQ(device_->CreateOffscreenPlainSurface(8, 8, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &surface,
                                                   nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(
        device_->CreateOffscreenPlainSurface(8, 8, D3DFMT_D16, D3DPOOL_DEFAULT, &surface, nullptr),
        D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(8, 8, D3DFMT_A1R5G5B5, D3DPOOL_SCRATCH, &surface,
                                                   nullptr),
              D3D_OK);
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    EXPECT_EQ(desc.Pool, D3DPOOL_SCRATCH);
    EXPECT_EQ(desc.Type, D3DRTYPE_SURFACE);
    // A plain surface is no render target.
    EXPECT_EQ(device_->SetRenderTarget(0, surface), D3DERR_INVALIDCALL);
    surface->Release();
    HANDLE shared = nullptr;
    EXPECT_EQ(device_->CreateRenderTarget(8, 8, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                          &surface, &shared),
              D3DERR_INVALIDCALL);
}

// A pixel never written holds the bytes a colour fill with 0 stores: the unused bits of the
// X formats set, everything else clear.
TEST_F(ResourceTest, NewSurfacesHoldTheBytesOfAFillWithZero) {
    MakeDevice(16, 16);
    struct Case {
        const char* name;
        D3DFORMAT format;
        std::uint32_t pixel;
    };
    const Case cases[] = {
        {"X8R8G8B8", D3DFMT_X8R8G8B8, 0xFF000000u},
        {"A8R8G8B8", D3DFMT_A8R8G8B8, 0u},
        {"X1R5G5B5", D3DFMT_X1R5G5B5, 0x8000u},
        {"A1R5G5B5", D3DFMT_A1R5G5B5, 0u},
        {"X4R4G4B4", D3DFMT_X4R4G4B4, 0xF000u},
        {"A4R4G4B4", D3DFMT_A4R4G4B4, 0u},
        {"R5G6B5", D3DFMT_R5G6B5, 0u},
    };
    const auto rawPixels = [](IDirect3DSurface9* surface, int bytesPerPixel) {
        std::vector<std::uint32_t> pixels;
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel,
                            static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch +
                                x * bytesPerPixel,
                            static_cast<std::size_t>(bytesPerPixel));
                pixels.push_back(pixel);
            }
        }
        surface->UnlockRect();
        return pixels;
    };
    for (const Case& c : cases) {
        const int bytesPerPixel =
            c.format == D3DFMT_X8R8G8B8 || c.format == D3DFMT_A8R8G8B8 ? 4 : 2;
        // An odd width leaves padding at the end of 16-bit rows.
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(device_->CreateOffscreenPlainSurface(5, 3, c.format, D3DPOOL_DEFAULT, &surface,
                                                       nullptr),
                  D3D_OK)
            << c.name;
        const std::vector<std::uint32_t> fresh = rawPixels(surface, bytesPerPixel);
        EXPECT_EQ(fresh, std::vector<std::uint32_t>(15, c.pixel)) << c.name;
        ASSERT_EQ(device_->ColorFill(surface, nullptr, 0u), D3D_OK) << c.name;
        EXPECT_EQ(rawPixels(surface, bytesPerPixel), fresh) << c.name;
        surface->Release();
    }
}

TEST_F(ResourceTest, VertexBufferLockBounds) {
    MakeDevice(16, 16);
    IDirect3DVertexBuffer9* buffer = nullptr;
    EXPECT_EQ(device_->CreateVertexBuffer(0, 0, kTLVertexFvf, D3DPOOL_SYSTEMMEM, &buffer, nullptr),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, kTLVertexFvf, D3DPOOL_SYSTEMMEM,
                                          &buffer, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Lock(100, 12, &data, 0), D3D_OK);
    buffer->Unlock();
    EXPECT_EQ(buffer->Lock(100, 13, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(113, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(0xFFFFFFF0u, 0x20, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    D3DVERTEXBUFFER_DESC desc{};
    buffer->GetDesc(&desc);
    EXPECT_EQ(desc.Size, 112u);
    EXPECT_EQ(desc.FVF, kTLVertexFvf);
    EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
    buffer->Release();
}

}  // namespace
}  // namespace d3d9_tests
