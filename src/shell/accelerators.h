#pragma once
// Accelerator table 104 of the running program: the keys of the game's commands, translated
// into WM_COMMAND for each message's own window before the message is dispatched.

#include "platform/win32/message_api.h"

// Loads table 104 from the program's resources (start-up, after the first script started).
void LoadGameAccelerators();
void ReleaseGameAccelerators();
HACCEL GameAccelerators();

// True when `message` was an accelerator key: the command went to the message's window and the
// message must not be dispatched. False while no table is loaded.
bool TranslateGameAccelerator(MSG& message);
