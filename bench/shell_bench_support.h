#pragma once
// Shared by the shell's benchmarks: a program directory with a start script that waits one frame
// after another, and the game brought up to its main loop in this process.

#include <string>

namespace shell_bench {

// The program directory, emptied, with the demo's cursor, a start script (by default one that
// waits one frame after another; `startScript`, script text, in its place) and a windowed
// 800 x 600 display in the settings store.
std::string MakeProgramDirectory(const char* startScript = nullptr);

// Work timed in a new process of this program. Made at namespace scope, so that the new
// process knows it by its name before its main runs.
class FreshChild {
public:
    // `run` answers the seconds it measured; negative when it measured none.
    FreshChild(const char* name, double (*run)());
    const char* name() const { return name_; }

private:
    const char* name_;
};

// Runs `child` in a new process of this program's executable (started afresh, so that nothing
// this process did before, whichever benchmarks ran, is in it) in the program directory of
// MakeProgramDirectory, and returns the seconds it answered; negative when it answered none.
double SecondsInFreshProcess(const FreshChild& child);

// The game window with its device and menu bar, the cursor and the FPS line, the start script
// (MakeProgramDirectory's) running, on the manual clock; taken down again at the end.
class RunningGame {
public:
    explicit RunningGame(const char* startScript = nullptr);
    ~RunningGame();
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;

    bool ok() const { return ok_; }
    // Advances the clock by one sixtieth of a second and runs one frame.
    static void Frame();

private:
    bool ok_ = false;
};

}  // namespace shell_bench
