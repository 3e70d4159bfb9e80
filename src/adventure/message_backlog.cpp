#include "adventure/message_backlog.h"

#include <deque>
#include <memory>

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "media/graphics/plane.h"

int BacklogReplay = 0;

namespace MessageBacklog {
namespace {

struct State {
    std::deque<MessageBacklogEntry> entries;  // newest first
    std::size_t cursor = kEnd;
    bool changed = false;
    std::string pendingVoice;
};

// Made on first use; gone at program exit.
State& Backlog() {
    static const std::unique_ptr<State> state = std::make_unique<State>();
    return *state;
}

bool PageShownAndWaiting() {
    return PageWait != 0 && MessageWindowShown != 0;
}

// Copies `text` into SpeakerName, cut before the byte that would not fit; the text came from
// SpeakerName, so it is already a whole number of characters of at most 63 bytes.
void RestoreSpeaker(const std::string& text) {
    const std::size_t length = text.copy(SpeakerName, kSpeakerNameLength - 1);
    SpeakerName[length] = '\0';
}

}  // namespace

void Add(const char* text) {
    if (BacklogReplay != 0) {
        return;
    }
    State& backlog = Backlog();
    MessageBacklogEntry entry;
    entry.face = FacePlane != nullptr && !FacePlane->name.empty() ? FacePlane->name : "*";
    entry.speaker = SpeakerName;
    entry.voice = backlog.pendingVoice;
    entry.text = text != nullptr ? text : "";
    backlog.entries.push_front(std::move(entry));
    if (backlog.cursor != kEnd) {
        ++backlog.cursor;  // the cursor keeps to its entry
    }
}

void SetPendingVoice(const char* name) {
    Backlog().pendingVoice = name != nullptr ? name : "";
}

void ClearPendingVoice() {
    Backlog().pendingVoice.clear();
}

bool IsEmpty() {
    return Backlog().entries.empty();
}

bool IsCursorOnEntry() {
    return Backlog().cursor != kEnd;
}

void StepBack() {
    State& backlog = Backlog();
    if (BacklogReplay != 0 || !PageShownAndWaiting()) {
        return;
    }
    const std::size_t from = backlog.cursor == kEnd ? 0 : backlog.cursor;
    if (from + 1 < backlog.entries.size()) {
        backlog.cursor = from + 1;
        backlog.changed = true;
    }
}

void StepForward() {
    State& backlog = Backlog();
    if (!PageShownAndWaiting() || backlog.cursor == kEnd) {
        return;
    }
    backlog.changed = true;
    if (backlog.cursor != 0) {
        --backlog.cursor;
    }
}

void ShowSelected() {
    State& backlog = Backlog();
    if (!backlog.changed) {
        return;
    }
    backlog.changed = false;
    if (MessageWindowShown == 0 || backlog.cursor == kEnd ||
        backlog.cursor >= backlog.entries.size()) {
        return;
    }
    // A copy: showing the entry may not touch the list, but the entry must outlive the call.
    const MessageBacklogEntry entry = backlog.entries[backlog.cursor];
    if (backlog.cursor == 0) {
        backlog.cursor = kEnd;
    }
    if (VoiceSkip != 0) {
        ReleaseVoice();
    }
    SetFace(entry.face.c_str());
    RestoreSpeaker(entry.speaker);
    LineCounter = -1;
    ShowText(entry.text.c_str());
}

void ReturnToCurrent() {
    State& backlog = Backlog();
    if (MessageWindowShown == 0 || backlog.entries.empty()) {
        return;
    }
    backlog.cursor = 0;
    backlog.changed = true;
    ShowSelected();
}

void ReplayVoice() {
    State& backlog = Backlog();
    if (backlog.entries.empty()) {
        return;
    }
    const std::size_t index = backlog.cursor == kEnd ? 0 : backlog.cursor;
    if (index < backlog.entries.size() && !backlog.entries[index].voice.empty()) {
        const std::string voice = backlog.entries[index].voice;
        PlayVoice(voice.c_str());
    }
}

void Clear() {
    State& backlog = Backlog();
    backlog.entries.clear();
    backlog.cursor = kEnd;
    backlog.changed = false;
    backlog.pendingVoice.clear();
}

bool SetReplay(std::int32_t value) {
    BacklogReplay = value != 0 ? 1 : 0;
    if (value != 0 && IsCursorOnEntry()) {
        ReturnToCurrent();
    }
    return true;
}

std::size_t Size() {
    return Backlog().entries.size();
}

const MessageBacklogEntry& At(std::size_t index) {
    return Backlog().entries.at(index);
}

std::size_t Cursor() {
    return Backlog().cursor;
}

const std::string& PendingVoice() {
    return Backlog().pendingVoice;
}

}  // namespace MessageBacklog
