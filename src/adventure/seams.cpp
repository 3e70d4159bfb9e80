#include "adventure/seams.h"

#include "foundation/log.h"

bool ScriptFunctionDispatcher(std::uint32_t number, const std::vector<ScriptValue*>&, float) {
    LogPrintf("function: error. no(%d)", static_cast<int>(number));
    return false;
}

void CloseTrainMap() {}

LRESULT TrainMapOnMessage(HWND, UINT, WPARAM, LPARAM) {
    return 1;
}

void TrainMapDraw(float) {}
void DeleteScriptSounds() {}

bool RestoreSystemVariables() {
    return false;
}
