#pragma once
// An adventure on an 800 x 600 device without a display: the letterbox and message geometry
// of that screen, the demo's mascot (which the frame makes), scripts assembled into the program
// directory and run by the frame with the game's own built-in functions, and input set frame by
// frame as the devices would report it.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "media/graphics/graphics_fixture.h"
#include "media/input/di_application.h"

namespace adventure_tests {

// What the devices report in one poll; everything not named is up or centred.
struct Input {
    std::vector<int> keys;   // DirectInput key codes held
    std::vector<int> mouse;  // mouse buttons held
    std::vector<int> pad;    // pad buttons held
    LONG wheel = 0;          // wheel movement of this poll
    LONG padY = 0;           // pad Y axis
    LONG padX = 0;           // pad X axis
};

// One call or a few of a step script, checked once the script has passed them.
struct ScriptStep {
    const char* name;
    std::string code;
    int heldFrames;  // frames the script waits on the calls: 0 when it goes on at once
    std::function<void()> check;
};

// Each step runs between "set g20 0" and "set g20 1", then the script yields (asking for the
// screen size into a local): a step whose calls go on finishes in the frame it starts in.
std::string StepScript(const std::vector<ScriptStep>& steps);

class AdventureTest : public graphics_tests::GraphicsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh game: torn down and set up again (for the cases of a table).
    void Restart() {
        TearDown();
        SetUp();
    }

    // Writes sprite\NAME.kra from `source` (qvn-kra's text form).
    void WriteContainer(const std::string& name, const std::string& source);
    // Copies a file of the demo's sources (relative to demo/) to the same place, or to `to`.
    void CopyDemoFile(const std::string& relative, const std::string& to = "");
    // Assembles `source` into script\NAME.scr; the global script gives 21 globals of 0.
    void WriteScript(const std::string& name, const std::string& source);
    // Loads script\NAME at `label` as the running frame (the adventure mode).
    void StartScript(const std::string& name, const char* label = "top");

    // One poll: the previous state becomes the current one's predecessor.
    void Poll(const Input& input);
    // One frame of `dt` seconds as the frame step runs it: planes updated, then the adventure
    // frame between the device's begin and end of scene.
    void Frame(const Input& input = {}, double dt = 1.0 / 60.0);
    // Starts the steps' script as "start" and runs it frame by frame (1/16 s each), checking
    // each step as it finishes.
    void RunSteps(const std::vector<ScriptStep>& steps);

    // The back buffer's rows from `top` down, as A8R8G8B8.
    void ExpectRowsGolden(const std::string& name, int top);

    // Script variable `index` as a signed value.
    static std::int32_t Var(std::uint32_t index);

    std::unique_ptr<DIApplication> input_;
};

// Shift-JIS text from UTF-8.
std::string Sjis(const char* utf8);
// A file of the demo's sources (relative to demo/).
std::string ReadDemoFile(const std::string& relative);

}  // namespace adventure_tests
