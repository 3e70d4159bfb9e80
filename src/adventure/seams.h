#pragma once
// Entry points of the adventure game whose full behaviour arrives with later work on the
// adventure frame, the message window, the scene, the backlog, voices, histories, save slots,
// the train map and the variable editor. Each already has the name and signature its callers
// use, and the behaviour described beside it.

#include <cstdint>
#include <vector>

#include "platform/winbase/win_types.h"
#include "script/script_value.h"

// The adventure mode's frame routine: runs the script VM while a script frame exists.
void AdventureFrame(float seconds);
// The adventure mode's window-message hook; 1: not consumed.
LRESULT AdventureOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Script VM hooks: a message text (true: go on), a built-in call (logs "function: error.
// no(%d)" and answers false), a label found (nothing).
bool ShowMessage(const char* text);
bool ScriptFunctionDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments,
                              float seconds);
bool OnLabelFound(const char* name, std::uint32_t position);

// Updates the message layers with an elapsed time of 0.
void RefreshMessageLayers();

void ClearBacklog();
void CloseTrainMap();
LRESULT TrainMapOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void TrainMapDraw(float seconds);
void LoadVoiceSettings();
void ReleaseVoice();
// Deletes every sound effect that scripts started.
void DeleteScriptSounds();
void ClearUnreadPageFlag();
// Restores system variables 0..8 from save slot 20; false when the slot cannot be read.
bool RestoreSystemVariables();
// The variable editor's window, or null while it is closed.
HWND VariableEditorWindow();
