#pragma once
// The scene's share of the adventure state (quake, letterbox-bar effect, transitions, blending
// and capture), and ResetAdventureFlags, which puts back every flag, timer and counter of the
// adventure that ResetAdventureState resets: these, the adventure frame's (adventure_frame.h),
// the message window's (message_window.h) and the backlog's (message_backlog.h).

#include <cstdint>

extern double QuakeTime;    // seconds
extern double EffectTimer;  // seconds
extern double TransitionTimeLeft;
extern double TransitionDuration;  // 0: no transition
extern std::uint32_t BlendMode;    // 1 normal, 2 additive, 3 multiply
extern int CaptureMode;

// Puts the flags, timers and counters above back to their reset values; ResetAdventureState
// calls it after closing the train map and before closing the movies.
void ResetAdventureFlags();
