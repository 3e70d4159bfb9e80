#include "adventure/message_backlog.h"

#include "adventure/script_arguments.h"

int BacklogReplay = 0;

// These stand in until the backlog exists: it records nothing, so it is always empty and never
// shows an older entry.
namespace MessageBacklog {
void Add(const char*) {}
void SetPendingVoice(const char*) {}
void ClearPendingVoice() {}
bool IsEmpty() {
    return true;
}
bool IsCursorOnEntry() {
    return false;
}
void StepBack() {}
void StepForward() {}
void ShowSelected() {}
void ReturnToCurrent() {}
void ReplayVoice() {}
void Clear() {}
bool SetReplay(std::int32_t) {
    return BuiltinNotBuilt(8);
}
}  // namespace MessageBacklog
