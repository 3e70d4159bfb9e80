#include "graphics_fixture.h"

#include <algorithm>
#include <cstring>

#include "foundation/foundation_test.h"
#include "media/graphics/font.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/png_encode.h"
#include "support/golden_image.h"

namespace graphics_tests {

HWND FakeWindow() {
    static int anchor;
    return reinterpret_cast<HWND>(&anchor);
}

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height, D3DFORMAT format) {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = format;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = FakeWindow();
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

void GraphicsTest::SetUp() {
    dir_ = std::make_unique<qvn::test::TempProgramDir>();
    foundation_test::ResetState();
    d3d9_test::ResetAdapterTable();
    d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
}

void GraphicsTest::TearDown() {
    D3D_ReleaseAllFonts();
    // Every test releases what it made: a leftover texture or plane is a leak.
    EXPECT_TRUE(PlaneList().empty()) << PlaneList().size() << " planes left";
    EXPECT_TRUE(TextureList().empty()) << TextureList().size() << " textures left";
    while (!PlaneList().empty()) {
        PlaneList().front()->Release();
    }
    while (!TextureList().empty()) {
        TextureList().front()->Release();
    }
    DestroyD3DApplication();
    d3d9_test::ResetAdapterTable();
    foundation_test::ResetState();
    dir_.reset();
}

void GraphicsTest::StartDevice(UINT width, UINT height, D3DFORMAT format) {
    ASSERT_EQ(CreateD3DApplication(), 1);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(width, height, format);
    ASSERT_EQ(D3DApp->SetDevice(FakeWindow(), &pp, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, 0x44),
              D3D_OK);
    width_ = static_cast<int>(D3DApp->presentParameters.BackBufferWidth);
    height_ = static_cast<int>(D3DApp->presentParameters.BackBufferHeight);
    Set2DStates();
}

void GraphicsTest::Set2DStates() {
    IDirect3DDevice9* d = device();
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    SetBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
}

void GraphicsTest::SetBlend(DWORD source, DWORD dest) {
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, source);
    device()->SetRenderState(D3DRS_DESTBLEND, dest);
}

std::string GraphicsTest::WriteImage(const std::string& name, int width, int height,
                                     const std::vector<std::uint32_t>& argb) {
    const std::vector<std::uint8_t> png = d3dx::EncodeArgbAsPng(width, height, argb.data(), width);
    dir_->writeFile("bmp/" + name, png);
    return WinPath("bmp\\" + name);
}

std::string GraphicsTest::WinPath(const std::string& relative) const {
    return dir_->windowsPath() + relative;
}

std::vector<std::uint32_t> GraphicsTest::ReadTarget() {
    IDirect3DSurface9* target = nullptr;
    EXPECT_EQ(device()->GetRenderTarget(0, &target), D3D_OK);
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                    D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device()->GetRenderTargetData(target, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(locked.pBits) +
                          static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            std::uint32_t argb = 0;
            if (desc.Format == D3DFMT_R5G6B5) {
                std::uint16_t v = 0;
                std::memcpy(&v, row + x * 2, 2);
                const std::uint32_t r = (v >> 11) & 31;
                const std::uint32_t g = (v >> 5) & 63;
                const std::uint32_t b = v & 31;
                argb = 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
                       ((b << 3) | (b >> 2));
            } else {
                std::memcpy(&argb, row + x * 4, 4);
                argb |= 0xFF000000u;
            }
            pixels[static_cast<std::size_t>(y) * desc.Width + x] = argb;
        }
    }
    copy->UnlockRect();
    copy->Release();
    target->Release();
    return pixels;
}

std::uint32_t GraphicsTest::PixelAt(int x, int y) {
    return ReadTarget()[static_cast<std::size_t>(y) * width_ + x];
}

void GraphicsTest::ExpectGolden(const std::string& name) {
    const std::vector<std::uint32_t> pixels = ReadTarget();
    EXPECT_EQ(qvn::test::CompareImageWithGolden(name, width_, height_, pixels.data(), width_), "");
}

std::vector<std::string> GraphicsTest::LogLines() const {
    return dir_->readLines("qvn.log");
}

int GraphicsTest::CountLogLines(const std::string& line) const {
    const auto lines = LogLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace graphics_tests
