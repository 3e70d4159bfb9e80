#pragma once
// Choices and popups: the choice window that functions 22, 20 and 21 build and show, and the
// one-item popup message of system sub-command 54.

#include "adventure/script_arguments.h"

// Built-in function 20 (every argument i: s item text): the choice window shows with one item
// " TEXT " of value i per argument, items chosen before coloured; not cancellable. False.
bool BuiltinChoice(const ScriptArguments& arguments);
// Built-in function 21: as 20, cancellable. False.
bool BuiltinCancellableChoice(const ScriptArguments& arguments);
// Built-in function 22 (0 s text, 1 l value (0), 2 s help text): adds an item to the choice
// window under construction. True.
bool BuiltinChoiceItem(const ScriptArguments& arguments);
// System sub-command 54 (1 s text, 2 l close on any click (1)): the text in a popup. False.
bool BuiltinPopup(const ScriptArguments& arguments);
