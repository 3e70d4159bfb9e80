#pragma once
// The user's input settings as the Windows system reports them: the keyboard repeat delay and
// speed, and whether the mouse buttons are swapped. This system has no such settings of its own,
// so the Windows defaults are reported.

#include "platform/winbase/win_types.h"

constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;  // DWORD 0 (slowest, about 2.5 per second)..31
constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;  // int 0 (about 250 ms)..3 (about 1 s)
constexpr int SM_SWAPBUTTON = 23;

// Answers the two queries above into *value (TRUE); any other action, or a null value, FALSE.
BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID value, UINT winIni);
// SM_SWAPBUTTON: non-zero when the buttons are swapped; SM_CXSCREEN and SM_CYSCREEN: the screen
// size from the window layer; any other index 0.
int GetSystemMetrics(int index);
