#pragma once
// The message backlog: every message shown, with its speaker, face and voice, newest first.
// While a page waits, the player pages back through earlier messages in the message window
// itself (the entry shown in the backlog's grey), replays their voices and returns to the
// current page. The list has no length limit; only Clear empties it.

#include <cstddef>
#include <cstdint>
#include <string>

// Set while a backlog replay runs: new text is shown but not recorded.
extern int BacklogReplay;

struct MessageBacklogEntry {
    std::string face;     // the face plane's name, or "*" when no face was shown
    std::string speaker;  // SpeakerName at the time
    std::string voice;    // the voice given for this message, or empty
    std::string text;     // as the page showed it: its global words expanded
};

namespace MessageBacklog {
// The cursor at the end: the current page is shown.
constexpr std::size_t kEnd = static_cast<std::size_t>(-1);

// Records a message at the front with the face, the speaker and the pending voice; nothing
// while BacklogReplay is set.
void Add(const char* text);
// The voice name that the next recorded message takes.
void SetPendingVoice(const char* name);
void ClearPendingVoice();
bool IsEmpty();
// True while an older entry is shown in place of the current page.
bool IsCursorOnEntry();
// One entry older (from the first entry when the cursor is at the end), while a page waits in
// the shown window and no replay runs; the first entry is the current page itself.
void StepBack();
// One entry newer while a page waits in the shown window and an older entry is shown; from the
// first entry the next ShowSelected returns to the current page.
void StepForward();
// When the selection changed and the window is shown, lays out the entry under the cursor as a
// new page (its face, speaker and text, shown as recorded, nothing expanded again; the first
// entry returns the cursor to the end).
void ShowSelected();
// Back to the current page, at once.
void ReturnToCurrent();
// Plays the voice of the entry shown (the first entry while the current page is shown).
void ReplayVoice();
// Empties the list, the cursor to the end, nothing changed, no pending voice.
void Clear();
// Option 5 of system sub-command 8: BacklogReplay := `value` != 0; a non-zero value while an
// older entry is shown returns the window to the current page. True.
bool SetReplay(std::int32_t value);

// The entries, 0 the newest; the cursor (kEnd at the end); the pending voice.
std::size_t Size();
const MessageBacklogEntry& At(std::size_t index);
std::size_t Cursor();
const std::string& PendingVoice();
}  // namespace MessageBacklog
