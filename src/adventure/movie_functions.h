#pragma once
// The built-in functions of movies: play one over the scene (29) and close the players (30).

#include "adventure/script_arguments.h"

// Built-in function 29 (0 s movie): the scene cleared and the movie "movie\NAME.avi" played
// until it ends or the player closes it; false after an open. Nothing while skipping.
bool BuiltinMovie(const ScriptArguments& arguments);
// Built-in function 30: both movie players closed. False.
bool BuiltinCloseMovie(const ScriptArguments& arguments);
