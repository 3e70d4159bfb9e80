#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_test_hooks.h"
#include "platform/win32/window_api.h"
#include "window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::WindowTest;

// SDL's flag for video, restated so that the test needs no SDL header.
constexpr std::uint32_t kSdlInitVideo = 0x00000020u;

class SdlHostTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // The test runner sets these; a direct run of the program gets the same.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_TRUE(Win32InitSdl(kSdlInitVideo));
    }
};

struct Heard {
    int listener;
    std::int32_t code;
};

std::vector<Heard> heard;

void FirstListener(const SDL_Event& event, void* context) {
    if (std::optional<std::int32_t> code = win32_test::SdlUserEventCode(event)) {
        heard.push_back(Heard{*static_cast<int*>(context), *code});
    }
}
void SecondListener(const SDL_Event& event, void* context) {
    FirstListener(event, context);
}

TEST_F(SdlHostTest, VisibleTopLevelWindowsGetAnSdlWindow) {
    MessageRecorder& recorder = newRecorder();
    HWND shown = makeWindow(recorder, WS_CAPTION | WS_VISIBLE, nullptr, "shown", 800, 600);
    HWND later = makeWindow(recorder, WS_CAPTION, nullptr, "later", 640, 480);
    // The hidden music window: no visible style, no size, a child of the game window.
    HWND music = makeWindow(recorder, 0, shown, "MUSIC", 0, 0);
    ASSERT_NE(music, nullptr);

    SDL_Window* sdlWindow = Win32GetSdlWindow(shown);
    EXPECT_NE(sdlWindow, nullptr);
    EXPECT_EQ(Win32GetSdlWindow(shown), sdlWindow) << "one SDL window per window";
    EXPECT_EQ(Win32GetSdlWindow(music), nullptr);
    EXPECT_EQ(Win32GetSdlWindow(later), nullptr);
    ShowWindow(later, SW_SHOW);
    EXPECT_NE(Win32GetSdlWindow(later), nullptr);
    ShowWindow(music, SW_SHOW);
    EXPECT_EQ(Win32GetSdlWindow(music), nullptr) << "a window without a size never gets one";
    MessageRecorder& childRecorder = newRecorder();
    HWND child = makeWindow(childRecorder, WS_CHILD | WS_VISIBLE, shown, "child", 100, 100);
    EXPECT_EQ(Win32GetSdlWindow(child), nullptr) << "child windows never get one";

    ASSERT_TRUE(DestroyWindow(later));
    EXPECT_EQ(Win32GetSdlWindow(later), nullptr);
}

TEST_F(SdlHostTest, PumpHandsEveryEventToTheListenersInOrder) {
    heard.clear();
    int first = 1;
    int second = 2;
    Win32AddSdlEventListener(&FirstListener, &first);
    Win32AddSdlEventListener(&SecondListener, &second);
    ASSERT_TRUE(win32_test::PushSdlUserEvent(41));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    Win32RemoveSdlEventListener(&FirstListener, &first);
    ASSERT_TRUE(win32_test::PushSdlUserEvent(42));
    GetQueueStatus(QS_ALLINPUT);
    Win32RemoveSdlEventListener(&SecondListener, &second);
    ASSERT_TRUE(win32_test::PushSdlUserEvent(43));
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);

    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].listener, 1);
    EXPECT_EQ(heard[0].code, 41);
    EXPECT_EQ(heard[1].listener, 2);
    EXPECT_EQ(heard[1].code, 41);
    EXPECT_EQ(heard[2].listener, 2);
    EXPECT_EQ(heard[2].code, 42);
}

TEST_F(SdlHostTest, QuitRequestBecomesCloseForTheTopLevelWindow) {
    MessageRecorder& recorder = newRecorder();
    recorder.setReply([](HWND, UINT message, WPARAM, LPARAM) {
        // The game asks its close question instead of closing at once.
        return message == WM_CLOSE ? std::optional<LRESULT>(0) : std::nullopt;
    });
    HWND window = makeWindow(recorder, WS_CAPTION | WS_VISIBLE, nullptr, "game", 320, 240);
    ASSERT_TRUE(win32_test::PushSdlQuitEvent());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.message, WM_CLOSE);
    DispatchMessageA(&message);
    EXPECT_TRUE(IsWindow(window));
}

}  // namespace
