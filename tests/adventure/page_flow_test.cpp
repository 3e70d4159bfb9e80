// The page flow of the adventure frame: a script of pages, each counted in variable 20 when the
// player (or skipping, auto mode, a wait) lets the script go on past its page end.

#include <functional>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure_fixture.h"
#include "foundation/app_settings.h"
#include "media/graphics/plane.h"
#include "platform/dinput/test_input_backend.h"

namespace adventure_tests {
namespace {

constexpr int kEnter = 28;
constexpr int kControl = 29;
constexpr int kSpace = 57;
constexpr int kPadEnter = 156;

// Endless pages with a speaker; variable 20 counts the pages passed.
constexpr const char* kPages = R"(
*top
    invoke 1 "案内人"
@page
    text "ページの文。"
    invoke 2
    push g20
    preinc
    pop
    jump @page
)";

class PageFlowTest : public AdventureTest {
protected:
    void SetUp() override {
        AdventureTest::SetUp();
        WriteScript("start", kPages);
        StartScript("start");
    }
};

// One frame's input and what follows from it.
struct Step {
    Input input;
    int pages;  // variable 20 after the frame
    int shown;  // MessageWindowShown after the frame
};

TEST_F(PageFlowTest, PlayerInputTurnsPages) {
    const Input click{{}, {0}};
    const Input rightClick{{}, {1}};
    struct Case {
        const char* name;
        int skipDisabled;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"a click turns one page per press",
         0,
         {{click, 1, 1}, {click, 1, 1}, {{}, 1, 1}, {click, 2, 1}}},
        {"Enter, keypad Enter and the pad's advance button",
         0,
         {{{{kEnter}}, 1, 1}, {{}, 1, 1}, {{{kPadEnter}}, 2, 1}, {{{}, {}, {0}}, 3, 1}}},
        {"the first advance on a hidden window only shows it",
         0,
         {{{{kSpace}}, 0, 0}, {{}, 0, 0}, {click, 0, 1}, {{}, 0, 1}, {click, 1, 1}}},
        {"a right click hides and shows the window",
         0,
         {{rightClick, 0, 0}, {{}, 0, 0}, {rightClick, 0, 1}}},
        {"a held Ctrl skips a page every frame",
         0,
         {{{{kControl}}, 1, 1}, {{{kControl}}, 2, 1}, {{{kControl}}, 3, 1}, {{}, 3, 1}}},
        {"the pad's skip button skips while held", 0, {{{{}, {}, {2}}, 1, 1}, {{}, 1, 1}}},
        {"no skipping while the script disables it",
         1,
         {{{{kControl}}, 0, 1}, {{{kControl}}, 0, 1}, {click, 1, 1}}},
        {"the wheel does not turn pages",
         0,
         {{{{}, {}, {}, -120}, 0, 1}, {{{}, {}, {}, 120}, 0, 1}}},
    };
    for (const Case& c : cases) {
        Restart();
        SkipDisabled = c.skipDisabled;
        Frame();
        ASSERT_EQ(PageWait, 1) << c.name << ": the first page waits";
        ASSERT_EQ(MessageWindowShown, 1) << c.name;
        int frame = 0;
        for (const Step& step : c.steps) {
            Frame(step.input);
            ++frame;
            EXPECT_EQ(Var(20), step.pages) << c.name << ", frame " << frame;
            EXPECT_EQ(MessageWindowShown, step.shown) << c.name << ", frame " << frame;
        }
    }
}

// A tap (down and up between two polls) of Enter, the left button or the pad's advance button
// turns one page, read from the devices as the main loop polls them.
TEST_F(PageFlowTest, ATapBetweenTwoPollsTurnsOnePage) {
    dinput_test::TestInputBackend& backend = dinput_test::UseTestInputBackend();
    const PadId pad = backend.PlugPad({});
    static int window;
    const HWND game = reinterpret_cast<HWND>(&window);
    DIApplication devices;
    ASSERT_EQ(devices.Initialize(nullptr), DI_OK);
    ASSERT_EQ(devices.SetKeyboardDevice(game, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    ASSERT_EQ(devices.SetMouseDevice(game, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    ASSERT_EQ(devices.SetPadDevice(game, nullptr, DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    gDIApplication = &devices;
    const auto polledFrame = [&] {
        ASSERT_EQ(devices.Poll(7), DI_OK);
        D3D_UpdatePlanes(1.0 / 60.0);
        device()->BeginScene();
        AdventureFrame(1.0 / 60.0);
        device()->EndScene();
    };
    const struct {
        const char* name;
        std::function<void(bool)> set;
    } taps[] = {
        {"Enter", [&](bool down) { down ? backend.KeyDown(kEnter) : backend.KeyUp(kEnter); }},
        {"the left button", [&](bool down) { backend.MouseButton(0, down); }},
        {"the pad's advance button", [&](bool down) { backend.SetPadButton(pad, 0, down); }},
    };
    polledFrame();
    ASSERT_EQ(PageWait, 1);
    int pages = 0;
    for (const auto& tap : taps) {
        tap.set(true);
        tap.set(false);
        polledFrame();
        EXPECT_EQ(Var(20), ++pages) << tap.name;
        polledFrame();
        EXPECT_EQ(Var(20), pages) << tap.name << ": read once";
    }
    gDIApplication = input_.get();
}

TEST_F(PageFlowTest, AutoModeWaitsForThePageDelay) {
    MsgAutoInterval = 500;
    AutoMode = 1;
    const double dt = 0.05;  // 50 ms a frame
    Frame({}, dt);
    // The speaker line (6 bytes) and the indented text (14 bytes) at 50 ms a byte.
    ASSERT_EQ(AutoPageDelayMs, 500u + 1000u + 50u * (6 + 14));
    EXPECT_EQ(PendingDelayMs, AutoPageDelayMs);
    int frames = 1;
    while (Var(20) == 0 && frames < 200) {
        Frame({}, dt);
        ++frames;
    }
    EXPECT_EQ(frames, 1 + 2500 / 50) << "the page turns when its whole delay has passed";
    EXPECT_EQ(PageWait, 1) << "the next page waits again";

    // An advance ends auto mode.
    Frame({{}, {0}}, dt);
    EXPECT_EQ(AutoMode, 0);
}

TEST_F(PageFlowTest, AutoModeSwitchedOnWhileAPageWaitsTurnsItAfterTheInterval) {
    MsgAutoInterval = 500;
    const double dt = 0.05;
    Frame({}, dt);
    ASSERT_EQ(PendingDelayMs, 0u) << "the page waits for the player";
    AutoMode = 1;
    Frame({}, dt);
    EXPECT_EQ(PageWait, 0);
    EXPECT_EQ(PendingDelayMs, 500u);
    for (int i = 0; i < 9; ++i) {
        Frame({}, dt);
    }
    EXPECT_EQ(Var(20), 0) << "450 ms of 500";
    Frame({}, dt);
    EXPECT_EQ(Var(20), 1);
}

TEST_F(PageFlowTest, FastForwardSkipsReadPagesUntilTheNextAdvance) {
    const Input fastForwardButton{{}, {}, {3}};
    struct Case {
        const char* name;
        DWORD skipUnseen;
        int skipDisabled;
        std::vector<int> pages;  // after the pad button, two quiet frames, a click, two more
    };
    const Case cases[] = {
        {"allowed to pass unread text", 1, 0, {1, 2, 3, 4, 4, 4}},
        {"the first page is unread: not allowed", 0, 0, {0, 0, 0, 1, 1, 1}},
        {"no skipping while the script disables it", 1, 1, {0, 0, 0, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        Restart();
        MsgSkipUnseen = c.skipUnseen;
        SkipDisabled = c.skipDisabled;
        Frame();
        const Input steps[] = {fastForwardButton, {}, {}, {{}, {0}}, {}, {}};
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            Frame(steps[i]);
            EXPECT_EQ(Var(20), c.pages[i]) << c.name << ", frame " << i + 1;
        }
        EXPECT_EQ(FastForwardMode, 0) << c.name;
    }
}

TEST_F(PageFlowTest, ScriptHoldsWhileTheSceneOrADialogHoldsIt) {
    struct Case {
        const char* name;
        double effectTimer;
        int blocking;
        int firstFrame;  // the frame of 1/16 s in which the script first runs; -1: never
    };
    const Case cases[] = {
        {"nothing holds it", 0.0, 0, 1},
        {"the letterbox-bar effect for its second", 1.0, 0, 16},
        {"a cross-fade until it ends", 0.0, 1, -1},
    };
    for (const Case& c : cases) {
        Restart();
        EffectTimer = c.effectTimer;
        BlockingCount = c.blocking;
        int frames = 0;
        while (LineCounter < 0 && frames < 40) {
            Frame({}, 0.0625);
            ++frames;
        }
        EXPECT_EQ(LineCounter < 0 ? -1 : frames, c.firstFrame) << c.name;
    }
}

TEST_F(PageFlowTest, TimersRunDownAndSkippingEndsThem) {
    for (const DWORD effects : {1u, 0u}) {
        Restart();
        AdvEffectEnable = effects;
        Frame();
        QuakeTime = 1.0;
        TransitionTimeLeft = 0.5;
        Frame({{kSpace}}, 0.25);
        EXPECT_EQ(MessageWindowShown, 0) << effects;
        EXPECT_FLOAT_EQ(WindowFadeTime, effects != 0 ? 0.2f : 0.0f) << "the toggle's fade";
        EXPECT_DOUBLE_EQ(QuakeTime, 0.75) << effects;
        Frame({}, 0.125);
        EXPECT_FLOAT_EQ(WindowFadeTime, effects != 0 ? 0.075f : 0.0f) << "it runs down";
        EXPECT_DOUBLE_EQ(TransitionTimeLeft, 0.125);
        Frame({}, 0.25);
        EXPECT_DOUBLE_EQ(TransitionTimeLeft, 0.0) << "never below 0";
        Frame({{kControl}}, 0.0);
        EXPECT_FLOAT_EQ(WindowFadeTime, 0.0f) << "skipping ends the fade";
        EXPECT_DOUBLE_EQ(QuakeTime, 0.0) << "and the scene's timers";
    }
}

}  // namespace
}  // namespace adventure_tests
