#pragma once
// The save point: built-in function 24, which stores the game state in save slot 20 under a
// title made from the month, week and day type.

#include <cstdint>
#include <string>

#include "adventure/script_arguments.h"

// "平日", "土曜" or "日曜" for day types 0, 1 and 2; empty for any other.
const char* DayTypeName(std::int32_t dayType);
// The text after a leading "*", else "%d月 %d週 %s %s" of variables 12 and 13, the day name of
// variable 14 and the scene text (PushGameData cuts it to the title field on a character
// boundary).
std::string SavePointTitle(const char* sceneText);

// Built-in function 24 (0 s scene text, 1 s label (none)): the game state stored in save slot
// 20 under SavePointTitle; a loaded game resumes at the label, or without one at the label that
// precedes the call. True.
bool BuiltinSavePoint(const ScriptArguments& arguments);
