#include "adventure/message_backlog.h"

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
}  // namespace MessageBacklog
