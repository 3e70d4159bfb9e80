#include "sprite_ui/seams.h"

LRESULT MenuWindowHook(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void UpdateMenuInput(double) {}
void DrawMenuWindows() {}
void DestroyAllMenuWindows() {}
void LoadFrameTextures(const char*) {}
void SetUiFont(const LOGFONTA*) {}
