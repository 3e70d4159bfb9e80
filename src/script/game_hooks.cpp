#include "script/game_hooks.h"

namespace {

bool DefaultShowMessage(const char*) {
    return true;
}
bool DefaultDispatcher(std::uint32_t, const std::vector<ScriptValue*>&, float) {
    return true;
}
bool DefaultPushGameMode(const char*, const char*) {
    return true;
}
bool DefaultPopGameMode(const char*, int) {
    return false;
}
bool DefaultOnLabelFound(const char*, std::uint32_t) {
    return true;
}

ScriptGameHooks& InstalledHooks() {
    static ScriptGameHooks hooks = DefaultScriptGameHooks();
    return hooks;
}

}  // namespace

int ScriptWaitFlag = 0;

ScriptGameHooks DefaultScriptGameHooks() {
    return ScriptGameHooks{DefaultShowMessage, DefaultDispatcher, DefaultPushGameMode,
                           DefaultPopGameMode, DefaultOnLabelFound};
}

void InstallScriptGameHooks(const ScriptGameHooks& hooks) {
    const ScriptGameHooks defaults = DefaultScriptGameHooks();
    ScriptGameHooks& installed = InstalledHooks();
    installed.ShowMessage = hooks.ShowMessage != nullptr ? hooks.ShowMessage : defaults.ShowMessage;
    installed.ScriptFunctionDispatcher = hooks.ScriptFunctionDispatcher != nullptr
                                             ? hooks.ScriptFunctionDispatcher
                                             : defaults.ScriptFunctionDispatcher;
    installed.PushGameMode =
        hooks.PushGameMode != nullptr ? hooks.PushGameMode : defaults.PushGameMode;
    installed.PopGameMode = hooks.PopGameMode != nullptr ? hooks.PopGameMode : defaults.PopGameMode;
    installed.OnLabelFound =
        hooks.OnLabelFound != nullptr ? hooks.OnLabelFound : defaults.OnLabelFound;
}

const ScriptGameHooks& GetScriptGameHooks() {
    return InstalledHooks();
}
