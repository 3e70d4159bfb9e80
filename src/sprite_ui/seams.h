#pragma once
// Entry points of the sprite and UI window layers that the shell and the adventure call. Until
// those layers exist there are no sprites and no windows: each call does nothing and answers as
// an empty layer would.

#include "platform/winbase/win_types.h"

struct LOGFONTA;

namespace ISprite {
// Steps every sprite by `milliseconds` (0: only the drawn marks are cleared).
void StepAll(unsigned milliseconds);
// Draws every visible sprite not yet drawn this frame.
void DrawAll(int flags);
}  // namespace ISprite

// Sees every message of the game window first; never consumes one (0).
LRESULT MenuWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void UpdateMenuInput(double seconds);
void DrawMenuWindows();
void DestroyAllMenuWindows();
// The number of UI windows whose flags have none of the bits of `mask`.
int CountMenuWindows(int mask);
// Loads the five images of window frames from the image file at `path`.
void LoadFrameTextures(const char* path);
void SetUiFont(const LOGFONTA* font);
