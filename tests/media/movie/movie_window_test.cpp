// A movie in a real window (SDL's offscreen driver): it draws through the window's SDL renderer,
// which the Direct3D presentation then shares instead of failing to make a second one.

#include <gtest/gtest.h>

#include <memory>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define QVN_TEST_LSAN 1
#endif
#endif

#include "media/graphics/d3d_application.h"
#include "media/movie/movie_players.h"
#include "platform/d3d9/d3d9_test.h"
#include "support/movie_test_support.h"
#include "support/offscreen_window.h"

namespace qvn::test {
namespace {

using MovieWindowTest = MovieClockTest;

TEST_F(MovieWindowTest, MovieAndPresentationShareTheWindowsRenderer) {
    OffscreenWindow shown("movie window test");
    ASSERT_NE(shown.handle(), nullptr);
    IDirectSound8* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &sound, nullptr), DS_OK);
    ASSERT_EQ(sound->SetCooperativeLevel(shown.handle(), DSSCL_PRIORITY), DS_OK);
    ASSERT_EQ(DSMovie9_Open(GamePath("movie\\colours.avi").c_str(), shown.handle(), nullptr), S_OK);
    ASSERT_EQ(DSMovie9_Play(0), S_OK);
    {
#if defined(QVN_TEST_LSAN)
        // The first picture makes SDL's renderer, whose video-driver libraries keep some of
        // their allocations until the process ends.
        __lsan::ScopedDisabler driverAllocations;
#endif
        for (int step = 0; step < 20; ++step) {
            dsound_test::MixFrames(sound, 441);
            win32_test::AdvanceClockMicroseconds(10000);
            PumpMessages();
        }
    }
    const dshow_test::ShownPicture picture = dshow_test::LastShown(shown.handle());
    EXPECT_EQ(picture.number, 2);
    EXPECT_EQ(picture.destination.right, 320) << "the window's 320 x 240 client area";
    DSMovie9_Close();

    // The device presents into the same window afterwards.
    ASSERT_EQ(CreateD3DApplication(), 1);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = shown.handle();
    parameters.Windowed = TRUE;
    ASSERT_EQ(
        D3DApp->SetDevice(shown.handle(), &parameters, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, 0x44),
        D3D_OK);
    EXPECT_EQ(D3D_Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(d3d9_test::PresentCount(D3DApp->device.get()), 1);
    DestroyD3DApplication();
    sound->Release();
}

}  // namespace
}  // namespace qvn::test
