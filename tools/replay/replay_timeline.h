#pragma once
// The events of a replay and their text form, the timeline (README.md beside this file): one
// event a line, "TICK WORD ARGUMENTS", '#' starting a comment.

#include <string>
#include <string_view>
#include <vector>

// Timeline coordinates are those of the game's logical screen.
#include "shell/logical_screen.h"

// The pad the replay attaches has this many buttons; timelines name them 0..15.
constexpr int kReplayPadButtons = 16;
// The stick of the replay's pad (its X and Y axes) is pushed by per cent of a full deflection.
constexpr int kMaxStickPercent = 100;
// Ticks run from 1 to this bound (about nineteen days at sixty ticks a second).
constexpr int kMaxTimelineTick = 100000000;

struct ReplayEvent {
    enum class Kind {
        Key,            // a: virtual key, b: 1 down / 0 up
        MouseMove,      // a, b: position on the logical screen
        Activation,     // a: 1 active / 0 inactive
        Close,          // a: the answer queued for the close question first (0: none)
        Command,        // a: a menu command id posted as WM_COMMAND; b: the answer queued for
                        // its box first (0: none)
        LoseDevice,     // the device is lost
        RestoreDevice,  // the lost device may be reset again
        MouseButton,    // a: 0 left / 1 right, b: 1 down / 0 up, at the pointer's position
        Wheel,          // a: notches, positive away from the user
        PadButton,      // a: button of the replay's pad, b: 1 down / 0 up
        PadStick,       // a, b: the pad's X and Y axes, per cent of a full deflection
        Answer,         // a: the answer queued for the next message box (IDYES, IDNO...)
        Capture,        // name: the frame drawn at this tick is kept under this name
        Vars,           // the global variables are reported
        End,            // the window is closed with the close question answered Yes
        DialogClick,    // a: a control of the open dialog is clicked
        DialogText      // a: a control of the open dialog; name: the text (UTF-8) typed into it,
                        // or the entry, tab or track-bar position of that text chosen
    };
    int tick;
    Kind kind;
    int a = 0;
    int b = 0;
    std::string name;
};

// Parses a timeline into events ordered by tick (events of one tick in the order written).
// A click becomes a move to its point and a press at its tick and a release at the next; a lost
// device may be reset from the next tick on. On the first line it cannot read,
// returns false with *error "timeline:LINE: message" and leaves *events empty.
bool ParseTimeline(std::string_view text, std::vector<ReplayEvent>* events, std::string* error);
