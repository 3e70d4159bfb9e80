#include "adventure/choice.h"

// The choice window arrives with the choices themselves; until then the script goes on.
bool BuiltinChoice(const ScriptArguments&) {
    return BuiltinNotBuilt(20);
}

bool BuiltinCancellableChoice(const ScriptArguments&) {
    return BuiltinNotBuilt(21);
}

bool BuiltinChoiceItem(const ScriptArguments&) {
    return BuiltinNotBuilt(22);
}

bool BuiltinPopup(const ScriptArguments&) {
    return BuiltinNotBuilt(54);
}
