#include "adventure/script_functions.h"

#include <array>

#include "adventure/choice.h"
#include "adventure/face.h"
#include "adventure/message_functions.h"
#include "adventure/movie_functions.h"
#include "adventure/music_functions.h"
#include "adventure/save_slots.h"
#include "adventure/scene.h"
#include "adventure/sound_functions.h"
#include "adventure/stand.h"
#include "adventure/system_functions.h"
#include "adventure/train_map.h"
#include "adventure/voice.h"
#include "foundation/log.h"
#include "title/title_functions.h"

namespace {

constexpr std::array<BuiltinFunction, kBuiltinFunctionCount> kFunctions = {
    BuiltinSystem,             // 0
    BuiltinSpeaker,            // 1
    BuiltinPageEnd,            // 2
    BuiltinBackground,         // 3
    BuiltinStand,              // 4
    BuiltinFace,               // 5
    BuiltinWait,               // 6
    BuiltinStartStands,        // 7
    BuiltinMusic,              // 8
    BuiltinMusicOff,           // 9
    BuiltinSound,              // 10
    BuiltinStopSound,          // 11
    BuiltinFadeSound,          // 12
    BuiltinColourPicture,      // 13
    BuiltinFadeMusic,          // 14
    BuiltinReadSetting,        // 15
    BuiltinWriteSetting,       // 16
    BuiltinRandom,             // 17
    BuiltinVoice,              // 18
    BuiltinPageEnd,            // 19
    BuiltinChoice,             // 20
    BuiltinCancellableChoice,  // 21
    BuiltinChoiceItem,         // 22
    BuiltinBranch,             // 23
    BuiltinSavePoint,          // 24
    BuiltinQuake,              // 25
    BuiltinLetterbox,          // 26
    BuiltinBaseAnimation,      // 27
    BuiltinWaitBaseAnimation,  // 28
    BuiltinMovie,              // 29
    BuiltinCloseMovie,         // 30
    BuiltinStandAtOnce,        // 31
    BuiltinSavePicture,        // 32
    BuiltinRestorePicture,     // 33
    BuiltinSceneRender,        // 34
    BuiltinFormattedMessage,   // 35
    BuiltinBaseColour,         // 36
};

constexpr std::array<BuiltinFunction, kSystemHandlerCount> kSystemHandlers = {
    BuiltinScreenSize,        // 0
    BuiltinLetterboxSize,     // 1
    BuiltinCaptureScreen,     // 2: sub-command 3
    BuiltinResetVariables,    // 3: 4
    BuiltinPackTest,          // 4: 5
    BuiltinMarkSeenScript,    // 5: 7
    BuiltinSystemOption,      // 6: 8
    BuiltinTitleCommand,      // 7: 9
    BuiltinRestart,           // 8: 53
    BuiltinPopup,             // 9: 54
    BuiltinTrainMapOpen,      // 10: 100
    BuiltinTrainMapStation,   // 11: 101
    BuiltinTrainMapFigure,    // 12: 102
    BuiltinTrainMapCalendar,  // 13: 103
    BuiltinNothing,           // 14: every other sub-command
};
constexpr std::uint8_t kNothingHandler = kSystemHandlerCount - 1;

constexpr std::array<std::uint8_t, kSystemCommandTableSize> MakeSystemCommandTable() {
    std::array<std::uint8_t, kSystemCommandTableSize> table{};
    table.fill(kNothingHandler);
    table[0] = 0;
    table[1] = 1;
    table[3] = 2;
    table[4] = 3;
    table[5] = 4;
    table[7] = 5;
    table[8] = 6;
    table[9] = 7;
    table[53] = 8;
    table[54] = 9;
    table[100] = 10;
    table[101] = 11;
    table[102] = 12;
    table[103] = 13;
    return table;
}

constexpr std::array<std::uint8_t, kSystemCommandTableSize> kSystemCommandTable =
    MakeSystemCommandTable();

}  // namespace

BuiltinFunction GetBuiltinFunction(std::uint32_t number) {
    return number < kFunctions.size() ? kFunctions[number] : nullptr;
}

BuiltinFunction GetSystemCommand(std::uint32_t command) {
    return command < kSystemCommandTable.size() ? kSystemHandlers[kSystemCommandTable[command]]
                                                : BuiltinNothing;
}

bool ScriptFunctionDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments,
                              float) {
    SetLogEnabled(1);
    const BuiltinFunction function = GetBuiltinFunction(number);
    if (function == nullptr) {
        LogPrintf("function: error. no(%d)", static_cast<int>(number));
        return false;
    }
    return function(ScriptArguments(arguments));
}

bool BuiltinSystem(const ScriptArguments& arguments) {
    if (!arguments.Has(0)) {
        LogPrintf("function: error. sub-command missing");
        return true;
    }
    return GetSystemCommand(arguments.UShort(0, 0))(arguments);
}

bool BuiltinNothing(const ScriptArguments&) {
    return true;
}
