#include "device_fixture.h"

#include <cstring>

namespace d3d9_tests {
namespace {

std::uint32_t ToArgb(D3DFORMAT format, const std::uint8_t* p) {
    std::uint32_t v32 = 0;
    std::uint16_t v16 = 0;
    auto widen = [](std::uint32_t v, int bits) {
        return bits == 5 ? (v << 3) | (v >> 2) : (v << 2) | (v >> 4);
    };
    switch (format) {
        case D3DFMT_A8R8G8B8:
            std::memcpy(&v32, p, 4);
            return v32;
        case D3DFMT_X8R8G8B8:
            std::memcpy(&v32, p, 4);
            return v32 | 0xFF000000u;
        case D3DFMT_R5G6B5:
            std::memcpy(&v16, p, 2);
            return 0xFF000000u | (widen(v16 >> 11, 5) << 16) | (widen((v16 >> 5) & 63, 6) << 8) |
                   widen(v16 & 31, 5);
        default:
            ADD_FAILURE() << "unexpected format " << format;
            return 0;
    }
}

}  // namespace

HWND FakeWindow() {
    static int anchor;
    return reinterpret_cast<HWND>(&anchor);
}

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = FakeWindow();
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

void DeviceTest::SetUp() {
    d3d9_test::ResetAdapterTable();
    d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
    d3d9_test::SetFastPathsEnabled(true);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
}

void DeviceTest::TearDown() {
    if (device_ != nullptr) {
        device_->Release();
        device_ = nullptr;
    }
    if (d3d_ != nullptr) {
        d3d_->Release();
    }
    d3d9_test::ResetAdapterTable();
    d3d9_test::SetFastPathsEnabled(true);
}

IDirect3DDevice9* DeviceTest::MakeDevice(D3DPRESENT_PARAMETERS parameters) {
    const HRESULT hr =
        d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, FakeWindow(),
                           D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device_);
    EXPECT_EQ(hr, D3D_OK);
    width_ = static_cast<int>(parameters.BackBufferWidth);
    height_ = static_cast<int>(parameters.BackBufferHeight);
    return device_;
}

IDirect3DTexture9* DeviceTest::MakeTexture(UINT width, UINT height,
                                           const std::function<std::uint32_t(int, int)>& pixel,
                                           D3DFORMAT format, D3DPOOL pool) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, format, pool, &texture, nullptr), D3D_OK);
    if (texture == nullptr) {
        return nullptr;
    }
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.pBits) +
                    static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (UINT x = 0; x < width; ++x) {
            const std::uint32_t argb = pixel(static_cast<int>(x), static_cast<int>(y));
            if (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) {
                std::memcpy(row + x * 4, &argb, 4);
            } else if (format == D3DFMT_A4R4G4B4) {
                const auto v =
                    static_cast<std::uint16_t>(((argb >> 28) << 12) | (((argb >> 20) & 15) << 8) |
                                               (((argb >> 12) & 15) << 4) | ((argb >> 4) & 15));
                std::memcpy(row + x * 2, &v, 2);
            } else {
                ADD_FAILURE() << "fill of this format is not supported by the fixture";
            }
        }
    }
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

std::vector<std::uint32_t> DeviceTest::ReadTarget(IDirect3DSurface9* target) {
    IDirect3DSurface9* source = target;
    if (source == nullptr) {
        EXPECT_EQ(device_->GetRenderTarget(0, &source), D3D_OK);
    } else {
        source->AddRef();
    }
    D3DSURFACE_DESC desc{};
    source->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                   D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device_->GetRenderTargetData(source, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const int bpp = desc.Format == D3DFMT_R5G6B5 ? 2 : 4;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(locked.pBits) +
                          static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            pixels[y * desc.Width + x] = ToArgb(desc.Format, row + x * bpp);
        }
    }
    copy->UnlockRect();
    copy->Release();
    source->Release();
    return pixels;
}

std::uint32_t DeviceTest::PixelAt(int x, int y) {
    return ReadTarget()[static_cast<std::size_t>(y) * width_ + x];
}

void DeviceTest::DrawQuad(float left, float top, float right, float bottom, std::uint32_t colour,
                          float u0, float v0, float u1, float v1) {
    const TLVertex quad[4] = {{left - 0.5f, top - 0.5f, 0, 1, colour, u0, v0},
                              {right - 0.5f, top - 0.5f, 0, 1, colour, u1, v0},
                              {left - 0.5f, bottom - 0.5f, 0, 1, colour, u0, v1},
                              {right - 0.5f, bottom - 0.5f, 0, 1, colour, u1, v1}};
    ASSERT_EQ(device_->SetFVF(kTLVertexFvf), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TLVertex)), D3D_OK);
}

void DeviceTest::DrawColourQuad(float left, float top, float right, float bottom,
                                std::uint32_t colour) {
    const ColourVertex quad[4] = {{left, top, 0, 1, colour},
                                  {right, top, 0, 1, colour},
                                  {left, bottom, 0, 1, colour},
                                  {right, bottom, 0, 1, colour}};
    ASSERT_EQ(device_->SetFVF(kColourVertexFvf), D3D_OK);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ColourVertex)), D3D_OK);
}

void DeviceTest::SetAlphaBlend(DWORD src, DWORD dst) {
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRS_SRCBLEND, src);
    device_->SetRenderState(D3DRS_DESTBLEND, dst);
}

}  // namespace d3d9_tests
