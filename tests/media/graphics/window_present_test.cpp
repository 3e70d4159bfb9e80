// A real (offscreen) window of the Windows layer: the device is made for it from the display
// settings, and a drawn frame is presented into it.

#include <memory>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define QVN_TEST_LSAN 1
#endif
#endif

#include "graphics_fixture.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "platform/win32/window_api.h"
#include "support/offscreen_window.h"

namespace graphics_tests {
namespace {

constexpr const char* kClass = "graphics present test";

class WindowPresentTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        windowOwner_ = std::make_unique<qvn::test::OffscreenWindow>(kClass);
        window_ = windowOwner_->handle();
        ASSERT_NE(window_, nullptr);
    }

    void TearDown() override {
        D3D_ReleaseAllFonts();
        DestroyD3DApplication();
        windowOwner_.reset();
        GraphicsTest::TearDown();
    }

    std::unique_ptr<qvn::test::OffscreenWindow> windowOwner_;
    HWND window_ = nullptr;
};

TEST_F(WindowPresentTest, PresentsADrawnFrameIntoTheWindow) {
    ASSERT_EQ(CreateD3DApplication(), 1);
    // The back buffer takes the window's client size.
    DisplaySettings = WindowedParameters(0, 0);
    DisplaySettings.hDeviceWindow = window_;
    EXPECT_TRUE(WindowedFlag);
    ASSERT_EQ(D3DApp->CheckDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL), D3D_OK);
    ASSERT_EQ(
        D3DApp->SetDevice(window_, &DisplaySettings, D3DApp->adapter, D3DApp->deviceType, 0x44),
        D3D_OK);
    width_ = static_cast<int>(D3DApp->presentParameters.BackBufferWidth);
    height_ = static_cast<int>(D3DApp->presentParameters.BackBufferHeight);
    ASSERT_GT(width_, 0);
    ASSERT_GT(height_, 140);
    Set2DStates();
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    ASSERT_EQ(device()->BeginScene(), D3D_OK);
    const FloatRect band(0, 100, width_, 140);
    ASSERT_EQ(D3D_ColorFill(&band, 0xFF3366CCu), D3D_OK);
    LOGFONTA lf{};
    lf.lfHeight = 16;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "Arial");
    D3DFont* font = nullptr;
    ASSERT_EQ(D3D_CreateFont(&font, &lf, 256), D3D_OK);
    ASSERT_EQ(font->Draw(8, 110, "Presented", nullptr), D3D_OK);
    ASSERT_EQ(device()->EndScene(), D3D_OK);
    {
#if defined(QVN_TEST_LSAN)
        // The first present makes SDL's renderer, whose video-driver libraries keep some of
        // their allocations until the process ends.
        __lsan::ScopedDisabler driverAllocations;
#endif
        ASSERT_EQ(D3D_Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    EXPECT_EQ(d3d9_test::PresentCount(device()), 1);
    EXPECT_EQ(PixelAt(width_ - 1, 120), 0xFF3366CCu);
}

}  // namespace
}  // namespace graphics_tests
