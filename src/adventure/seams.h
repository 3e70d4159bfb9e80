#pragma once
// Entry points of the adventure game whose full behaviour arrives with later work on save
// slots. Each already has the name and signature its callers use, and the behaviour described
// beside it.

#include "platform/winbase/win_types.h"

// Restores system variables 0..8 from save slot 20; false when the slot cannot be read.
bool RestoreSystemVariables();
