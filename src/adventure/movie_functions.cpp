#include "adventure/movie_functions.h"

// Movies arrive with their players' script functions; until then the script goes on.
bool BuiltinMovie(const ScriptArguments&) {
    return BuiltinNotBuilt(29);
}

bool BuiltinCloseMovie(const ScriptArguments&) {
    return BuiltinNotBuilt(30);
}
