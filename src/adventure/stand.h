#pragma once
// Standing characters: sprites in front of the background, drawn by the scene in the order
// they were added.

#include "adventure/script_arguments.h"

// Whether any standing character is shown (the choice window places itself by it).
bool AnyStandShown();
// Deletes every standing character.
void ClearStands();
// Draws every standing character in list order with the current states.
void DrawStands();

// Built-in function 4 (0 s name, 1 u slot (0)): a standing character added at the slot after a
// snapshot of the scene, then cross-faded in; false when the cross-fade starts.
bool BuiltinStand(const ScriptArguments& arguments);
// Built-in function 7 (0 w tenths): every standing character starts "stand" and the scene
// cross-fades over tenths x 100 ms with the window hidden. False.
bool BuiltinStartStands(const ScriptArguments& arguments);
// Built-in function 31: as 4 without the snapshot and the cross-fade. True.
bool BuiltinStandAtOnce(const ScriptArguments& arguments);
