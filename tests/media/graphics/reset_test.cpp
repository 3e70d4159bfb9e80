// Device loss and reset: every kind of resource survives with its contents, a reset that
// cannot restore everything stays pending, and the depth buffer covers every target.

#include "graphics_fixture.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"

namespace graphics_tests {
namespace {

constexpr const char kGothicFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
// "あいう" in Shift-JIS.
constexpr const char kKana[] = "\x82\xA0\x82\xA2\x82\xA4";

class ResetTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        StartDevice(200, 120);
        const auto pattern = MakeImage(24, 16, [](int x, int y) {
            return 0xFF000000u | static_cast<std::uint32_t>(x * 10) << 16 |
                   static_cast<std::uint32_t>(y * 15) << 8 | 0x40u;
        });
        const std::string path = WriteImage("pattern.png", 24, 16, pattern);

        ASSERT_EQ(D3D_CreateTexture(&target_, 32, 32, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                    D3DPOOL_DEFAULT),
                  D3D_OK);
        ASSERT_EQ(target_->ColorFill(nullptr, 0xFFC08020u), D3D_OK);
        ASSERT_EQ(D3D_LoadTexture(path.c_str(), &defaultTexture_, kTexturePrivate, 0,
                                  D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_FILTER_NONE),
                  D3D_OK);
        ASSERT_EQ(D3D_LoadTexture(path.c_str(), &managed_, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                  D3DX_FILTER_NONE),
                  D3D_OK);
        ASSERT_EQ(
            D3D_LoadPlane(path.c_str(), &surfacePlane_, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED),
            D3D_OK);
        ASSERT_EQ(
            D3D_CreatePlaneFromTexture(target_, &texturePlane_, nullptr, 0, D3DPOOL_SYSTEMMEM),
            D3D_OK);
        texturePlane_->SetPosition(150, 10);
        ASSERT_EQ(
            D3D_LoadPlane(path.c_str(), &managedPlane_, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED),
            D3D_OK);
        managedPlane_->SetPosition(120, 80);
        managedPlane_->SetScale(-2.0f, 1.0f);
        ASSERT_EQ(D3D_CreateTexture(&system_, 8, 8, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM), D3D_OK);
        texturePlane_->SetRotation(0.3f);
        LOGFONTA lf{};
        lf.lfHeight = 16;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", kGothicFace);
        ASSERT_EQ(D3D_CreateFont(&font_, &lf, 256), D3D_OK);
    }

    void TearDown() override {
        for (D3DPlane* plane : {surfacePlane_, texturePlane_, managedPlane_}) {
            if (plane != nullptr) {
                plane->Release();
            }
        }
        for (D3DTexture* texture : {target_, defaultTexture_, managed_, system_}) {
            if (texture != nullptr) {
                texture->Release();
            }
        }
        GraphicsTest::TearDown();
    }

    std::vector<std::uint32_t> DrawFrame() {
        Set2DStates();
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030u, 1.0f, 0);
        EXPECT_EQ(target_->DrawAt(0, 0, nullptr, 0xFFFFFFFFu), D3D_OK);
        EXPECT_EQ(defaultTexture_->DrawAt(40, 0, nullptr, 0xFFFFFFFFu), D3D_OK);
        EXPECT_EQ(managed_->DrawAt(70, 0, nullptr, 0x80FFFFFFu), D3D_OK);
        EXPECT_EQ(texturePlane_->Draw(), D3D_OK);
        EXPECT_EQ(managedPlane_->Draw(), D3D_OK);
        IDirect3DSurface9* backBuffer = nullptr;
        EXPECT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
        const RECT dest{100, 0, 124, 16};
        EXPECT_EQ(device()->StretchRect(surfacePlane_->surface, nullptr, backBuffer, &dest,
                                        D3DTEXF_POINT),
                  D3D_OK);
        backBuffer->Release();
        const std::string text = std::string("Reset ") + kKana;
        EXPECT_EQ(font_->Draw(4, 60, text.c_str(), nullptr), D3D_OK);
        return ReadTarget();
    }

    D3DTexture* target_ = nullptr;
    D3DTexture* defaultTexture_ = nullptr;
    D3DTexture* managed_ = nullptr;
    D3DPlane* surfacePlane_ = nullptr;
    D3DPlane* texturePlane_ = nullptr;
    D3DPlane* managedPlane_ = nullptr;
    D3DTexture* system_ = nullptr;
    D3DFont* font_ = nullptr;
};

TEST_F(ResetTest, FrameAfterAResetEqualsTheFrameBefore) {
    const auto before = DrawFrame();
    IDirect3DTexture9* const managedTexture = managed_->texture;
    IDirect3DTexture9* const systemTexture = system_->texture;

    d3d9_test::LoseDevice(device());
    EXPECT_EQ(D3DApp->Reset(nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(CountLogLines("D3DApplication::Reset: D3DERR_DEVICELOST"), 1);
    // Nothing was touched while the device could not be reset.
    EXPECT_NE(target_->texture, nullptr);
    EXPECT_EQ(target_->backup, nullptr);
    EXPECT_NE(surfacePlane_->surface, nullptr);

    d3d9_test::AllowDeviceReset(device());
    ASSERT_EQ(D3DApp->Reset(nullptr), D3D_OK);
    EXPECT_FALSE(D3DApp->resetPending);
    EXPECT_NE(target_->backup, nullptr);
    EXPECT_NE(defaultTexture_->backup, nullptr);
    // Managed and system-memory textures are left alone.
    EXPECT_EQ(managed_->backup, nullptr);
    EXPECT_EQ(managed_->texture, managedTexture);
    EXPECT_EQ(system_->backup, nullptr);
    EXPECT_EQ(system_->texture, systemTexture);
    EXPECT_EQ(DrawFrame(), before);
    ExpectGolden("graphics_reset_frame");

    // A second reset, made while the device is well, also keeps everything.
    ASSERT_EQ(D3DApp->Reset(nullptr), D3D_OK);
    EXPECT_EQ(DrawFrame(), before);
}

TEST_F(ResetTest, AResetThatCannotRestoreEverythingStaysPending) {
    const auto before = DrawFrame();
    d3d9_test::LoseDevice(device());
    d3d9_test::AllowDeviceReset(device());
    // A default-pool surface held elsewhere makes the device's own reset fail: the textures
    // are backed up and released, and the reset stays pending.
    IDirect3DSurface9* held = nullptr;
    ASSERT_EQ(device()->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &held,
                                                    nullptr),
              D3D_OK);
    EXPECT_EQ(D3DApp->Reset(nullptr), D3DERR_INVALIDCALL);
    EXPECT_TRUE(D3DApp->resetPending);
    held->Release();

    // Now the device resets, but textures of A8R8G8B8 cannot be made again for a while.
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    std::erase(table.textureFormats, D3DFMT_A8R8G8B8);
    d3d9_test::SetAdapterTable(table);
    EXPECT_TRUE(FAILED(D3DApp->Reset(nullptr)));
    EXPECT_TRUE(D3DApp->resetPending);
    EXPECT_EQ(target_->texture, nullptr);
    // What could be restored was: the surface plane is back.
    EXPECT_NE(surfacePlane_->surface, nullptr);
    EXPECT_EQ(device()->TestCooperativeLevel(), D3D_OK);

    // The next call, although the device reports no loss, finishes the job from the backups.
    d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
    ASSERT_EQ(D3DApp->Reset(nullptr), D3D_OK);
    EXPECT_FALSE(D3DApp->resetPending);
    EXPECT_EQ(DrawFrame(), before);
}

TEST_F(ResetTest, AFailedBackupIsLoggedAndTheTextureStillReleased) {
    // While the device is lost, backups of A8R8G8B8 textures cannot be made.
    d3d9_test::LoseDevice(device());
    d3d9_test::AllowDeviceReset(device());
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    std::erase(table.textureFormats, D3DFMT_A8R8G8B8);
    d3d9_test::SetAdapterTable(table);
    D3DApp->Reset(nullptr);
    EXPECT_GE(CountLogLines("D3DTexture::Backup: D3DERR_INVALIDCALL"), 1);
    d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
    ASSERT_EQ(D3DApp->Reset(nullptr), D3D_OK);
    // With no copy to restore from, the render target comes back opaque black.
    ASSERT_EQ(D3D_SetRenderTarget(target_), D3D_OK);
    EXPECT_EQ(ReadTarget()[0], 0xFF000000u);
    ASSERT_EQ(D3D_SetRenderTarget(nullptr), D3D_OK);
}

TEST_F(ResetTest, DepthBufferCoversTheBackBufferAndEveryRenderTarget) {
    const struct {
        const char* label;
        UINT width;
        UINT height;
        UINT target;
        UINT minWidth;
        UINT minHeight;
    } cases[] = {{"small screen", 200, 120, 0, 1024, 1024},
                 {"large render target", 640, 480, 2048, 2048, 2048},
                 {"wide screen", 1920, 1080, 0, 1920, 1080}};
    for (const auto& c : cases) {
        D3DTexture* extra = nullptr;
        if (c.target != 0) {
            ASSERT_EQ(D3D_CreateTexture(&extra, c.target, c.target, D3DUSAGE_RENDERTARGET,
                                        D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT),
                      D3D_OK);
        }
        D3DPRESENT_PARAMETERS pp = WindowedParameters(c.width, c.height);
        ASSERT_EQ(D3DApp->Reset(&pp), D3D_OK) << c.label;
        IDirect3DSurface9* depth = nullptr;
        ASSERT_EQ(device()->GetDepthStencilSurface(&depth), D3D_OK);
        D3DSURFACE_DESC desc{};
        depth->GetDesc(&desc);
        depth->Release();
        EXPECT_GE(desc.Width, c.minWidth) << c.label;
        EXPECT_GE(desc.Height, c.minHeight) << c.label;
        EXPECT_EQ(desc.Format, D3DFMT_D16) << c.label;
        if (extra != nullptr) {
            extra->Release();
        }
    }
    // Depth-tested drawing reaches the far corner of the wide back buffer.
    width_ = 1920;
    height_ = 1080;
    Set2DStates();
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    const FloatRect corner(1900, 1060, 1920, 1080);
    ASSERT_EQ(D3D_ColorFill(&corner, 0xFFFFFFFFu), D3D_OK);
    EXPECT_EQ(PixelAt(1919, 1079), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace graphics_tests
