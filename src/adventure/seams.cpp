#include "adventure/seams.h"

#include "foundation/log.h"
#include "script/call_stack.h"
#include "script/interpreter.h"

void AdventureFrame(float seconds) {
    if (!IsScriptStackEmpty()) {
        RunScripts(seconds);
    }
}

LRESULT AdventureOnMessage(HWND, UINT, WPARAM, LPARAM) {
    return 1;
}

bool ShowMessage(const char*) {
    return true;
}

bool ScriptFunctionDispatcher(std::uint32_t number, const std::vector<ScriptValue*>&, float) {
    LogPrintf("function: error. no(%d)", static_cast<int>(number));
    return false;
}

bool OnLabelFound(const char*, std::uint32_t) {
    return true;
}

void RefreshMessageLayers() {}
void ClearBacklog() {}
void CloseTrainMap() {}

LRESULT TrainMapOnMessage(HWND, UINT, WPARAM, LPARAM) {
    return 1;
}

void TrainMapDraw(float) {}
void LoadVoiceSettings() {}
void ReleaseVoice() {}
void DeleteScriptSounds() {}
void ClearUnreadPageFlag() {}

bool RestoreSystemVariables() {
    return false;
}

HWND VariableEditorWindow() {
    return nullptr;
}
