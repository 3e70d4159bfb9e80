#include "shell/accelerators.h"

#include "foundation/log.h"
#include "platform/win32/accelerator_api.h"
#include "resources/game_resources.h"

namespace {

HACCEL gameAccelerators = nullptr;

}  // namespace

void LoadGameAccelerators() {
    ReleaseGameAccelerators();
    gameAccelerators = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(kGameAcceleratorResource));
    if (gameAccelerators == nullptr) {
        LogPrintf("accelerators: table %u not found; command keys do nothing",
                  static_cast<unsigned>(kGameAcceleratorResource));
    }
}

void ReleaseGameAccelerators() {
    if (gameAccelerators != nullptr) {
        DestroyAcceleratorTable(gameAccelerators);
        gameAccelerators = nullptr;
    }
}

HACCEL GameAccelerators() {
    return gameAccelerators;
}

bool TranslateGameAccelerator(MSG& message) {
    if (gameAccelerators == nullptr || message.hwnd == nullptr) {
        return false;
    }
    return TranslateAcceleratorA(message.hwnd, gameAccelerators, &message) != 0;
}
