#pragma once
// The whole program run headless over a timeline (tools/replay/replay_runner.h tells how ticks,
// events and frames go) in a fresh program directory and $XDG_CONFIG_HOME of its own, with the
// helpers that fill the directory before the run.

#include <string>
#include <vector>

#include "platform/winbase/win_types.h"
#include "support/temp_program_dir.h"
#include "tools/replay/replay_runner.h"

namespace qvn::test {

using ::ReplayCapture;
using ::ReplayEvent;
using ::ReplayFrame;

// The global script of the replays: the initial globals and a label "top" that returns.
extern const char* const kReplayGlobalScript;
// A start script that waits one frame after another: each frame it asks for the screen size
// into a local of its own (system sub-command 0, which lets the script go on next frame).
extern const char* const kReplayEndlessStart;

// Copies the demo game as the build made it (scripts, images, sounds, music, voices, sprite
// containers, movies, the title's data) into `dir`, with a save folder holding an empty seen list.
void CopyDemoGame(const TempProgramDir& dir);

// Made before the runner and removed after it.
class ReplayProgramDir {
protected:
    TempProgramDir dir_;
};

class ReplayHarness : private ReplayProgramDir, public ReplayRunner {
public:
    ReplayHarness();

    // Assembles `source` into script\NAME.scr of the program directory.
    void WriteScript(const std::string& name, const std::string& source);
    // Copies an image of the demo game into bmp\.
    void CopyDemoImage(const std::string& name);
    // Copies the demo's mascot (sprite\mowl.kra as the build wrote it, and its sheet), which the
    // adventure frame shows over every page wait.
    void CopyDemoMascot();
    // Stores a DWORD in section "main" of the settings store before the run.
    void SetSetting(const char* name, DWORD value);
    // The usual game: the replay global script, `start` as the start script, the demo's cursor
    // image (unless `withCursor` is false), the window mode and the software cursor.
    void PrepareGame(const std::string& start, DWORD fullScreen = 0, bool withCursor = true);
    // Adds the events of tests/fixtures/replay/NAME.timeline.
    void LoadTimeline(const std::string& name);

    std::string Log() const;
    std::vector<std::string> LogLines() const;
    // The log lines holding any of `words`, compared without regard to case.
    std::vector<std::string> LogLinesWith(const std::vector<std::string>& words) const;
    // What `qvn-replay` prints for the run: the report lines, "ended tick N" and "result R".
    std::string Transcript(int result) const;
    const TempProgramDir& dir() const { return dir_; }
};

}  // namespace qvn::test
