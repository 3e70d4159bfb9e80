#pragma once
// The mascot: the small animated figure at the bottom-right corner of the letterbox that shows
// whether the game waits for the player ("awake") or runs on by itself ("goodnight"); and the
// page end that sets it waiting.

// Makes the mascot from "mowl.kra" at (x, y), depth 1.0, when there is none.
void CreateMascot(int x, int y);
void SetMascotVisible(bool visible);
// Makes the mascot invisible (it stays alive).
void HideMascot();
// Deletes the mascot sprite and forgets it.
void ReleaseMascot();
void MascotAwake();
void MascotGoodnight();
// The page-end step of built-in functions 2 and 19: PendingDelayMs = 0, PageWait = 1, the
// mascot awake (or asleep while skipping or in auto mode) and visible.
void PageEnd();
