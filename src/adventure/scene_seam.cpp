// These stand in until the scene planes exist: there is no BASE and no FADE, so a scene drawn
// to the screen is the cleared letterbox and releasing the scene releases the message window.
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "adventure/scene.h"
#include "media/graphics/d3d_functions.h"

D3DPlane* FadePlane = nullptr;

std::uint32_t FadeRemainingMs() {
    return 0;
}

void RenderAdventureScene(int toScreen) {
    IDirect3DDevice9* device = CurrentDevice();
    if (toScreen == 0 || device == nullptr) {
        return;
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 0.0f, 0);
    const D3DRECT letterbox{LetterboxRect.left, LetterboxRect.top, LetterboxRect.right,
                            LetterboxRect.bottom};
    device->Clear(1, &letterbox, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

void ReleaseScene() {
    ReleaseMessageWindow();
}
