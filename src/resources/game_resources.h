#pragma once
// The game's resources as data: menu 102 (the menu bar with the game's commands), accelerator
// table 104 (their keys), the dialog templates, icon 197 and the colour-scale bitmaps 117..119.
// The program registers them once at start, before anything is shown; registering again is
// harmless.

#include "platform/winbase/win_types.h"

constexpr WORD kGameMenuResource = 102;
constexpr WORD kGameAcceleratorResource = 104;
constexpr WORD kGameIconResource = 197;
// The colour scales of the message page: hue; saturation; value and alpha.
constexpr WORD kHueScaleBitmap = 117;
constexpr WORD kSaturationScaleBitmap = 118;
constexpr WORD kValueScaleBitmap = 119;

void RegisterGameResources();

// Builds a new menu 102 (what LoadMenuA(instance, MAKEINTRESOURCEA(102)) answers).
HMENU BuildGameMenu();
// Registers accelerator table 104.
void RegisterGameAccelerators();
// Registers the dialog templates (105, 109, 114, 144, 153, 163 and the pages of 163).
void RegisterDialogTemplates();
// Registers icon 197.
void RegisterGameIcon();
// Registers bitmaps 117, 118 and 119.
void RegisterColourScales();
