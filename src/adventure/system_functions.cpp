#include "adventure/system_functions.h"

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/message_backlog.h"
#include "foundation/app_settings.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "foundation/random.h"
#include "foundation/registry_settings.h"
#include "script/call_stack.h"
#include "script/script_variables.h"
#include "shell/game_window.h"

namespace {

// The settings store's section of the scripts' values.
constexpr const char* kScriptSettingsSection = "Main";
// The pack archive whose presence sub-command 5 reports.
constexpr int kTestedPackNumber = 4;
constexpr std::uint32_t kSmallestTestedPack = 4;

void WriteVariable(std::uint32_t index, std::uint32_t value) {
    SetVar(index, &value);
}

int Flag(std::int32_t value) {
    return value != 0 ? 1 : 0;
}

}  // namespace

bool BuiltinReadSetting(const ScriptArguments& arguments) {
    WriteVariable(kResultVariable, ReadRegistryDword(kScriptSettingsSection, arguments.String(0)));
    return true;
}

bool BuiltinWriteSetting(const ScriptArguments& arguments) {
    WriteRegistryDword(kScriptSettingsSection, arguments.String(0),
                       static_cast<DWORD>(arguments.Long(1, 0)));
    return true;
}

bool BuiltinRandom(const ScriptArguments& arguments) {
    const std::int32_t value = RandomInt(arguments.UShort(0, 0));
    WriteVariable(static_cast<std::uint32_t>(arguments.Long(1, kResultVariable)),
                  static_cast<std::uint32_t>(value));
    return true;
}

bool BuiltinBranch(const ScriptArguments& arguments) {
    const std::int32_t index = arguments.Long(0, 0);
    const std::int64_t k = static_cast<std::int64_t>(index) + 1;
    if (k > 0 && static_cast<std::int64_t>(arguments.Count()) > k) {
        const char* label = arguments.String(static_cast<std::size_t>(k));
        if (label[0] != '\0' && JumpToLabel(label) == kNoPosition) {
            LogPrintf("Branch(%d): error label. (%s)", index, label);
        }
        return true;
    }
    LogPrintf("Branch(%d): error no. (%d)", static_cast<int>(arguments.Count()) - 1, index);
    return true;
}

bool BuiltinScreenSize(const ScriptArguments& arguments) {
    WriteVariable(arguments.Payload(1, kResultVariable), ScreenWidth);
    WriteVariable(arguments.Payload(2, kSecondResultVariable), ScreenHeight);
    return false;
}

bool BuiltinLetterboxSize(const ScriptArguments& arguments) {
    WriteVariable(arguments.Payload(1, kResultVariable),
                  static_cast<std::uint32_t>(LetterboxRect.right - LetterboxRect.left));
    WriteVariable(arguments.Payload(2, kSecondResultVariable),
                  static_cast<std::uint32_t>(LetterboxRect.bottom - LetterboxRect.top));
    return false;
}

bool BuiltinResetVariables(const ScriptArguments&) {
    // The script's argument (1 by default) is not read: the system variables always return.
    ResetScriptVariables(1);
    return true;
}

bool BuiltinPackTest(const ScriptArguments&) {
    DWORD info[3] = {};
    GetFileInfo(GetPath(PathKind::Pack, kTestedPackNumber), info);
    WriteVariable(kResultVariable, info[0] != 0 && info[2] > kSmallestTestedPack ? 1u : 0u);
    return true;
}

bool BuiltinSystemOption(const ScriptArguments& arguments) {
    const std::int32_t value = arguments.Long(2, 0);
    switch (arguments.Long(1, 0)) {
        case 0:
            LoadMenuEnabled = Flag(value);
            break;
        case 1:
            SaveMenuEnabled = Flag(value);
            break;
        case 2:
            TitleReturnEnabled = Flag(value);
            break;
        case 3:
            AutoMode = Flag(value);
            break;
        case 4:
            SkipDisabled = Flag(value);
            break;
        case 5:
            return MessageBacklog::SetReplay(value);
        default:
            break;
    }
    return true;
}

bool BuiltinRestart(const ScriptArguments&) {
    // The reset releases every frame and the call's own arguments; the interpreter notices the
    // reset and touches neither afterwards, so the new frame runs from the next frame on.
    ResetAdventureState();
    StartScript(GetPath(PathKind::Script, "start"), "restart", 0);
    return false;
}
