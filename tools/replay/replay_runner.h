#pragma once
// Runs the whole program headless over a timeline of events, on the manual clock.
//
// Time is counted in ticks of one sixtieth of a second. At the start of each tick the clock
// moves on to the tick's time and the tick's actions and events are brought in; the messages
// then waiting are dispatched, and the frame of the tick runs after them, so that the frame of
// a tick sees that tick's input. While the program is paused (or a movie plays) no frame runs
// and the ticks go by one after another until a message is due. The sound device is a null one
// whose mixer takes one tick's sound at the start of each tick, so that sound, and a movie's
// pictures that follow it, keep to the ticks. At the first tick the desktop
// gives the new game window the focus. At the tick limit, or at an End event, the window is
// closed with the close question answered Yes; should the program go on all the same, its loop
// is ended at the next turn.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/replay/frame_capture.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_timeline.h"

struct ReplayFrame {
    int tick;
    std::uint64_t hash;  // HashFrame of the frame; 0 when frames are not hashed
};

// A frame kept under a name by a Capture event.
struct ReplayCapture {
    std::string name;
    int tick = 0;
    bool drawn = false;  // false: no frame was drawn at that tick
    std::uint64_t hash = 0;
    CapturedFrame frame;
};

class ReplayRunner {
public:
    // Sets the platform up for a headless run of the program in `programDirectory` (a Linux
    // path that the Windows layer already answers as the program directory): the manual clock
    // at 0, scripted message boxes, the test adapter, a 1280 x 1024 desktop, and DirectInput's
    // test backend with one pad. The destructor puts the clock, the desktop and the input
    // backend back.
    explicit ReplayRunner(std::string programDirectory);
    ~ReplayRunner();
    ReplayRunner(const ReplayRunner&) = delete;
    ReplayRunner& operator=(const ReplayRunner&) = delete;

    void Add(ReplayEvent event);
    // Parses `text` as a timeline and adds its events; false with *error ("timeline:LINE:
    // message") and nothing added when a line cannot be read.
    bool AddTimeline(std::string_view text, std::string* error);
    // Runs `action` at the start of `tick`, before the tick's events, inside the running program
    // (for checks and for calls that no event stands for).
    void AddAction(int tick, std::function<void()> action);
    // Keeps the pixels of the frame drawn at `tick` (the last one, when more are drawn).
    void CaptureTick(int tick) { captureTick_ = tick; }
    // The tick at which the run is ended (5000 unless set).
    void SetTickLimit(int ticks) { tickLimit_ = ticks; }
    // On (the default), every frame is read back and hashed into frames(); off, only the frames
    // that are captured are.
    void SetHashEveryFrame(bool on) { hashEveryFrame_ = on; }
    // Named captures are written there as NAME.png; empty (the default): not written.
    void SetCaptureDirectory(std::string directory) { captureDirectory_ = std::move(directory); }
    // Receives each report line as it is made ("capture NAME tick N hash HEX", "var N = VALUE");
    // reportLines() keeps them all.
    void SetReportSink(std::function<void(const std::string&)> sink) {
        reportSink_ = std::move(sink);
    }

    // Runs the program to its end; its result.
    int Run();

    // Frames drawn by the frame step (a movie's pictures are not among them).
    const std::vector<ReplayFrame>& frames() const { return frames_; }
    // Pictures a movie showed in the game window.
    int moviePictures() const { return moviePictures_; }
    // The tick the run ended at.
    int ticks() const { return tick_; }
    // The replay closed the window (at the tick limit or at an End event).
    bool closedByHarness() const { return forcedClose_; }
    bool reachedTickLimit() const { return reachedTickLimit_; }
    // The game window's title as the first tick found it (Shift-JIS).
    const std::string& windowTitle() const { return windowTitle_; }
    const std::vector<std::uint32_t>& captured() const { return captured_.argb; }
    int capturedWidth() const { return captured_.width; }
    int capturedHeight() const { return captured_.height; }
    // Named captures in the order they were finished.
    const std::vector<ReplayCapture>& captures() const { return captures_; }
    // The capture named `name`, or null.
    const ReplayCapture* FindCapture(std::string_view name) const;
    const std::vector<std::string>& reportLines() const { return reportLines_; }
    // What went wrong on the replay's side (a capture without a frame, a PNG not written...);
    // each line is also written to standard error.
    const std::vector<std::string>& problems() const { return problems_; }
    // Frames drawn in ticks first..last, both included.
    int FramesBetween(int first, int last) const;
    // The hash of the (first) frame drawn at `tick`; 0 when none was.
    std::uint64_t HashAt(int tick) const;

private:
    static void OnIdle(void* context);
    static void OnModalIdle(HWND modalWindow, void* context);
    void ModalIdle(HWND modalWindow);
    // The timeline's next event is no dialog event: the dialog is answered by its first button.
    bool NextEventIsForDialog() const;
    void InjectDialogEvent(const ReplayEvent& event);
    static void OnFrameDrawn(void* context);
    static void OnMoviePicture(HWND window, void* context);
    void Idle();
    void BeginTick();
    // The actions and events due by the current tick, until one ends the run.
    void BringInDue();
    void Inject(const ReplayEvent& event);
    POINT ClientPoint(int x, int y) const;
    void ReportVariables();
    void FrameDrawn();
    void MoviePictureShown(HWND window);
    // Finishes the named captures of the ticks before `tick`.
    void FinishCaptures(int tick);
    void ForceClose();
    void Report(const std::string& line);
    void Problem(const std::string& line);

    std::string programDirectory_;
    std::unique_ptr<ReplayInput> input_;
    std::vector<ReplayEvent> events_;
    std::vector<std::pair<int, std::function<void()>>> actions_;
    std::size_t nextEvent_ = 0;
    std::size_t nextAction_ = 0;
    int tick_ = 0;
    int tickLimit_ = 5000;
    // The messages of the current tick are being dispatched: its frame is still to come.
    bool tickHeld_ = false;
    int captureTick_ = -1;
    bool hashEveryFrame_ = true;
    bool forcedClose_ = false;
    bool gameWindowActivated_ = false;
    bool reachedTickLimit_ = false;
    std::string captureDirectory_;
    std::function<void(const std::string&)> reportSink_;
    std::string windowTitle_;
    std::vector<ReplayFrame> frames_;
    int moviePictures_ = 0;
    CapturedFrame captured_;
    std::vector<ReplayCapture> pendingCaptures_;
    std::vector<ReplayCapture> captures_;
    std::vector<std::string> reportLines_;
    std::vector<std::string> problems_;
};
