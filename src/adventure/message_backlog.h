#pragma once
// The message backlog: every message shown, with its speaker, face and voice, which the player
// pages back through while a page waits.

#include <cstdint>

// Set while a backlog replay runs: new text is shown but not recorded.
extern int BacklogReplay;

namespace MessageBacklog {
// Records a message as the script gave it (before global words are expanded).
void Add(const char* text);
void SetPendingVoice(const char* name);
void ClearPendingVoice();
bool IsEmpty();
// True while an older entry is shown in place of the current page.
bool IsCursorOnEntry();
void StepBack();
void StepForward();
// Shows the selected entry when the selection changed.
void ShowSelected();
void ReturnToCurrent();
void ReplayVoice();
void Clear();
// Option 5 of system sub-command 8: BacklogReplay := `value`; a non-zero value while an older
// entry is shown moves the backlog to its last entry. True.
bool SetReplay(std::int32_t value);
}  // namespace MessageBacklog
