#pragma once
// Title::Command: the title scripts' one command (system sub-command 9 of built-in function 0).
// Argument 0 is the system sub-command, argument 1 the title sub-command:
//  0 (2 l mode)       mode 0: the menu closes at its next frame; else it closes at once
//  1                  a new, empty menu (any old one closed first)
//  2                  menu: game mode 2, hovering evaluated anew; answers 0 (the script yields)
//  3 (2 l kind, 3 u)  menu: 0 the items become BASE, 1 gallery picture, 2 scene replay
//  4                  menu: nothing hovered, pressed, clicked or chosen
//  5                  hovering evaluated anew
//  6                  menu: the items drawn; they become the items to drop at 7
//  7                  menu: those items dropped, the key navigation rebuilt, then as 3 kind 0
//  8 (2 s, 3 l)       menu: the items of a table (a printf format with argument 3 when the
//                     command has more than 3 arguments); "Title: AddItem error." on failure
//  9                  the load popup
// 10                  the game window asked to close; answers 0
// 11 (2 l, 3..10 s)   the recollection sub-menu of an item with its entry texts
// 12 (2 l, 3 s)       the part of the last sub-menu's item started as a script at a label
// 13 (2 l, 3 u, 4 l)  op 0: variable 9 := flag byte; op 1: flag byte := value; else 9 := 0
// 14 (2 l)            op 0: variable 9 := 1 with the extra data pack; else 9 := 0
// 15 (2 l, 3 l)       current item (0), its page count (1), its page (2), page step (3)
// Every other sub-command does nothing. The answer is 1 unless stated.

#include <cstdint>

#include "adventure/script_arguments.h"

namespace Title {

std::int32_t Command(const ScriptArguments& arguments);
// Puts the pointer again where it is and lets the game window see it there, so that hovering
// is evaluated anew.
void ResetCursorPosition();

}  // namespace Title
