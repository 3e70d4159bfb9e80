#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/path.h"
#include "platform/win32/capture_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/interpreter.h"
#include "script/script_variables.h"
#include "script/vm_state.h"
#include "shell/game_window.h"
#include "shell/program.h"
#include "support/temp_program_dir.h"
#include "tools/script/script_assembler.h"

namespace {

int destroyRequests = 0;
int captureChanges = 0;

LRESULT CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++destroyRequests;
        return 0;
    }
    if (message == WM_CAPTURECHANGED) {
        ++captureChanges;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class GameModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        ResetVm();
        InstallGameScriptHooks();
        ResetAdventureState();
        ResetProgramEndRequest();
        destroyRequests = 0;
        captureChanges = 0;
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = CountingProc;
        windowClass.lpszClassName = "game_mode_test";
        RegisterClassExA(&windowClass);
        MainWindow = CreateWindowExA(0, "game_mode_test", "modes", 0, 0, 0, 64, 64, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_NE(MainWindow, nullptr);
        LetterboxScale = 0.0;
    }
    void TearDown() override {
        ResetVm();
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
        UnregisterClassA("game_mode_test", nullptr);
        InstallScriptGameHooks(DefaultScriptGameHooks());
    }
    static void ResetVm() {
        ScriptVmReset();
        ScriptVariables.clear();
        GlobalInitialValues.clear();
        GameModeStack.clear();
        GameMode = kGameModeNone;
    }
    void WriteScript(const std::string& name, const std::string& source) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(AssembleScript(source, name, &bytes, &error)) << error;
        dir_.writeFile("script/" + name + ".scr", bytes);
    }
    static std::string Path(const char* name) { return GetPath(PathKind::Script, name); }

    qvn::test::TempProgramDir dir_;
};

// One frame of the adventure: the VM runs until it yields (the scripts here yield by asking
// for the screen size into a local).
void RunFrame() {
    RunScripts(0.016f);
}

TEST_F(GameModeTest, StackFollowsEveryLoadCallJumpAndReturn) {
    WriteScript("start", R"(
.locals 0
*top
    callfile "sub" "top"
    invoke 0 0 l0 l0
    jumpfile "next" "top"
)");
    WriteScript("sub", ".locals 0\n*top\n invoke 0 0 l0 l0\n return\n");
    WriteScript("next", ".locals 0\n*top\n invoke 0 0 l0 l0\n return\n");

    ASSERT_TRUE(StartScript(Path("start").c_str(), "top", 0));
    EXPECT_EQ(GameMode, kGameModeAdventure);
    EXPECT_EQ(GameModeStack, (std::deque<int>{kGameModeNone}));

    struct Expected {
        const char* step;
        std::deque<int> stack;
        int mode;
        int ends;
    };
    const Expected frames[] = {
        {"call into sub, which waits", {kGameModeNone, kGameModeAdventure}, 1, 0},
        {"sub returns, start waits", {kGameModeNone}, 1, 0},
        {"jump to next, which waits", {kGameModeNone}, 1, 0},
        {"the last frame returns", {}, kGameModeNone, 1},
    };
    for (const Expected& frame : frames) {
        RunFrame();
        EXPECT_EQ(GameModeStack, frame.stack) << frame.step;
        EXPECT_EQ(GameMode, frame.mode) << frame.step;
        EXPECT_EQ(destroyRequests, frame.ends) << frame.step;
    }
    EXPECT_TRUE(IsScriptStackEmpty());
}

TEST_F(GameModeTest, ReturnFromTheOnlyFrameInAdventureEndsTheProgramOnlyOnce) {
    WriteScript("start", "*top\n return\n");
    GameMode = kGameModeAdventure;  // so the pop restores Adventure with no frame left
    ASSERT_TRUE(StartScript(Path("start").c_str(), "top", 0));
    RunFrame();
    EXPECT_EQ(GameMode, kGameModeAdventure);
    EXPECT_EQ(destroyRequests, 1);
    EXPECT_TRUE(ProgramEndRequested());
}

TEST_F(GameModeTest, PopOnAnEmptyStackKeepsTheModeAndStillHidesTheWindow) {
    GameMode = kGameModeTitleMenu;
    MessageWindowShown = 1;
    WindowFadeTime = 0.2f;
    PageWait = 1;
    EXPECT_FALSE(PopGameMode("x", 1));
    EXPECT_EQ(GameMode, kGameModeTitleMenu);
    EXPECT_EQ(MessageWindowShown, 0);
    EXPECT_EQ(WindowFadeTime, 0.0f);
    EXPECT_EQ(PageWait, 0) << "no script frame is left";
}

TEST_F(GameModeTest, PushWithALabelStartsANewPage) {
    LineCounter = 3;
    PageWait = 1;
    EXPECT_TRUE(PushGameMode("a", nullptr));
    EXPECT_EQ(LineCounter, 3);
    EXPECT_EQ(PageWait, 1);
    EXPECT_TRUE(PushGameMode("a", "top"));
    EXPECT_EQ(LineCounter, -1);
    EXPECT_EQ(PageWait, 0);
    EXPECT_EQ(GameModeStack, (std::deque<int>{kGameModeNone, kGameModeAdventure}));
}

TEST_F(GameModeTest, PushWithALabelDropsTheMouseCapture) {
    SetCapture(MainWindow);
    PushGameMode("file", nullptr);
    EXPECT_EQ(GetCapture(), MainWindow) << "a push without a label keeps the capture";
    PushGameMode("file", "top");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(captureChanges, 1) << "one WM_CAPTURECHANGED";
}

TEST_F(GameModeTest, StartScriptWithoutAFileNeedsARunningFrame) {
    EXPECT_FALSE(StartScript(nullptr, "top", 0));
    EXPECT_TRUE(IsScriptStackEmpty());
    EXPECT_TRUE(GameModeStack.empty());
}

TEST_F(GameModeTest, LetterboxIsComputedOnceAtTheFirstStart) {
    WriteScript("start", ".locals 0\n*top\n invoke 0 0 l0 l0\n return\n");
    ScreenWidth = 1024;
    ScreenHeight = 600;
    ASSERT_TRUE(StartScript(Path("start").c_str(), "top", 0));
    EXPECT_EQ(LetterboxScale, 1.0);
    EXPECT_EQ(LetterboxRect.left, 112);
    EXPECT_EQ(LetterboxRect.right, 912);
    ScreenWidth = 800;
    ASSERT_TRUE(StartScript(Path("start").c_str(), "top", 0));
    EXPECT_EQ(LetterboxRect.left, 112) << "later starts keep the first result";
}

TEST(LetterboxTest, ScreenIsScaledAndCentred) {
    struct Case {
        DWORD width;
        DWORD height;
        double scale;
        RECT rect;
    };
    const Case cases[] = {
        {1024, 600, 1.0, {112, 0, 912, 600}},
        {800, 768, 1.0, {0, 84, 800, 684}},
        {1280, 720, 1.2, {160, 0, 1120, 720}},
        {640, 480, 0.8, {0, 0, 640, 480}},
    };
    for (const Case& c : cases) {
        double scale = 0.0;
        RECT rect{};
        ComputeLetterbox(c.width, c.height, &scale, &rect);
        EXPECT_DOUBLE_EQ(scale, c.scale) << c.width << "x" << c.height;
        EXPECT_EQ(rect.left, c.rect.left) << c.width << "x" << c.height;
        EXPECT_EQ(rect.top, c.rect.top) << c.width << "x" << c.height;
        EXPECT_EQ(rect.right, c.rect.right) << c.width << "x" << c.height;
        EXPECT_EQ(rect.bottom, c.rect.bottom) << c.width << "x" << c.height;
    }
}

TEST_F(GameModeTest, ResetPutsTheAdventureBackButKeepsAutoMode) {
    WriteScript("start", ".locals 0\n*top\n invoke 0 0 l0 l0\n return\n");
    ASSERT_TRUE(StartScript(Path("start").c_str(), "top", 0));
    AutoMode = 1;
    FastForwardMode = 1;
    PageWait = 1;
    LineCounter = 5;
    QuakeTime = 1.0;
    BlendMode = 3;
    SpeakerName[0] = 'A';
    ResetAdventureState();
    EXPECT_TRUE(IsScriptStackEmpty());
    EXPECT_TRUE(GameModeStack.empty());
    EXPECT_EQ(GameMode, kGameModeNone);
    EXPECT_EQ(AutoMode, 1);
    EXPECT_EQ(FastForwardMode, 0);
    EXPECT_EQ(PageWait, 0);
    EXPECT_EQ(LineCounter, -1);
    EXPECT_EQ(QuakeTime, 0.0);
    EXPECT_EQ(BlendMode, 1u);
    EXPECT_EQ(SpeakerName[0], '\0');
    EXPECT_EQ(destroyRequests, 0) << "a reset is no program end";
    AutoMode = 0;
}

}  // namespace
