#include "adventure/save_slots.h"

// Save slots arrive with the save files; until then a save point stores nothing.
bool BuiltinSavePoint(const ScriptArguments&) {
    return BuiltinNotBuilt(24);
}
