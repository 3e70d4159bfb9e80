#include "sprite_ui/seams.h"

namespace ISprite {
void StepAll(unsigned) {}
void DrawAll(int) {}
}  // namespace ISprite

LRESULT MenuWindowHook(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void UpdateMenuInput(double) {}
void DrawMenuWindows() {}
void DestroyAllMenuWindows() {}

int CountMenuWindows(int) {
    return 0;
}
void LoadFrameTextures(const char*) {}
void SetUiFont(const LOGFONTA*) {}
