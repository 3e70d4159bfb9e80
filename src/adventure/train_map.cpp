#include "adventure/train_map.h"

// The train map arrives with its screen; until then the script goes on past its commands.
bool BuiltinTrainMapOpen(const ScriptArguments&) {
    return BuiltinNotBuilt(100);
}

bool BuiltinTrainMapStation(const ScriptArguments&) {
    return BuiltinNotBuilt(101);
}

bool BuiltinTrainMapFigure(const ScriptArguments&) {
    return BuiltinNotBuilt(102);
}

bool BuiltinTrainMapCalendar(const ScriptArguments&) {
    return BuiltinNotBuilt(103);
}
