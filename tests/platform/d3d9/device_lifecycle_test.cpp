// Device creation, loss and reset with the pool rules, presentation results, reference counts
// and the cursor.

#include <vector>

#include "device_fixture.h"

namespace d3d9_tests {
namespace {

using DeviceLifecycleTest = DeviceTest;

// The back buffer's bytes as stored, unconverted (the unused byte of X8R8G8B8 included).
std::vector<std::uint32_t> RawBackBuffer(IDirect3DDevice9* device) {
    std::vector<std::uint32_t> words;
    IDirect3DSurface9* backBuffer = nullptr;
    EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    if (backBuffer == nullptr) {
        return words;
    }
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                  D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device->GetRenderTargetData(backBuffer, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    if (copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        for (UINT y = 0; y < desc.Height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch);
            words.insert(words.end(), row, row + desc.Width);
        }
        copy->UnlockRect();
    }
    copy->Release();
    backBuffer->Release();
    return words;
}

TEST_F(DeviceLifecycleTest, CreationValidatesAndResolvesParameters) {
    struct Case {
        const char* name;
        DWORD flags;
        D3DPRESENT_PARAMETERS pp;
        HRESULT expected;
    };
    D3DPRESENT_PARAMETERS fullScreen16 = WindowedParameters(800, 600);
    fullScreen16.Windowed = FALSE;
    fullScreen16.BackBufferFormat = D3DFMT_R5G6B5;
    D3DPRESENT_PARAMETERS oddMode = fullScreen16;
    oddMode.BackBufferWidth = 801;
    D3DPRESENT_PARAMETERS noWindow = WindowedParameters(800, 600);
    noWindow.hDeviceWindow = nullptr;
    D3DPRESENT_PARAMETERS sizeFromWindow = WindowedParameters(0, 0);
    D3DPRESENT_PARAMETERS multisampled = WindowedParameters(64, 64);
    multisampled.MultiSampleType = D3DMULTISAMPLE_NONMASKABLE;
    D3DPRESENT_PARAMETERS badDepth = WindowedParameters(64, 64);
    badDepth.AutoDepthStencilFormat = D3DFMT_D15S1;
    const Case cases[] = {
        {"hardware processing", D3DCREATE_HARDWARE_VERTEXPROCESSING, WindowedParameters(64, 64),
         D3D_OK},
        {"no processing flag", 0, WindowedParameters(64, 64), D3DERR_INVALIDCALL},
        {"two processing flags",
         D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING,
         WindowedParameters(64, 64), D3DERR_INVALIDCALL},
        {"full screen 800x600 R5G6B5", D3DCREATE_SOFTWARE_VERTEXPROCESSING, fullScreen16, D3D_OK},
        {"full screen size without a mode", D3DCREATE_SOFTWARE_VERTEXPROCESSING, oddMode,
         D3DERR_INVALIDCALL},
        {"window handle from the focus window", D3DCREATE_SOFTWARE_VERTEXPROCESSING, noWindow,
         D3D_OK},
        {"size of a window that has none", D3DCREATE_SOFTWARE_VERTEXPROCESSING, sizeFromWindow,
         D3DERR_INVALIDCALL},
        {"multisampling", D3DCREATE_SOFTWARE_VERTEXPROCESSING, multisampled, D3DERR_INVALIDCALL},
        {"unknown depth format", D3DCREATE_SOFTWARE_VERTEXPROCESSING, badDepth, D3DERR_INVALIDCALL},
    };
    for (const Case& c : cases) {
        D3DPRESENT_PARAMETERS pp = c.pp;
        IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(&pp);
        EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, FakeWindow(),
                                     c.flags | D3DCREATE_MULTITHREADED, &pp, &device),
                  c.expected)
            << c.name;
        if (c.expected == D3D_OK) {
            ASSERT_NE(device, nullptr) << c.name;
            EXPECT_NE(pp.BackBufferFormat, D3DFMT_UNKNOWN) << c.name;
            EXPECT_EQ(device->Release(), 0u) << c.name;
        } else {
            EXPECT_EQ(device, nullptr) << c.name;
        }
    }
}

TEST_F(DeviceLifecycleTest, HardwareProcessingNeedsTransformAndLighting) {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.caps.DevCaps &= ~D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    d3d9_test::SetAdapterTable(table);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(64, 64);
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, FakeWindow(),
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp,
                                 &device),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_REF, FakeWindow(),
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp,
                                 &device),
              D3D_OK);
    D3DDEVICE_CREATION_PARAMETERS creation{};
    ASSERT_EQ(device->GetCreationParameters(&creation), D3D_OK);
    EXPECT_EQ(creation.BehaviorFlags,
              D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED);
    EXPECT_EQ(creation.DeviceType, D3DDEVTYPE_REF);
    D3DCAPS9 caps{};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
    device->Release();
}

TEST_F(DeviceLifecycleTest, LossThenResetFollowsThePoolRules) {
    MakeDevice(64, 32);
    IDirect3DTexture9* managed = MakeTexture(4, 4, [](int, int) { return 0xFF112233u; });
    IDirect3DTexture9* defaultPool = nullptr;
    ASSERT_EQ(device_->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8,
                                     D3DPOOL_DEFAULT, &defaultPool, nullptr),
              D3D_OK);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);

    d3d9_test::LoseDevice(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(64, 32);
    EXPECT_EQ(device_->Reset(&pp), D3DERR_DEVICELOST);

    d3d9_test::AllowDeviceReset(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    // A default-pool texture still referenced blocks the reset.
    EXPECT_EQ(device_->Reset(&pp), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    // So does a reference to the back buffer.
    EXPECT_EQ(defaultPool->Release(), 0u);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    EXPECT_EQ(device_->Reset(&pp), D3DERR_INVALIDCALL);
    backBuffer->Release();

    pp.BackBufferWidth = 80;
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    // States return to their defaults; the new back buffer is the render target.
    DWORD blend = TRUE;
    device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(blend, static_cast<DWORD>(FALSE));
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &target), D3D_OK);
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 80u);
    target->Release();
    // Managed contents survive.
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(managed->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<const std::uint32_t*>(locked.pBits), 0xFF112233u);
    managed->UnlockRect(0);
    managed->Release();
}

TEST_F(DeviceLifecycleTest, ResetFreesDefaultPoolObjectsHeldOnlyByBindings) {
    MakeDevice(32, 32);
    // The replacement depth buffer of the reset sequence: made, bound, own reference dropped.
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(1024, 1024, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0,
                                                 FALSE, &depth, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(depth), D3D_OK);
    EXPECT_EQ(depth->Release(), 0u);
    IDirect3DSurface9* bound = nullptr;
    ASSERT_EQ(device_->GetDepthStencilSurface(&bound), D3D_OK);
    D3DSURFACE_DESC desc{};
    bound->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 1024u);
    bound->Release();
    // Still held by the binding, but nobody else: the reset goes through and frees it.
    D3DPRESENT_PARAMETERS pp = WindowedParameters(32, 32);
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    ASSERT_EQ(device_->GetDepthStencilSurface(&bound), D3D_OK);
    bound->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 32u);
    bound->Release();

    pp.EnableAutoDepthStencil = FALSE;
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    EXPECT_EQ(device_->GetDepthStencilSurface(&bound), D3DERR_NOTFOUND);
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

// A fully transparent quad blended over a back buffer nobody has drawn on yet changes none of
// its bytes, whether the back buffer came with the device or with a reset.
TEST_F(DeviceLifecycleTest, TransparentDrawLeavesAFreshBackBufferAsItWas) {
    MakeDevice(32, 16);
    IDirect3DTexture9* clear = MakeTexture(8, 8, [](int, int) { return 0x00000000u; });
    for (const char* when : {"after creation", "after a reset"}) {
        const std::vector<std::uint32_t> fresh = RawBackBuffer(device_);
        ASSERT_EQ(fresh.size(), 32u * 16u) << when;
        device_->SetTexture(0, clear);
        SetAlphaBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        DrawQuad(0, 0, 32, 16, 0xFFFFFFFFu);
        EXPECT_EQ(RawBackBuffer(device_), fresh) << when;
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        EXPECT_EQ(RawBackBuffer(device_), fresh) << when << ": unlike a clear to black";

        D3DPRESENT_PARAMETERS pp = WindowedParameters(32, 16);
        ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    }
    clear->Release();
}

TEST_F(DeviceLifecycleTest, PresentFailureIsReportedOnce) {
    MakeDevice(16, 16);
    d3d9_test::FailNextPresent(device_, D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(d3d9_test::PresentCount(device_), 0);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(d3d9_test::PresentCount(device_), 1);
}

TEST_F(DeviceLifecycleTest, ReferenceCountsAndBindings) {
    MakeDevice(16, 16);
    IDirect3DTexture9* texture = MakeTexture(2, 2, [](int, int) { return 0xFF00FF00u; });
    EXPECT_EQ(texture->AddRef(), 2u);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(level->AddRef(), 4u);  // a level shares its texture's count
    EXPECT_EQ(level->Release(), 3u);
    EXPECT_EQ(level->Release(), 2u);
    EXPECT_EQ(texture->Release(), 1u);

    // A bound texture lives on after its last release until it is unbound.
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    DrawQuad(0, 0, 16, 16, 0xFFFFFFFF);
    EXPECT_EQ(PixelAt(5, 5), 0xFF00FF00u);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);

    // Resources outlive their device, orphaned.
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(
        device_->CreateVertexBuffer(112, 0, kTLVertexFvf, D3DPOOL_SYSTEMMEM, &buffer, nullptr),
        D3D_OK);
    device_->Release();
    device_ = nullptr;
    IDirect3DDevice9* owner = nullptr;
    EXPECT_EQ(buffer->GetDevice(&owner), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(DeviceLifecycleTest, AvailableTextureMemoryCountsDefaultPool) {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.textureMemoryBytes = std::uint64_t{64} << 20;
    d3d9_test::SetAdapterTable(table);
    MakeDevice(16, 16);
    const UINT before = device_->GetAvailableTextureMem();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(2048, 1024, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture,
                                     nullptr),
              D3D_OK);
    EXPECT_EQ(before - device_->GetAvailableTextureMem(), 8u << 20);
    IDirect3DTexture9* tooBig = nullptr;
    EXPECT_EQ(device_->CreateTexture(4096, 4096, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &tooBig,
                                     nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
    texture->Release();
    EXPECT_EQ(device_->GetAvailableTextureMem(), before);
}

TEST_F(DeviceLifecycleTest, CursorAndDialogBoxMode) {
    MakeDevice(64, 64);
    IDirect3DSurface9* image = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(32, 32, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                   &image, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(image->LockRect(&locked, nullptr, 0), D3D_OK);
    static_cast<std::uint32_t*>(locked.pBits)[1] = 0x80FF0000u;
    image->UnlockRect();
    EXPECT_EQ(device_->SetCursorProperties(12, 0, image), D3D_OK);
    EXPECT_EQ(device_->SetCursorProperties(32, 0, image), D3DERR_INVALIDCALL);
    IDirect3DSurface9* wrongFormat = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(32, 32, D3DFMT_A1R5G5B5, D3DPOOL_SYSTEMMEM,
                                                   &wrongFormat, nullptr),
              D3D_OK);
    EXPECT_EQ(device_->SetCursorProperties(0, 0, wrongFormat), D3DERR_INVALIDCALL);
    wrongFormat->Release();
    image->Release();

    EXPECT_EQ(device_->ShowCursor(TRUE), FALSE);
    EXPECT_EQ(device_->ShowCursor(TRUE), TRUE);
    device_->SetCursorPosition(100, 50, D3DCURSOR_IMMEDIATE_UPDATE);
    const d3d9_test::CursorState cursor = d3d9_test::GetCursorState(device_);
    EXPECT_TRUE(cursor.hasImage);
    EXPECT_TRUE(cursor.visible);
    EXPECT_EQ(cursor.x, 100);
    EXPECT_EQ(cursor.hotSpotX, 12u);
    ASSERT_EQ(cursor.argb.size(), 32u * 32u);
    EXPECT_EQ(cursor.argb[1], 0x80FF0000u);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    EXPECT_EQ(device_->SetDialogBoxMode(TRUE), D3D_OK);
    EXPECT_TRUE(d3d9_test::DialogBoxMode(device_));
    EXPECT_EQ(device_->SetDialogBoxMode(FALSE), D3D_OK);
    EXPECT_FALSE(d3d9_test::DialogBoxMode(device_));
}

TEST_F(DeviceLifecycleTest, FullScreenDialogModeNeedsALockableBackBuffer) {
    D3DPRESENT_PARAMETERS pp = WindowedParameters(800, 600);
    pp.Windowed = FALSE;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.Flags = 0;
    MakeDevice(pp);
    EXPECT_EQ(device_->SetDialogBoxMode(TRUE), D3DERR_INVALIDCALL);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(backBuffer->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    backBuffer->Release();
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(device_->GetDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);

    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    EXPECT_EQ(device_->SetDialogBoxMode(TRUE), D3D_OK);
}

}  // namespace
}  // namespace d3d9_tests
