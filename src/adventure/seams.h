#pragma once
// Entry points of the adventure game whose full behaviour arrives with later work on the
// built-in functions, the scene's capture, save slots and the train map. Each already has the
// name and signature its callers use, and the behaviour described beside it.

#include <cstdint>
#include <vector>

#include "platform/winbase/win_types.h"
#include "script/script_value.h"

// The script VM's built-in call hook: logs "function: error. no(%d)" and answers false.
bool ScriptFunctionDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments,
                              float seconds);

void CloseTrainMap();
LRESULT TrainMapOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void TrainMapDraw(float seconds);
// Deletes every sound effect that scripts started.
void DeleteScriptSounds();
// Restores system variables 0..8 from save slot 20; false when the slot cannot be read.
bool RestoreSystemVariables();
