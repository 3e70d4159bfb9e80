#pragma once
// The system sub-commands of function 0 that reach the title: marking the running script's
// scene as seen (7) and the title commands (9).

#include "adventure/script_arguments.h"

// Sub-command 7: the running script's file name, without folder and extension, marked seen.
// True.
bool BuiltinMarkSeenScript(const ScriptArguments& arguments);
// Sub-command 9 (1.. as the title command): the message window hidden, then the title command;
// true when it answers non-zero.
bool BuiltinTitleCommand(const ScriptArguments& arguments);
