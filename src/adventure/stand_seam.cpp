#include "adventure/stand.h"

// Stand in until standing characters exist: there are none to clear or draw.
void ClearStands() {}
void DrawStands() {}
// Stands in until standing characters exist: none is ever shown.
bool AnyStandShown() {
    return false;
}

bool BuiltinStand(const ScriptArguments&) {
    return BuiltinNotBuilt(4);
}

bool BuiltinStartStands(const ScriptArguments&) {
    return BuiltinNotBuilt(7);
}

bool BuiltinStandAtOnce(const ScriptArguments&) {
    return BuiltinNotBuilt(31);
}
