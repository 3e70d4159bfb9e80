#pragma once
// The adventure state: the flags, timers and counters that the adventure frame, the message
// window, the scene and the built-in functions share. ResetAdventureFlags puts back the values
// that ResetAdventureState resets.

#include <cstdint>

constexpr int kSpeakerNameLength = 64;

extern int PageWait;
extern int MessageWindowShown;
extern float WindowFadeTime;  // seconds
extern std::uint32_t PendingDelayMs;
extern int SkipActive;
extern int FastForwardMode;
extern int AutoMode;  // kept by ResetAdventureState
extern int SkipDisabled;
extern int BacklogReplay;
extern std::int32_t LineCounter;  // -1: the next text starts a new page
extern double QuakeTime;          // seconds
extern double EffectTimer;        // seconds
extern double TransitionTimeLeft;
extern double TransitionDuration;  // 0: no transition
extern std::int32_t BlockingCount;
extern char SpeakerName[kSpeakerNameLength];  // Shift-JIS; empty: none
extern std::uint32_t BlendMode;               // 1 normal, 2 additive, 3 multiply
extern int CaptureMode;

// Puts the flags, timers and counters above back to their reset values; ResetAdventureState
// calls it after closing the train map and before closing the movies.
void ResetAdventureFlags();
