#pragma once
// A Direct3D object and a device with no display, and small helpers to fill textures, draw
// quads and read pixels back.

#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"

namespace d3d9_tests {

// A window handle the device may hold; it has no SDL window, so Present shows nothing.
HWND FakeWindow();

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height);

// The 28-byte vertex of the game's 2-D drawing (FVF 0x144).
struct TLVertex {
    float x, y, z, rhw;
    std::uint32_t colour;
    float u, v;
};
constexpr DWORD kTLVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// The 20-byte colour vertex (FVF 0x44).
struct ColourVertex {
    float x, y, z, rhw;
    std::uint32_t colour;
};
constexpr DWORD kColourVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the device (released in TearDown); fails the test when it cannot.
    IDirect3DDevice9* MakeDevice(D3DPRESENT_PARAMETERS parameters);
    IDirect3DDevice9* MakeDevice(UINT width, UINT height) {
        return MakeDevice(WindowedParameters(width, height));
    }

    // A managed A8R8G8B8 (or given format) texture filled by `pixel(x, y)`.
    IDirect3DTexture9* MakeTexture(UINT width, UINT height,
                                   const std::function<std::uint32_t(int, int)>& pixel,
                                   D3DFORMAT format = D3DFMT_A8R8G8B8,
                                   D3DPOOL pool = D3DPOOL_MANAGED);

    // Render target 0 as A8R8G8B8 values (through GetRenderTargetData and a conversion).
    std::vector<std::uint32_t> ReadTarget(IDirect3DSurface9* target = nullptr);
    std::uint32_t PixelAt(int x, int y);

    // A textured quad as the texture layer draws it: corners shifted by -0.5.
    void DrawQuad(float left, float top, float right, float bottom, std::uint32_t colour,
                  float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1);
    void DrawColourQuad(float left, float top, float right, float bottom, std::uint32_t colour);
    void SetAlphaBlend(DWORD src, DWORD dst);

    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace d3d9_tests
