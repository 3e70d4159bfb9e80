#pragma once
// Save slots: the save point that stores the game state for the save menu.

#include "adventure/script_arguments.h"

// Built-in function 24 (0 s scene text, 1 s label): the game state stored in save slot 20 under
// a title made from the month, week and day type (or the text after a leading "*"). True.
bool BuiltinSavePoint(const ScriptArguments& arguments);
