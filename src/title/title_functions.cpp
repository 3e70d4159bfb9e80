#include "title/title_functions.h"

// The title's commands arrive with the title screen; until then the script goes on.
bool BuiltinMarkSeenScript(const ScriptArguments&) {
    return BuiltinNotBuilt(7);
}

bool BuiltinTitleCommand(const ScriptArguments&) {
    return BuiltinNotBuilt(9);
}
