#pragma once
// The game's resources as data: menu 102 (the menu bar with the game's commands) and accelerator
// table 104 (their keys). The program registers them once at start, before the game window is
// made; registering again is harmless.

#include "platform/winbase/win_types.h"

constexpr WORD kGameMenuResource = 102;
constexpr WORD kGameAcceleratorResource = 104;

void RegisterGameResources();

// Builds a new menu 102 (what LoadMenuA(instance, MAKEINTRESOURCEA(102)) answers).
HMENU BuildGameMenu();
// Registers accelerator table 104.
void RegisterGameAccelerators();
