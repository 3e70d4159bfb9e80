// Presenting into the SDL window that the Windows layer keeps for the device's window (SDL's
// offscreen video driver), windowed and full screen, with the device cursor.

#include <memory>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define QVN_TEST_LSAN 1
#endif
#endif

#include "device_fixture.h"
#include "platform/win32/window_api.h"
#include "support/offscreen_window.h"

namespace d3d9_tests {
namespace {

constexpr const char* kClass = "d3d9 presentation test";

class PresentationTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        windowOwner_ = std::make_unique<qvn::test::OffscreenWindow>(kClass);
        window_ = windowOwner_->handle();
        ASSERT_NE(window_, nullptr);
    }

    void TearDown() override {
        if (device_ != nullptr) {
            device_->Release();
            device_ = nullptr;
        }
        windowOwner_.reset();
        DeviceTest::TearDown();
    }

    std::unique_ptr<qvn::test::OffscreenWindow> windowOwner_;
    HWND window_ = nullptr;
};

TEST_F(PresentationTest, PresentsWindowedAndFullScreen) {
    D3DPRESENT_PARAMETERS pp = WindowedParameters(0, 0);
    pp.hDeviceWindow = window_;
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &pp, &device_),
              D3D_OK);
    // The back buffer takes the window's size when none is given.
    EXPECT_GT(pp.BackBufferWidth, 0u);
    EXPECT_GT(pp.BackBufferHeight, 0u);
    width_ = static_cast<int>(pp.BackBufferWidth);
    height_ = static_cast<int>(pp.BackBufferHeight);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(d3d9_test::PresentCount(device_), 1);
    // The frame stays readable after presenting.
    EXPECT_EQ(PixelAt(0, 0), 0xFF336699u);

    IDirect3DSurface9* image = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(32, 32, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                   &image, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetCursorProperties(0, 0, image), D3D_OK);
    image->Release();
    device_->ShowCursor(TRUE);
    device_->SetCursorPosition(10, 10, 0);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    pp = WindowedParameters(800, 600);
    pp.hDeviceWindow = window_;
    pp.Windowed = FALSE;
    pp.BackBufferFormat = D3DFMT_R5G6B5;
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    width_ = 800;
    height_ = 600;
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0);
    const RECT part{0, 0, 400, 300};
    EXPECT_EQ(device_->Present(&part, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(d3d9_test::PresentCount(device_), 3);
    EXPECT_EQ(PixelAt(799, 599), 0xFFFF0000u);
}

// The game destroys its window before it releases the device. SDL's renderer then went with the
// window: the device must not touch it again (its memory is left to the process's end).
TEST_F(PresentationTest, DeviceOutlivesItsWindow) {
#if defined(QVN_TEST_LSAN)
    __lsan::ScopedDisabler rendererLeftToTheProcess;
#endif
    D3DPRESENT_PARAMETERS pp = WindowedParameters(320, 240);
    pp.hDeviceWindow = window_;
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &pp, &device_),
              D3D_OK);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_TRUE(DestroyWindow(window_));
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(device_->Release(), 0u);
    device_ = nullptr;
}

TEST_F(PresentationTest, ModesComeFromSdlWhenNoTableIsSet) {
    d3d9_test::ResetAdapterTable();
    D3DDISPLAYMODE desktop{};
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &desktop), D3D_OK);
    EXPECT_GT(desktop.Width, 0u);
    EXPECT_TRUE(desktop.Format == D3DFMT_X8R8G8B8 || desktop.Format == D3DFMT_R5G6B5);
    const UINT count = d3d_->GetAdapterModeCount(0, D3DFMT_X8R8G8B8);
    ASSERT_GT(count, 0u);
    EXPECT_EQ(count, d3d_->GetAdapterModeCount(0, D3DFMT_R5G6B5));
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        ASSERT_EQ(d3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, i, &mode), D3D_OK);
        EXPECT_LE(mode.Width, desktop.Width < 800 ? 1920u : 16384u);
    }
}

}  // namespace
}  // namespace d3d9_tests
