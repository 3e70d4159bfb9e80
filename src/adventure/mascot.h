#pragma once
// The mascot: the small animated figure at the bottom-right corner of the letterbox that shows
// whether the game waits for the player ("awake", then "mowl") or runs on by itself in auto or
// skip mode ("goodnight", then "sleep"); and the page end that sets it waiting.

#include <cstdint>

class ISprite;

// The mascot's container in the sprite folder.
constexpr const char* kMascotContainer = "mowl.kra";

// The mascot instance; null until the adventure frame makes it and after ReleaseMascot.
extern ISprite* Mascot;
// AutoMode at the mascot's last change of animation.
extern std::int32_t MascotLastAuto;

// Makes the mascot from "mowl.kra" at (x, y), depth 1.0, when there is none; it starts
// invisible and without an animation.
void CreateMascot(int x, int y);
void SetMascotVisible(bool visible);
// Makes the mascot invisible (it stays alive).
void HideMascot();
// Deletes the mascot sprite and forgets it.
void ReleaseMascot();
// A visible mascot not already awake ("awake" or "mowl") plays "awake", then "mowl".
void MascotAwake();
// A visible mascot not already asleep ("goodnight" or "sleep") plays "goodnight", then "sleep".
void MascotGoodnight();
// End callbacks of "awake" and "goodnight": "mowl" / "sleep" follows (looping, visible as the
// mascot is) and the end callback is removed. Answer 1.
int MascotToIdle(ISprite* sprite, std::uint32_t value, void* context);
int MascotToSleep(ISprite* sprite, std::uint32_t value, void* context);
// Step callback: after a change of AutoMode the mascot wakes (auto off) or falls asleep (auto
// on) and the step stops (0); otherwise 1.
int MascotStep(ISprite* sprite, std::uint32_t value, void* context);
// The page-end step of built-in functions 2 and 19: PendingDelayMs = 0, PageWait = 1, the
// mascot awake (or asleep while skipping or in auto mode) and visible.
void PageEnd();
