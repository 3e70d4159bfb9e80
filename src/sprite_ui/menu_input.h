#pragma once
// Input of the UI window layer: once per frame the keyboard, the pad and the mouse become one
// key code (a DIK code) for the focused window, with key repeat, scrolling, the thumb drag and
// the delayed help balloon. Pointer movement between frames is MenuWindow::TrackPointer.

#include "platform/winbase/win_types.h"

// Scroll-bar zones.
constexpr DWORD kZoneNone = 0;
constexpr DWORD kZoneUpButton = 1;
constexpr DWORD kZoneDownButton = 2;
constexpr DWORD kZoneThumb = 3;

// Used when the system reports a repeat interval of 0 or less (seconds): the fastest setting.
constexpr double kDefaultKeyRepeatInterval = 0.0125;

// The seven keys tested, in order: up, down, page up, page down, return, keypad enter, escape.
extern const DWORD MenuKeyTable[7];

// Process-wide state, kept across windows.
extern DWORD MenuKey;           // key of this frame (0 none)
extern DWORD MenuPreviousKey;   // key of the previous frame
extern double MenuRepeatTimer;  // seconds
// Set by every window creation and cleared by the first frame without a key or pad button
// held, so that the key that opened a window cannot act in it.
extern DWORD MenuKeyLock;
extern DWORD MenuPressedZone;
extern int MenuDragOffset;  // cursor y - thumb top at the press

void UpdateMenuInput(double seconds);
// Every value above back to 0.
void ResetMenuInput();
