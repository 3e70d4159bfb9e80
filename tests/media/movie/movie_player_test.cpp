// The two movie players over the graph: opening with the game window as owner, the event pump
// with its callback and looping, the free functions' answers and their failures.

#include <gtest/gtest.h>

#include <string>

#include "foundation/foundation_test.h"
#include "media/graphics/d3d_application.h"
#include "media/movie/movie_players.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_placement.h"
#include "support/movie_test_support.h"

namespace qvn::test {
namespace {

class MoviePlayerTest : public MovieClockTest {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        MovieClockTest::SetUp();
        DisplaySettings.hDeviceWindow = window();
        events_.clear();
    }

    void TearDown() override {
        DSMovie_CloseAll();
        DSMovie9_CloseAll();
        DisplaySettings.hDeviceWindow = nullptr;
        dshow_test::SetVideoMixingRendererAvailable(true);
        MovieClockTest::TearDown();
    }

    std::string MoviePath(const char* name) const {
        return GamePath(std::string("movie\\") + name);
    }

    // Plays on, handing each notification to the players as the game window does.
    void PlayAndNotify(int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            Play(10);
            for (const MSG& message : TakePosted()) {
                if (message.message != MovieNotifyMessage) {
                    continue;
                }
                if (DSMovie_IsPlaying() != 0) {
                    DSMovie_OnGraphNotify(message.hwnd);
                }
                if (DSMovie9_IsPlaying() != 0) {
                    DSMovie9_OnGraphNotify(message.hwnd);
                }
            }
        }
    }

    std::string Log() const { return dir().readFile("qvn.log"); }

    static inline std::vector<int> events_;
    static int RecordEvent(int code) {
        events_.push_back(code);
        return 1;
    }
    static int CloseOnEvent(int code) {
        events_.push_back(code);
        DSMovie9_Close();
        return 0;
    }
};

TEST_F(MoviePlayerTest, FirstPlayerFillsTheGameWindowAndEndsAtTheEnd) {
    // Another window of the game in front does not take the movie.
    HWND editor = CreateWindowExA(0, "MovieTestWindow", "editor", WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    win32_test::InjectActivation(editor, true);
    PumpMessages();
    ASSERT_EQ(GetForegroundWindow(), editor);
    ASSERT_EQ(DSMovie9_Open(MoviePath("colours.avi").c_str(), nullptr, nullptr), S_OK);
    DSMovie9_SetEventCallback(RecordEvent);
    EXPECT_EQ(DSMovie9_IsPlaying(), 0);
    ASSERT_EQ(DSMovie9_Play(0), S_OK);
    EXPECT_EQ(DSMovie9_IsPlaying(), 1);
    EXPECT_EQ(DSMovie9_SetVolume(-600), 0);
    LONG volume = 0;
    EXPECT_EQ(DSMovie9_GetVolume(&volume), 0);
    EXPECT_EQ(volume, -600);
    PlayAndNotify(110);
    const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
    EXPECT_EQ(shown.number, 1);
    EXPECT_EQ(shown.destination.right, 800) << "4:3 in 4:3: the whole client area";
    EXPECT_EQ(shown.destination.bottom, 600);
    EXPECT_FALSE(dshow_test::LastShown(editor).shown);
    EXPECT_EQ(PeakLevel(lastMix()), 1002) << "2000 at -6 dB";
    // The end: the callback sees it, and without a loop the movie stops.
    PlayAndNotify(900);
    EXPECT_EQ(events_, std::vector<int>{EC_COMPLETE});
    EXPECT_EQ(DSMovie9_IsPlaying(), 0);
    // A notification after the stop finds nothing more.
    PostMessageA(window(), MovieNotifyMessage, 0, 0);
    DSMovie9_OnGraphNotify(window());
    EXPECT_EQ(events_.size(), 1u);
    DSMovie9_Close();
    EXPECT_FALSE(dshow_test::LastShown(window()).shown) << "the movie's picture went with it";
    DestroyWindow(editor);
}

TEST_F(MoviePlayerTest, LoopingAndACallbackThatDeletesTheMovie) {
    ASSERT_EQ(DSMovie9_Open(MoviePath("colours.avi").c_str(), nullptr, nullptr), S_OK);
    ASSERT_EQ(DSMovie9_Play(1), S_OK);
    PlayAndNotify(1050);
    EXPECT_EQ(DSMovie9_IsPlaying(), 1) << "a looping movie goes on";
    EXPECT_EQ(dshow_test::LastShown(window()).number, 0) << "from its start";
    PlayAndNotify(1000);
    EXPECT_EQ(DSMovie9_IsPlaying(), 1);
    EXPECT_EQ(dshow_test::LastShown(window()).number, 0);
    // A callback that closes and deletes the movie stops the pump; nothing touches it after.
    DSMovie9_SetEventCallback(CloseOnEvent);
    PlayAndNotify(1000);
    EXPECT_EQ(events_, std::vector<int>{EC_COMPLETE});
    EXPECT_EQ(DSMovie9_IsPlaying(), 0);
    EXPECT_EQ(DSMovie9_Play(0), 0) << "no instance left";
}

TEST_F(MoviePlayerTest, FilesThatDoNotOpenFailBothPlayers) {
    dir().writeFile("movie/text.avi", std::string("no movie"));
    struct Case {
        const char* name;
        std::string path;
        const char* code;
    };
    const Case cases[] = {
        {"missing", MoviePath("none.avi"), "VFW_E_NOT_FOUND"},
        {"not a movie", MoviePath("text.avi"), "VFW_E_UNKNOWN_FILE_TYPE"},
        {"a name too long for the players", std::string(300, 'a'), "E_INVALIDARG"},
    };
    for (const Case& c : cases) {
        foundation_test::ResetState();
        EXPECT_EQ(DSMovie9_Open(c.path.c_str(), nullptr, nullptr) < 0, true) << c.name;
        EXPECT_EQ(DSMovie_Open(c.path.c_str(), nullptr, nullptr) < 0, true) << c.name;
        const std::string log = Log();
        EXPECT_NE(log.find(std::string("DSMovie9::Open: ") + c.code), std::string::npos)
            << c.name << "\n"
            << log;
        EXPECT_NE(log.find(std::string("DSMovie::Open: ") + c.code), std::string::npos)
            << c.name << "\n"
            << log;
        // The failed instances stay, empty: nothing plays, the calls answer as without one.
        EXPECT_EQ(DSMovie9_IsPlaying(), 0) << c.name;
        EXPECT_EQ(DSMovie9_Play(0), E_FAIL) << c.name;
        EXPECT_EQ(DSMovie9_SetVolume(-100), 0) << c.name;
        EXPECT_EQ(DSMovie_Stop(), S_FALSE) << c.name;
    }
    // Without an instance every free function is a no-op that answers 0.
    DSMovie9_Close();
    DSMovie_Close();
    LONG volume = 0;
    EXPECT_EQ(DSMovie9_Play(0), 0);
    EXPECT_EQ(DSMovie9_Stop(), 0);
    EXPECT_EQ(DSMovie9_GetVolume(&volume), 0);
    EXPECT_EQ(DSMovie_SetPosition(0, 0, 1, 1), 0);
    EXPECT_EQ(DSMovie_FullScreenMode(OATRUE), 0);
    EXPECT_EQ(DSMovie_NotifyOwnerMessage(window(), WM_PAINT, 0, 0), 0);
}

TEST_F(MoviePlayerTest, SecondPlayerWhenTheMixingRendererIsMissing) {
    dshow_test::SetVideoMixingRendererAvailable(false);
    ASSERT_EQ(DSMovie9_Open(MoviePath("colours.avi").c_str(), nullptr, nullptr),
              REGDB_E_CLASSNOTREG);
    EXPECT_NE(Log().find("DSMovie9::Open: REGDB_E_CLASSNOTREG"), std::string::npos);
    struct Case {
        const char* name;
        bool fullScreen;
        const RECT* rect;
        RECT expected;
    };
    const RECT quarter{10, 10, 410, 310};
    const Case cases[] = {
        {"windowed, no rectangle: the whole client area", false, nullptr, {0, 0, 800, 600}},
        {"windowed, 400 x 300 requested: centred, its position unused",
         false,
         &quarter,
         {200, 150, 600, 450}},
        {"full screen: the native size, centred", true, nullptr, {320, 240, 480, 360}},
    };
    ASSERT_EQ(CreateD3DApplication(), 1);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 800;
    parameters.BackBufferHeight = 600;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window();
    parameters.Windowed = TRUE;
    ASSERT_EQ(D3DApp->SetDevice(window(), &parameters, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, 0x44),
              D3D_OK);
    for (const Case& c : cases) {
        D3DApp->presentParameters.Windowed = c.fullScreen ? FALSE : TRUE;
        ASSERT_EQ(DSMovie_Open(MoviePath("colours.avi").c_str(), nullptr, c.rect), S_OK) << c.name;
        DSMovie_SetEventCallback(RecordEvent);
        ASSERT_EQ(DSMovie_Play(0), S_OK) << c.name;
        PlayAndNotify(20);
        const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
        EXPECT_EQ(shown.destination.left, c.expected.left) << c.name;
        EXPECT_EQ(shown.destination.top, c.expected.top) << c.name;
        EXPECT_EQ(shown.destination.right, c.expected.right) << c.name;
        EXPECT_EQ(shown.destination.bottom, c.expected.bottom) << c.name;
    }
    // Its own calls move the video window and cover the client area.
    EXPECT_EQ(DSMovie_SetPosition(&quarter), S_OK);
    PlayAndNotify(100);
    EXPECT_EQ(dshow_test::LastShown(window()).destination.left, 10);
    EXPECT_EQ(DSMovie_FullScreenMode(OATRUE), S_OK);
    PlayAndNotify(100);
    EXPECT_EQ(dshow_test::LastShown(window()).destination.right, 800);
    EXPECT_EQ(DSMovie_FullScreenMode(OAFALSE), S_OK);
    EXPECT_EQ(DSMovie_FullScreenMode(5), E_INVALIDARG);
    EXPECT_NE(Log().find("DSMovie::FullScreenMode: E_INVALIDARG"), std::string::npos);
    EXPECT_EQ(DSMovie_NotifyOwnerMessage(window(), WM_PAINT, 0, 0), S_OK);
    PlayAndNotify(900);
    EXPECT_EQ(events_, std::vector<int>{EC_COMPLETE});
    EXPECT_EQ(DSMovie_IsPlaying(), 0);
    DSMovie_Close();
    DestroyD3DApplication();
}

TEST_F(MoviePlayerTest, WindowMapsKeepTheirFirstMovieAndCloseAllClosesEverything) {
    ASSERT_EQ(DSMovie9_Open(MoviePath("colours.avi").c_str(), nullptr, nullptr), S_OK);
    // A second movie of the same window, made directly: the map keeps the first one, and
    // closing the second leaves the first reachable.
    {
        DSMovie9 second;
        ASSERT_EQ(second.Open(MoviePath("silent.avi").c_str(), window(), nullptr), S_OK);
        ASSERT_EQ(second.Play(0), S_OK);
    }
    DSMovie9_SetEventCallback(RecordEvent);
    ASSERT_EQ(DSMovie9_Play(0), S_OK);
    PlayAndNotify(1000);
    EXPECT_EQ(events_, std::vector<int>{EC_COMPLETE});
    DSMovie9_CloseAll();
    EXPECT_EQ(DSMovie9_IsPlaying(), 0);
    EXPECT_EQ(DSMovie9_Play(0), 0) << "the instance is gone";
    // A movie without sound refuses a volume: any answer but S_OK is 1.
    ASSERT_EQ(DSMovie9_Open(MoviePath("silent.avi").c_str(), nullptr, nullptr), S_OK);
    EXPECT_EQ(DSMovie9_SetVolume(-100), 1);
    EXPECT_NE(Log().find("DSMovie9::SetVolume: E_NOTIMPL"), std::string::npos);
}

}  // namespace
}  // namespace qvn::test
