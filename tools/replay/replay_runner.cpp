#include "tools/replay/replay_runner.h"

#include <algorithm>
#include <cstdio>

#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "media/graphics/d3d_application.h"
#include "media/sound/direct_sound.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/dshow/dshow_test.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/system_test.h"
#include "platform/winbase/test_hooks.h"
#include "shell/game_window.h"
#include "shell/logical_screen.h"
#include "shell/main_loop.h"
#include "shell/notice_dialogs.h"
#include "shell/program.h"
#include "shell/startup_settings.h"
#include "tools/script/script_trace.h"

namespace {

constexpr std::uint64_t kTicksPerSecond = 60;
// The mixing rate of the game's sound device.
constexpr std::uint64_t kMixRate = 44100;

// The clock's time at the start of `tick`, in microseconds.
std::uint64_t TickMicroseconds(int tick) {
    return static_cast<std::uint64_t>(tick) * 1000000u / kTicksPerSecond;
}

// The machine every replay runs on, so that the system-information lines are the same
// everywhere: an Intel processor of family 6, model 11 without a brand string or a time-stamp
// counter (no clock is measured against the manual clock), Debian 12 on Linux 6.1.0, a Japanese
// locale, 2 GiB of memory, a 64 GiB program drive half free and no CD-ROM drive.
win32_test::FakeMachine ReplayMachine() {
    constexpr std::uint32_t kGenuine = 0x756E6547;  // "Genu"
    constexpr std::uint32_t kIneI = 0x49656E69;     // "ineI"
    constexpr std::uint32_t kNtel = 0x6C65746E;     // "ntel"
    constexpr std::uint32_t kFpuMmxSseSse2 = (1u << 0) | (1u << 23) | (1u << 25) | (1u << 26);
    win32_test::FakeMachine machine;
    machine.cpuid = {{0, 1, kGenuine, kNtel, kIneI},
                     {1, 0x6B1, 0, 0, kFpuMmxSseSse2},
                     {0x80000000u, 0x80000001u, 0, 0, 0}};
    machine.kernelRelease = "6.1.0-18-amd64";
    machine.osRelease =
        "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n";
    machine.locale = "ja_JP.UTF-8";
    machine.physicalMemoryBytes = std::uint64_t{2} << 30;
    machine.programDriveTotalBytes = std::uint64_t{64} << 30;
    machine.programDriveFreeBytes = std::uint64_t{32} << 30;
    machine.programDriveAvailableBytes = std::uint64_t{32} << 30;
    return machine;
}

}  // namespace

ReplayRunner::ReplayRunner(std::string programDirectory)
    : programDirectory_(std::move(programDirectory)) {
    foundation_test::ResetState();
    win32_test::ForgetSettingsStore();
    win32_test::ResetWindowInput();
    win32_test::UseManualClock(true);
    win32_test::UseFakeMachine(ReplayMachine());
    win32_test::UseScriptedMessageBoxes(true);
    win32_test::TakeShownMessageBoxes();
    d3d9_test::ResetAdapterTable();
    win32_test::RecordShellActions(true);
    win32_test::ResetClipboard();
    win32_test::TakeShellOpens();
    win32_test::SetModalIdleHook(&ReplayRunner::OnModalIdle, this);
    // A desktop larger than the window, so that a windowed game fits.
    win32_test::SetDesktopSize(1280, 1024);
    dsound_test::UseNullDevice(true);
    dshow_test::SetPictureObserver(&ReplayRunner::OnMoviePicture, this);
    input_ = std::make_unique<ReplayInput>();
}

ReplayRunner::~ReplayRunner() {
    win32_test::SetModalIdleHook(nullptr, nullptr);
    win32_test::RecordShellActions(false);
    input_.reset();
    dshow_test::SetPictureObserver(nullptr, nullptr);
    dsound_test::UseNullDevice(false);
    win32_test::UseManualClock(false);
    win32_test::UseRealMachine();
    win32_test::SetDesktopSize(0, 0);
    win32_test::TakeShownMessageBoxes();
}

void ReplayRunner::Add(ReplayEvent event) {
    // After the events of the same tick, so that a tick's events keep the order they came in.
    const auto at = std::upper_bound(
        events_.begin() + static_cast<std::ptrdiff_t>(nextEvent_), events_.end(), event.tick,
        [](int tick, const ReplayEvent& other) { return tick < other.tick; });
    events_.insert(at, std::move(event));
}

bool ReplayRunner::AddTimeline(std::string_view text, std::string* error) {
    std::vector<ReplayEvent> events;
    if (!ParseTimeline(text, &events, error)) {
        return false;
    }
    for (ReplayEvent& event : events) {
        Add(std::move(event));
    }
    return true;
}

void ReplayRunner::AddAction(int tick, std::function<void()> action) {
    const auto at = std::upper_bound(
        actions_.begin() + static_cast<std::ptrdiff_t>(nextAction_), actions_.end(), tick,
        [](int value, const auto& other) { return value < other.first; });
    actions_.emplace(at, tick, std::move(action));
}

int ReplayRunner::Run() {
    ProgramOptions options;
    options.programPath = programDirectory_ + "/qvn";
    options.idleHook = &ReplayRunner::OnIdle;
    options.idleContext = this;
    options.frameDrawn = &ReplayRunner::OnFrameDrawn;
    options.frameDrawnContext = this;
    const int result = RunProgram(options);
    FinishCaptures(tick_ + 1);
    for (std::size_t i = nextEvent_; i < events_.size(); ++i) {
        if (events_[i].kind == ReplayEvent::Kind::Capture) {
            Problem("capture " + events_[i].name + " tick " + std::to_string(events_[i].tick) +
                    ": the program ended at tick " + std::to_string(tick_));
        }
    }
    return result;
}

void ReplayRunner::OnIdle(void* context) {
    static_cast<ReplayRunner*>(context)->Idle();
}

void ReplayRunner::OnModalIdle(HWND modalWindow, void* context) {
    static_cast<ReplayRunner*>(context)->ModalIdle(modalWindow);
}

bool ReplayRunner::NextEventIsForDialog() const {
    if (nextEvent_ >= events_.size()) {
        return false;
    }
    const ReplayEvent::Kind kind = events_[nextEvent_].kind;
    return kind == ReplayEvent::Kind::DialogClick || kind == ReplayEvent::Kind::DialogText;
}

void ReplayRunner::ModalIdle(HWND modalWindow) {
    const WORD resource = Win32DialogResource(modalWindow);
    const bool startDialog = resource == kStartupDialogSimple ||
                             resource == kStartupDialogDetailed ||
                             resource == kNoticeDialogResource;
    if (startDialog && !NextEventIsForDialog()) {
        // A timeline without dialog events starts the game as a player would.
        Win32ClickControl(GetDlgItem(modalWindow, 1));
        return;
    }
    if (forcedClose_ || tick_ >= tickLimit_) {
        if (!forcedClose_) {
            reachedTickLimit_ = true;
            ForceClose();
        }
        // The modal window goes first; a second turn here abandons it.
        if (modalWindow != nullptr) {
            PostMessageA(modalWindow, WM_CLOSE, 0, 0);
        }
        PostQuitMessage(0);
        return;
    }
    BeginTick();
    BringInDue();
}

void ReplayRunner::InjectDialogEvent(const ReplayEvent& event) {
    HWND dialog = Win32ActiveModalDialog();
    HWND control = Win32FindDialogControl(dialog, event.a);
    const std::string where =
        "tick " + std::to_string(tick_) + ": dialog " + std::to_string(event.a);
    if (control == nullptr) {
        Problem(where + ": " + (dialog == nullptr ? "no dialog is open" : "no such control"));
        return;
    }
    bool done = false;
    if (event.kind == ReplayEvent::Kind::DialogClick) {
        done = Win32ClickControl(control);
    } else {
        const std::string text = Utf8ToCp932(event.name).value_or(event.name);
        done = Win32SetControlByText(control, text.c_str());
    }
    if (!done) {
        Problem(where + ": the control took no action");
    }
}

void ReplayRunner::OnFrameDrawn(void* context) {
    static_cast<ReplayRunner*>(context)->FrameDrawn();
}

void ReplayRunner::OnMoviePicture(HWND window, void* context) {
    static_cast<ReplayRunner*>(context)->MoviePictureShown(window);
}

void ReplayRunner::Idle() {
    if (forcedClose_) {
        // The close did not end the program: end its loop.
        PostQuitMessage(0);
        return;
    }
    if (tickHeld_) {
        tickHeld_ = false;
        if (!MainLoopWaitsForMessages()) {
            return;  // the frame of this tick runs now
        }
    }
    for (;;) {
        BeginTick();
        BringInDue();
        if (forcedClose_) {
            return;
        }
        if (tick_ >= tickLimit_) {
            reachedTickLimit_ = true;
            ForceClose();
            return;
        }
        if (MainLoopMessageWaiting()) {
            tickHeld_ = true;
            return;
        }
        if (!MainLoopWaitsForMessages()) {
            return;
        }
        // Paused with nothing to take: the next tick.
    }
}

void ReplayRunner::BeginTick() {
    ++tick_;
    if (gDirectSound != nullptr && gDirectSound->device) {
        const auto frames = static_cast<std::uint32_t>(kMixRate * tick_ / kTicksPerSecond -
                                                       kMixRate * (tick_ - 1) / kTicksPerSecond);
        dsound_test::MixFrames(gDirectSound->device.get(), frames);
    }
    win32_test::AdvanceClockMicroseconds(TickMicroseconds(tick_) - TickMicroseconds(tick_ - 1));
    FinishCaptures(tick_);
    if (!gameWindowActivated_ && MainWindow != nullptr) {
        gameWindowActivated_ = true;
        char title[128] = {};
        GetWindowTextA(MainWindow, title, sizeof title);
        windowTitle_ = title;
        // The pointer stands in the middle of the game's screen, away from the top row, where a
        // full-screen game opens its menu bar.
        input_->PlaceAt(MainWindow, ClientPoint(kLogicalScreenWidth / 2, kLogicalScreenHeight / 2));
        // The desktop gives the new window the focus.
        win32_test::InjectActivation(MainWindow, true);
    }
}

void ReplayRunner::BringInDue() {
    while (nextAction_ < actions_.size() && actions_[nextAction_].first <= tick_) {
        // Taken out first: the action may add more.
        std::function<void()> action = std::move(actions_[nextAction_++].second);
        action();
    }
    while (!forcedClose_ && nextEvent_ < events_.size() && events_[nextEvent_].tick <= tick_) {
        const ReplayEvent event = events_[nextEvent_++];
        Inject(event);
    }
}

POINT ReplayRunner::ClientPoint(int x, int y) const {
    double scale = 1.0;
    RECT screen{};
    ComputeLetterbox(ScreenWidth, ScreenHeight, &scale, &screen);
    return POINT{screen.left + static_cast<LONG>(x * scale),
                 screen.top + static_cast<LONG>(y * scale)};
}

void ReplayRunner::Inject(const ReplayEvent& event) {
    using Kind = ReplayEvent::Kind;
    IDirect3DDevice9* device = D3DApp != nullptr ? D3DApp->device.get() : nullptr;
    switch (event.kind) {
        case Kind::Key:
            input_->Key(MainWindow, static_cast<UINT>(event.a), event.b != 0);
            break;
        case Kind::MouseMove:
            input_->MoveTo(MainWindow, ClientPoint(event.a, event.b));
            break;
        case Kind::MouseButton:
            input_->Button(MainWindow, event.a, event.b != 0);
            break;
        case Kind::Wheel:
            input_->Wheel(MainWindow, event.a);
            break;
        case Kind::PadButton:
            input_->PadButton(event.a, event.b != 0);
            break;
        case Kind::PadStick:
            input_->PadStick(event.a, event.b);
            break;
        case Kind::Activation:
            win32_test::InjectActivation(MainWindow, event.a != 0);
            break;
        case Kind::Close:
            if (event.a != 0) {
                win32_test::QueueMessageBoxAnswer(event.a);
            }
            win32_test::InjectClose(MainWindow);
            break;
        case Kind::Command:
            if (event.b != 0) {
                win32_test::QueueMessageBoxAnswer(event.b);
            }
            PostMessageA(MainWindow, WM_COMMAND, static_cast<WPARAM>(event.a), 0);
            break;
        case Kind::Answer:
            win32_test::QueueMessageBoxAnswer(event.a);
            break;
        case Kind::LoseDevice:
        case Kind::RestoreDevice:
            if (device == nullptr) {
                Problem("tick " + std::to_string(tick_) + ": no device to lose or restore");
            } else if (event.kind == Kind::LoseDevice) {
                d3d9_test::LoseDevice(device);
            } else {
                d3d9_test::AllowDeviceReset(device);
            }
            break;
        case Kind::Capture:
            pendingCaptures_.push_back(ReplayCapture{event.name, tick_});
            break;
        case Kind::Vars:
            ReportVariables();
            break;
        case Kind::DialogClick:
        case Kind::DialogText:
            InjectDialogEvent(event);
            break;
        case Kind::End:
            ForceClose();
            break;
    }
}

void ReplayRunner::ReportVariables() {
    const std::size_t globals = GlobalVariableCount();
    for (std::size_t i = 0; i < globals; ++i) {
        Report("var " + std::to_string(i) + " = " + VariableValueText(i));
    }
}

void ReplayRunner::ForceClose() {
    forcedClose_ = true;
    win32_test::QueueMessageBoxAnswer(IDYES);
    win32_test::InjectClose(MainWindow);
}

void ReplayRunner::FrameDrawn() {
    const bool named = std::any_of(pendingCaptures_.begin(), pendingCaptures_.end(),
                                   [&](const ReplayCapture& c) { return c.tick == tick_; });
    if (!hashEveryFrame_ && !named && tick_ != captureTick_) {
        frames_.push_back(ReplayFrame{tick_, 0});
        return;
    }
    CapturedFrame frame;
    if (!ReadBackBuffer(D3DApp != nullptr ? D3DApp->device.get() : nullptr, &frame)) {
        Problem("tick " + std::to_string(tick_) + ": the frame could not be read back");
        frames_.push_back(ReplayFrame{tick_, 0});
        return;
    }
    const std::uint64_t hash = HashFrame(frame);
    frames_.push_back(ReplayFrame{tick_, hash});
    for (ReplayCapture& capture : pendingCaptures_) {
        if (capture.tick == tick_) {
            capture.drawn = true;
            capture.hash = hash;
            capture.frame = frame;
        }
    }
    if (tick_ == captureTick_) {
        captured_ = std::move(frame);
    }
}

void ReplayRunner::MoviePictureShown(HWND window) {
    if (window == MainWindow) {
        ++moviePictures_;
    }
}

void ReplayRunner::FinishCaptures(int tick) {
    auto finished = std::stable_partition(pendingCaptures_.begin(), pendingCaptures_.end(),
                                          [&](const ReplayCapture& c) { return c.tick < tick; });
    for (auto it = pendingCaptures_.begin(); it != finished; ++it) {
        ReplayCapture& capture = *it;
        const std::string where =
            "capture " + capture.name + " tick " + std::to_string(capture.tick);
        // While a movie plays no frame is drawn: the window shows the movie's picture.
        if (!capture.drawn && ReadMoviePicture(MainWindow, &capture.frame)) {
            capture.drawn = true;
            capture.hash = HashFrame(capture.frame);
        }
        if (!capture.drawn) {
            Problem(where + ": no frame was drawn");
        } else {
            Report(where + " hash " + HashText(capture.hash));
            std::string error;
            if (!captureDirectory_.empty() &&
                !WriteFramePng(captureDirectory_ + "/" + capture.name + ".png", capture.frame,
                               &error)) {
                Problem(where + ": " + error);
            }
        }
        captures_.push_back(std::move(capture));
    }
    pendingCaptures_.erase(pendingCaptures_.begin(), finished);
}

const ReplayCapture* ReplayRunner::FindCapture(std::string_view name) const {
    for (const ReplayCapture& capture : captures_) {
        if (capture.name == name) {
            return &capture;
        }
    }
    return nullptr;
}

void ReplayRunner::Report(const std::string& line) {
    reportLines_.push_back(line);
    if (reportSink_) {
        reportSink_(line);
    }
}

void ReplayRunner::Problem(const std::string& line) {
    problems_.push_back(line);
    std::fprintf(stderr, "replay: %s\n", line.c_str());
}

int ReplayRunner::FramesBetween(int first, int last) const {
    return static_cast<int>(
        std::count_if(frames_.begin(), frames_.end(),
                      [&](const ReplayFrame& f) { return f.tick >= first && f.tick <= last; }));
}

std::uint64_t ReplayRunner::HashAt(int tick) const {
    for (const ReplayFrame& frame : frames_) {
        if (frame.tick == tick) {
            return frame.hash;
        }
    }
    return 0;
}
