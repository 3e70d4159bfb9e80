#pragma once
// A D3DApplication with a windowed device and no display, in a fresh program directory, with
// the 2-D states of the game's frame step; helpers to write images, read the frame and the log.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/graphics/d3d_application.h"
#include "platform/d3d9/d3d9_test.h"
#include "support/temp_program_dir.h"

namespace graphics_tests {

// A window handle the device may hold; it has no SDL window, so Present shows nothing.
HWND FakeWindow();

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height,
                                         D3DFORMAT format = D3DFMT_X8R8G8B8);

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes D3DApp and its device (width x height back buffer); fails the test when it cannot.
    void StartDevice(UINT width, UINT height, D3DFORMAT format = D3DFMT_X8R8G8B8);
    IDirect3DDevice9* device() const { return D3DApp->device.get(); }
    // The states the frame step sets for 2-D drawing: point sampling, no depth, alpha blending,
    // texture colour and alpha modulated by the vertex colour.
    void Set2DStates();
    void SetBlend(DWORD source, DWORD dest);

    // Writes an image file under bmp\ of the program directory and answers its Windows path.
    std::string WriteImage(const std::string& name, int width, int height,
                           const std::vector<std::uint32_t>& argb);
    // The Windows path of a file under the program directory.
    std::string WinPath(const std::string& relative) const;

    // Render target 0 as A8R8G8B8, rows top down.
    std::vector<std::uint32_t> ReadTarget();
    std::uint32_t PixelAt(int x, int y);
    // Compares the whole render target with tests/fixtures/golden/<name>.png.
    void ExpectGolden(const std::string& name);

    std::vector<std::string> LogLines() const;
    int CountLogLines(const std::string& line) const;

    std::unique_ptr<qvn::test::TempProgramDir> dir_;
    int width_ = 0;
    int height_ = 0;
};

// A width x height image filled by colour(x, y).
template <typename Colour>
std::vector<std::uint32_t> MakeImage(int width, int height, Colour colour) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] = colour(x, y);
        }
    }
    return pixels;
}

}  // namespace graphics_tests
