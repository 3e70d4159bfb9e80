#pragma once
// The train-map screen as the scripts build it: open it over a picture, add stations and the
// figures standing at them, and place its calendar (system sub-commands 100 to 103).

#include "adventure/script_arguments.h"

// Sub-command 100 (1 s picture): the train map opens over "visual\PICTURE" and the script goes
// on after the call once a station was chosen, or in the next frame when the map cannot open.
// False.
bool BuiltinTrainMapOpen(const ScriptArguments& arguments);
// Sub-command 101 (1 l key, 2 s animation, 3 l x, 4 l y): a station. True.
bool BuiltinTrainMapStation(const ScriptArguments& arguments);
// Sub-command 102 (1 l station key, 2 l character, 3 l figure): a figure at a station. True.
bool BuiltinTrainMapFigure(const ScriptArguments& arguments);
// Sub-command 103 (1 l x, 2 l y): the calendar's origin. True.
bool BuiltinTrainMapCalendar(const ScriptArguments& arguments);
