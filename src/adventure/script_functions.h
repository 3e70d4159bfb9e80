#pragma once
// The built-in script functions as the script VM reaches them. ScriptFunctionDispatcher picks
// function 0..36 by its number; function 0 picks one of its system sub-commands by its first
// argument through a table of 104 entries (0..103) naming 15 handlers, the last of which does
// nothing. Each function's own header states its arguments, defaults and result.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "adventure/script_arguments.h"
#include "script/script_value.h"

// Functions 0..36.
constexpr std::uint32_t kBuiltinFunctionCount = 37;
// Sub-commands 0..103 have a table entry; every higher one does nothing.
constexpr std::size_t kSystemCommandTableSize = 104;
constexpr std::size_t kSystemHandlerCount = 15;

// The script VM's built-in call hook: the log is switched on, then function `number` runs with
// the arguments in push order; a number above 36 logs "function: error. no(%d)" and answers
// false. The frame time is not read. True lets the script go on in this frame.
bool ScriptFunctionDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments,
                              float seconds);

// Function `number`, or null above 36.
BuiltinFunction GetBuiltinFunction(std::uint32_t number);
// The handler of system sub-command `command` (BuiltinNothing above 103).
BuiltinFunction GetSystemCommand(std::uint32_t command);

// Function 0 (0 w sub-command, further by sub-command): the sub-command's handler answers.
// Without a sub-command it logs "function: error. sub-command missing" and goes on.
bool BuiltinSystem(const ScriptArguments& arguments);
// A sub-command without a handler (2, 6, 10..52, 55..99, above 103): nothing. True.
bool BuiltinNothing(const ScriptArguments& arguments);
