#pragma once
// The UI window layer on an 800 x 600 windowed device with no display, the demo's frame and
// balloon images in a fresh program directory, and keyboard, mouse and one pad driven by hand.
// Frame() runs what the frame step runs for the layer: poll, input update, draw.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/dinput/test_input_backend.h"
#include "sprite_ui/menu_window.h"
#include "support/temp_program_dir.h"

namespace ui_tests {

// Records every event a window receives as "window:event(argument)" and claims the events
// named in `claim`. Event 11's argument is written as the item index.
struct EventLog {
    std::string name;
    std::vector<std::string>* lines = nullptr;
    std::vector<int> claim;
    // Deletes the window on decide and cancel, as choice windows do.
    bool closeOnDecide = false;
    // Events 10 to 12 come every frame; they are recorded only when asked for.
    bool recordDraw = false;
};

int RecordEvent(MenuWindow* window, int event, std::intptr_t argument, void* context);

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window of `count` items "項目 N" with line height 24, recording its events under `name`.
    MenuWindow* MakeWindow(const char* name, int x, int y, int width, int height, int count,
                           DWORD flags = 0);
    // The event log of a window made by MakeWindow.
    static EventLog& LogOf(MenuWindow* window) { return *static_cast<EventLog*>(window->context); }
    // One frame: poll the devices, UpdateMenuInput(seconds), clear the target, draw the windows.
    void Frame(double seconds = 1.0 / 60.0);
    // The pointer at client (x, y), reported as a mouse move to the hook.
    void MovePointer(int x, int y);
    // Takes the events recorded so far.
    std::vector<std::string> TakeEvents();

    dinput_test::TestInputBackend& input() { return *input_; }
    PadId pad() const { return pad_; }
    std::vector<std::uint32_t> ReadTarget();
    void ExpectGolden(const std::string& name);
    std::string Log() const;

    std::unique_ptr<qvn::test::TempProgramDir> dir_;
    std::vector<std::string> events_;

private:
    std::deque<EventLog> logs_;  // outlive the windows, which TearDown closes
    dinput_test::TestInputBackend* input_ = nullptr;
    PadId pad_ = 0;
};

// "項目 N" in Shift-JIS.
std::string ItemText(int n);
// UTF-8 to Shift-JIS.
std::string Sjis(const char* utf8);

}  // namespace ui_tests
