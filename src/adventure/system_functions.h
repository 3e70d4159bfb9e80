#pragma once
// The built-in functions that reach the settings store, random numbers and the script's own
// flow (15, 16, 17, 23), and the system sub-commands of function 0 built on the adventure:
// screen and letterbox sizes (0, 1), the globals' reset (4), the pack test (5), the system
// options (8) and the restart of the game (53).

#include <cstdint>

#include "adventure/script_arguments.h"

// The script variable that receives general results.
constexpr std::uint32_t kResultVariable = 9;
// The script variable that receives second results.
constexpr std::uint32_t kSecondResultVariable = 10;

// 15 (0 s value name): variable 9 := the value of section "Main" of the settings store, 0 when
// missing. True.
bool BuiltinReadSetting(const ScriptArguments& arguments);
// 16 (0 s value name, 1 l value): the value written to section "Main". True.
bool BuiltinWriteSetting(const ScriptArguments& arguments);
// 17 (0 w range, 1 l variable (9)): that variable := a random number 0..range-1 (0 for range
// 0), written through SetVar and its cap. True.
bool BuiltinRandom(const ScriptArguments& arguments);
// 23 (0 l index, 1.. s labels): the running frame jumps to label index + 1 of its own file; an
// empty label goes on; an index without a label logs "Branch(%d): error no. (%d)" with argc - 1
// and the index. True.
bool BuiltinBranch(const ScriptArguments& arguments);

// Sub-command 0 (1 p variable (9), 2 p variable (10)): ScreenWidth and ScreenHeight into the
// two variables. False.
bool BuiltinScreenSize(const ScriptArguments& arguments);
// Sub-command 1 (1 p variable (9), 2 p variable (10)): the letterbox's width and height into
// the two variables. False.
bool BuiltinLetterboxSize(const ScriptArguments& arguments);
// Sub-command 4: the globals back to their initial values, the system variables restored. True.
bool BuiltinResetVariables(const ScriptArguments& arguments);
// Sub-command 5: variable 9 := 1 when the pack archive game04.dat exists with more than 4
// bytes, else 0. True.
bool BuiltinPackTest(const ScriptArguments& arguments);
// Sub-command 8 (1 l option, 2 l value): 0 the load menu, 1 the save menu, 2 the return to the
// title enabled; 3 auto mode; 4 skipping disabled; 5 the backlog replay; others nothing. True
// (option 5 as the backlog answers).
bool BuiltinSystemOption(const ScriptArguments& arguments);
// Sub-command 53: the adventure reset, then the script "start" at "restart", which runs from the
// next frame. False.
bool BuiltinRestart(const ScriptArguments& arguments);
