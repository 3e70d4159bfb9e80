#pragma once
// Entry points of the UI window layer that the shell and the adventure call. Until that layer
// exists there are no windows: each call does nothing and answers as an empty layer would.

#include "platform/winbase/win_types.h"

struct LOGFONTA;

// Sees every message of the game window first; never consumes one (0).
LRESULT MenuWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void UpdateMenuInput(double seconds);
void DrawMenuWindows();
void DestroyAllMenuWindows();
// Loads the five images of window frames from the image file at `path`.
void LoadFrameTextures(const char* path);
void SetUiFont(const LOGFONTA* font);
