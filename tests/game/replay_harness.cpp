#include "replay_harness.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "foundation/foundation_test.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/program.h"
#include "tools/script/script_assembler.h"

namespace qvn::test {

namespace {

constexpr std::uint64_t kFrameMicroseconds = 16667;

std::uint64_t HashPixels(const std::uint8_t* bytes, int width, int height, int pitch) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = bytes + static_cast<std::ptrdiff_t>(y) * pitch;
        for (int i = 0; i < width * 4; ++i) {
            hash = (hash ^ row[i]) * 0x100000001b3ull;
        }
    }
    return hash;
}

}  // namespace

const char* const kReplayGlobalScript = R"(
.globals 0 0 0 0 0 0 0 0 0 0 0 0 4 1 0 0 0 0
*top
    return
)";

const char* const kReplayEndlessStart = R"(
*top
@wait
    call 28 0
    pop
    jump @wait
)";

ReplayHarness::ReplayHarness() {
    foundation_test::ResetState();
    win32_test::ForgetSettingsStore();
    win32_test::ResetWindowInput();
    win32_test::UseManualClock(true);
    win32_test::UseScriptedMessageBoxes(true);
    win32_test::TakeShownMessageBoxes();
    d3d9_test::ResetAdapterTable();
    // A desktop larger than the window, so that a windowed game fits.
    win32_test::SetDesktopSize(1280, 1024);
}

ReplayHarness::~ReplayHarness() {
    win32_test::UseManualClock(false);
    win32_test::SetDesktopSize(0, 0);
    win32_test::TakeShownMessageBoxes();
}

void ReplayHarness::WriteScript(const std::string& name, const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(AssembleScript(source, name, &bytes, &error)) << error;
    dir_.writeFile("script/" + name + ".scr", bytes);
}

void ReplayHarness::CopyDemoImage(const std::string& name) {
    std::ifstream in(std::string(QVN_DEMO_DIR) + "/bmp/" + name, std::ios::binary);
    ASSERT_TRUE(in.good()) << name;
    std::stringstream bytes;
    bytes << in.rdbuf();
    dir_.writeFile("bmp/" + name, bytes.str());
}

void ReplayHarness::SetSetting(const char* name, DWORD value) {
    ASSERT_EQ(WriteRegistryDword("main", name, value), 1) << name;
}

void ReplayHarness::PrepareGame(const std::string& start, DWORD fullScreen, bool withCursor) {
    WriteScript("global", kReplayGlobalScript);
    WriteScript("start", start);
    if (withCursor) {
        CopyDemoImage("cursor.png");
    }
    SetSetting("Fullscreen", fullScreen);
    SetSetting("HWCursor", 0);
}

void ReplayHarness::Add(ReplayEvent event) {
    events_.push_back(event);
    std::stable_sort(events_.begin(), events_.end(),
                     [](const ReplayEvent& a, const ReplayEvent& b) { return a.tick < b.tick; });
}

void ReplayHarness::AddAction(int tick, std::function<void()> action) {
    actions_.emplace_back(tick, std::move(action));
}

int ReplayHarness::Run() {
    ProgramOptions options;
    options.programPath = dir_.path() + "/qvn";
    options.idleHook = &ReplayHarness::OnIdle;
    options.idleContext = this;
    options.frameDrawn = &ReplayHarness::OnFrameDrawn;
    options.frameDrawnContext = this;
    return RunProgram(options);
}

void ReplayHarness::OnIdle(void* context) {
    static_cast<ReplayHarness*>(context)->Idle();
}

void ReplayHarness::OnFrameDrawn(void* context) {
    static_cast<ReplayHarness*>(context)->FrameDrawn();
}

void ReplayHarness::Idle() {
    ++tick_;
    win32_test::AdvanceClockMicroseconds(kFrameMicroseconds);
    if (tick_ == 1) {
        char title[128] = {};
        GetWindowTextA(MainWindow, title, sizeof title);
        windowTitle_ = title;
        // The desktop gives the new window the focus.
        win32_test::InjectActivation(MainWindow, true);
    }
    for (const auto& [tick, action] : actions_) {
        if (tick == tick_) {
            action();
        }
    }
    bool injected = InjectDue();
    if (tick_ >= tickLimit_) {
        ForceClose();
        return;
    }
    if (!injected && PauseFlag != 0) {
        // The loop is about to wait for a message: move on to the next event, or end.
        if (next_ < events_.size()) {
            tick_ = std::max(tick_, events_[next_].tick);
            InjectDue();
        } else {
            ForceClose();
        }
    }
}

bool ReplayHarness::InjectDue() {
    bool injected = false;
    while (next_ < events_.size() && events_[next_].tick <= tick_) {
        Inject(events_[next_++]);
        injected = true;
    }
    return injected;
}

void ReplayHarness::Inject(const ReplayEvent& event) {
    switch (event.kind) {
        case ReplayEvent::Kind::Key:
            win32_test::InjectKey(MainWindow, static_cast<UINT>(event.a), event.b != 0);
            break;
        case ReplayEvent::Kind::MouseMove:
            win32_test::InjectMouseMove(MainWindow, event.a, event.b);
            break;
        case ReplayEvent::Kind::Activation:
            win32_test::InjectActivation(MainWindow, event.a != 0);
            break;
        case ReplayEvent::Kind::Close:
            win32_test::QueueMessageBoxAnswer(event.a);
            win32_test::InjectClose(MainWindow);
            break;
        case ReplayEvent::Kind::Command:
            if (event.b != 0) {
                win32_test::QueueMessageBoxAnswer(event.b);
            }
            PostMessageA(MainWindow, WM_COMMAND, static_cast<WPARAM>(event.a), 0);
            break;
        case ReplayEvent::Kind::LoseDevice:
            d3d9_test::LoseDevice(D3DApp->device.get());
            break;
        case ReplayEvent::Kind::RestoreDevice:
            d3d9_test::AllowDeviceReset(D3DApp->device.get());
            break;
    }
}

void ReplayHarness::ForceClose() {
    if (forcedClose_) {
        // The close did not end the program: end the loop so that the test can report it.
        PostQuitMessage(0);
        return;
    }
    forcedClose_ = true;
    win32_test::QueueMessageBoxAnswer(IDYES);
    win32_test::InjectClose(MainWindow);
}

void ReplayHarness::FrameDrawn() {
    IDirect3DDevice9* device = D3DApp->device.get();
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                  D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device->GetRenderTargetData(backBuffer, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    if (copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        const auto* bytes = static_cast<const std::uint8_t*>(locked.pBits);
        const int width = static_cast<int>(desc.Width);
        const int height = static_cast<int>(desc.Height);
        frames_.push_back(ReplayFrame{tick_, HashPixels(bytes, width, height, locked.Pitch)});
        if (tick_ == captureTick_) {
            captured_.resize(static_cast<std::size_t>(width) * height);
            for (int y = 0; y < height; ++y) {
                std::memcpy(captured_.data() + static_cast<std::size_t>(y) * width,
                            bytes + static_cast<std::ptrdiff_t>(y) * locked.Pitch,
                            static_cast<std::size_t>(width) * 4);
            }
            capturedWidth_ = width;
            capturedHeight_ = height;
        }
        copy->UnlockRect();
    }
    copy->Release();
    backBuffer->Release();
}

std::string ReplayHarness::Log() const {
    return dir_.readFile("qvn.log");
}

std::vector<std::string> ReplayHarness::LogLines() const {
    std::vector<std::string> lines;
    std::istringstream in(Log());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

int ReplayHarness::FramesBetween(int first, int last) const {
    return static_cast<int>(
        std::count_if(frames_.begin(), frames_.end(),
                      [&](const ReplayFrame& f) { return f.tick >= first && f.tick <= last; }));
}

std::uint64_t ReplayHarness::HashAt(int tick) const {
    for (const ReplayFrame& frame : frames_) {
        if (frame.tick == tick) {
            return frame.hash;
        }
    }
    return 0;
}

}  // namespace qvn::test
