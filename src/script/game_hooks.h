#pragma once
// The seams through which the VM calls up into the game. The game installs its functions at
// start-up; the VM never links to the game. Until then harmless defaults answer.

#include <cstdint>
#include <vector>

#include "script/script_value.h"

struct ScriptGameHooks {
    // Text of a message instruction (Shift-JIS, pointing into the script's code). Its result
    // becomes RunCode's: true lets the script go on in this frame.
    bool (*ShowMessage)(const char* text);
    // A built-in call: the function number, the arguments in push order, the frame time in
    // seconds. May set ScriptWaitFlag; true lets the script go on in this frame.
    bool (*ScriptFunctionDispatcher)(std::uint32_t number,
                                     const std::vector<ScriptValue*>& arguments, float dt);
    // After every successful script load; `label` may be null.
    bool (*PushGameMode)(const char* path, const char* label);
    // When a frame ends: `returning` is 1 for a return instruction, 0 for a file jump or the end
    // of the code. True (only when returning) lets the caller frame go on in this frame.
    bool (*PopGameMode)(const char* name, int returning);
    // After every successful label lookup.
    bool (*OnLabelFound)(const char* name, std::uint32_t position);
};

// The defaults: messages and calls go on, a push answers true, a pop false.
ScriptGameHooks DefaultScriptGameHooks();

// Replaces the whole table; a null member falls back to its default.
void InstallScriptGameHooks(const ScriptGameHooks& hooks);
const ScriptGameHooks& GetScriptGameHooks();

// Set by a built-in function that must be called again, with the same arguments, next frame.
extern int ScriptWaitFlag;
