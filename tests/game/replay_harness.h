#pragma once
// Runs the whole program headless over a timeline of events. Time is counted in ticks: one tick
// each time the main loop finds its queue empty (before a frame, or before waiting while
// paused), and the manual clock moves on by one sixtieth of a second with every tick. The events
// of a tick are injected at its start, so the frame of the next tick sees them. While the loop
// would wait for a message with none due, the timeline skips ahead to its next event; when the
// timeline is spent, or at the tick limit, the window is closed with the close question
// answered Yes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/winbase/win_types.h"
#include "support/temp_program_dir.h"

namespace qvn::test {

// The global script of the replays: the initial globals and a label "top" that returns.
extern const char* const kReplayGlobalScript;
// A start script that waits one frame after another (built-in 28 yields while the adventure has
// no functions yet).
extern const char* const kReplayEndlessStart;

struct ReplayEvent {
    enum class Kind {
        Key,         // a: virtual key, b: 1 down / 0 up
        MouseMove,   // a, b: client position
        Activation,  // a: 1 active / 0 inactive
        Close,       // a: the answer queued for the close question
        Command,     // a: a menu command id posted as WM_COMMAND; b: the answer queued for its box
        LoseDevice,  // the device is lost
        RestoreDevice  // the lost device may be reset again
    };
    int tick;
    Kind kind;
    int a = 0;
    int b = 0;
};

struct ReplayFrame {
    int tick;
    std::uint64_t hash;  // FNV-1a of the back buffer's pixels
};

class ReplayHarness {
public:
    ReplayHarness();
    ~ReplayHarness();
    ReplayHarness(const ReplayHarness&) = delete;
    ReplayHarness& operator=(const ReplayHarness&) = delete;

    // Assembles `source` into script\NAME.scr of the program directory.
    void WriteScript(const std::string& name, const std::string& source);
    // Copies an image of the demo game into bmp\.
    void CopyDemoImage(const std::string& name);
    // Stores a DWORD in section "main" of the settings store before the run.
    void SetSetting(const char* name, DWORD value);
    // The usual game: the replay global script, `start` as the start script, the demo's cursor
    // image (unless `withCursor` is false), the window mode and the software cursor.
    void PrepareGame(const std::string& start, DWORD fullScreen = 0, bool withCursor = true);

    void Add(ReplayEvent event);
    // Runs `action` at the start of `tick`, inside the running program (for checks and for
    // calls that no event stands for).
    void AddAction(int tick, std::function<void()> action);
    // Keeps the pixels of the frame drawn at `tick` (A8R8G8B8, width x height).
    void CaptureTick(int tick) { captureTick_ = tick; }
    void SetTickLimit(int ticks) { tickLimit_ = ticks; }

    // Runs the program to its end; its result.
    int Run();

    const std::vector<ReplayFrame>& frames() const { return frames_; }
    int ticks() const { return tick_; }
    bool closedByHarness() const { return forcedClose_; }
    // The game window's title as the first tick found it (Shift-JIS).
    const std::string& windowTitle() const { return windowTitle_; }
    std::string Log() const;
    std::vector<std::string> LogLines() const;
    const std::vector<std::uint32_t>& captured() const { return captured_; }
    int capturedWidth() const { return capturedWidth_; }
    int capturedHeight() const { return capturedHeight_; }
    const TempProgramDir& dir() const { return dir_; }
    // Frames drawn in ticks first..last, both included.
    int FramesBetween(int first, int last) const;
    // The hash of the frame drawn at `tick`; 0 when none was.
    std::uint64_t HashAt(int tick) const;

private:
    static void OnIdle(void* context);
    static void OnFrameDrawn(void* context);
    void Idle();
    void FrameDrawn();
    bool InjectDue();
    void Inject(const ReplayEvent& event);
    void ForceClose();

    TempProgramDir dir_;
    std::vector<ReplayEvent> events_;
    std::vector<std::pair<int, std::function<void()>>> actions_;
    std::size_t next_ = 0;
    int tick_ = 0;
    int tickLimit_ = 5000;
    int captureTick_ = -1;
    bool forcedClose_ = false;
    std::string windowTitle_;
    std::vector<ReplayFrame> frames_;
    std::vector<std::uint32_t> captured_;
    int capturedWidth_ = 0;
    int capturedHeight_ = 0;
};

}  // namespace qvn::test
