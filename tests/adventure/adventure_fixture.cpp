#include "adventure_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/message_backlog.h"
#include "adventure/message_functions.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/save_game.h"
#include "adventure/scene.h"
#include "adventure/script_functions.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "kra/kra_source.h"
#include "kra/kra_writer.h"
#include "media/graphics/plane.h"
#include "platform/winbase/code_page.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/script_variables.h"
#include "script/vm_state.h"
#include "shell/frame_control.h"
#include "shell/program.h"
#include "support/golden_image.h"
#include "tools/script/script_assembler.h"

namespace adventure_tests {

namespace {

constexpr const char* kGlobalScript = R"(
.globals 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0
*top
    return
)";

void ResetAdventure() {
    ScriptVmReset();
    ScriptVariables.clear();
    GlobalInitialValues.clear();
    GameModeStack.clear();
    GameMode = kGameModeNone;
    ResetAdventureFlags();
    MessageBacklog::Clear();
    MessageWindowShown = 0;
    WindowFadeTime = 0.0f;
    SkipActive = 0;
    AutoMode = 0;
    KeyRepeatTimer = 0.0;
    KeyRepeatFirst = 1;
    AutoPageDelayMs = 0;
    ResetFrameControl();
    ForgetSavedGames();
}

}  // namespace

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("?");
}

std::string ReadDemoFile(const std::string& relative) {
    std::ifstream in(std::string(QVN_SOURCE_DIR) + "/demo/" + relative, std::ios::binary);
    EXPECT_TRUE(in.good()) << relative;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void AdventureTest::SetUp() {
    GraphicsTest::SetUp();
    StartDevice(800, 600);
    ScreenWidth = 800;
    ScreenHeight = 600;
    MessageFontScale = ComputeMessageFontScale(800, 600);
    ComputeLetterbox(800, 600, &LetterboxScale, &LetterboxRect);
    ResetAdventure();
    ScriptGameHooks hooks = DefaultScriptGameHooks();
    hooks.ShowMessage = ShowMessage;
    hooks.ScriptFunctionDispatcher = ScriptFunctionDispatcher;
    hooks.PushGameMode = PushGameMode;
    hooks.PopGameMode = PopGameMode;
    InstallScriptGameHooks(hooks);
    input_ = std::make_unique<DIApplication>();
    input_->keyRepeatDelay = 0.25;
    input_->keyRepeatInterval = 0.0625;
    input_->padMax = 1000;
    gDIApplication = input_.get();
    WriteScript("global", kGlobalScript);
    ASSERT_TRUE(LoadGlobal(GetPath(PathKind::Script, "global")));
    CopyDemoFile("sprite/mowl.png");
    WriteContainer("mowl", ReadDemoFile("sprite/mowl.txt"));
}

void AdventureTest::TearDown() {
    ResetAdventure();
    ReleaseScene();
    InstallScriptGameHooks(DefaultScriptGameHooks());
    gDIApplication = nullptr;
    input_.reset();
    LetterboxScale = 0.0;
    GraphicsTest::TearDown();
}

void AdventureTest::WriteScript(const std::string& name, const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(AssembleScript(source, name, &bytes, &error)) << error;
    dir_->writeFile("script/" + name + ".scr", bytes);
}

void AdventureTest::WriteContainer(const std::string& name, const std::string& source) {
    qvn_kra::KraError error;
    const std::optional<qvn_kra::KraSource> parsed = qvn_kra::ParseKraSource(source, &error);
    ASSERT_TRUE(parsed.has_value()) << name << ":" << error.line << ": " << error.message;
    const std::optional<std::vector<std::uint8_t>> bytes = qvn_kra::WriteKra(*parsed, &error, true);
    ASSERT_TRUE(bytes.has_value()) << name << ":" << error.line << ": " << error.message;
    dir_->writeFile("sprite/" + name + ".kra", *bytes);
}

void AdventureTest::CopyDemoFile(const std::string& relative, const std::string& to) {
    dir_->writeFile(to.empty() ? relative : to, ReadDemoFile(relative));
}

void AdventureTest::StartScript(const std::string& name, const char* label) {
    ASSERT_TRUE(Load(GetPath(PathKind::Script, name.c_str()), label)) << name;
}

void AdventureTest::Poll(const Input& in) {
    DIApplication& app = *input_;
    std::copy(std::begin(app.keys), std::end(app.keys), std::begin(app.previousKeys));
    app.previousMouseState = app.mouseState;
    app.previousPadState = app.padState;
    std::fill(std::begin(app.keys), std::end(app.keys), BYTE{0});
    app.mouseState = DIMOUSESTATE2{};
    app.padState = DIJOYSTATE2{};
    for (int key : in.keys) {
        app.keys[key] = 0x80;
    }
    for (int button : in.mouse) {
        app.mouseState.rgbButtons[button] = 0x80;
    }
    for (int button : in.pad) {
        app.padState.rgbButtons[button] = 0x80;
    }
    app.mouseState.lZ = in.wheel;
    app.padState.lX = in.padX;
    app.padState.lY = in.padY;
}

void AdventureTest::Frame(const Input& in, double dt) {
    Poll(in);
    D3D_UpdatePlanes(dt);
    device()->BeginScene();
    AdventureFrame(dt);
    device()->EndScene();
}

void AdventureTest::ExpectRowsGolden(const std::string& name, int top) {
    const std::vector<std::uint32_t> pixels = ReadTarget();
    EXPECT_EQ(qvn::test::CompareImageWithGolden(
                  name, width_, height_ - top,
                  pixels.data() + static_cast<std::size_t>(top) * width_, width_),
              "");
}

std::int32_t AdventureTest::Var(std::uint32_t index) {
    return static_cast<std::int32_t>(GetVar(index));
}

std::string StepScript(const std::vector<ScriptStep>& steps) {
    std::string script = ".locals 0 0\n*top\n";
    for (const ScriptStep& step : steps) {
        script += "    set g20 0\n" + step.code + "\n    set g20 1\n    invoke 0 0 l0 l0\n";
    }
    return script + "@end\n    invoke 0 0 l0 l0\n    jump @end\n";
}

void AdventureTest::RunSteps(const std::vector<ScriptStep>& steps) {
    WriteScript("start", StepScript(steps));
    StartScript("start");
    for (const ScriptStep& step : steps) {
        int frames = 0;
        do {
            Frame({}, 0.0625);
            ++frames;
        } while (Var(20) != 1 && frames < 100);
        EXPECT_EQ(frames - 1, step.heldFrames) << step.name;
        if (step.check) {
            SCOPED_TRACE(step.name);
            step.check();
        }
    }
}

}  // namespace adventure_tests
