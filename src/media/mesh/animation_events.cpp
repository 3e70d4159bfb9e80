#include "media/mesh/animation_events.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "foundation/byte_reader.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/mesh/object.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"

namespace {

// DSBCAPS_CTRLVOLUME.
constexpr DWORD kEventSoundFlags = 0x80;

void AddSoundReferences(const std::vector<DSSound*>& sounds) {
    for (DSSound* sound : sounds) {
        if (sound != nullptr) {
            sound->AddRef();
        }
    }
}

void ReleaseSounds(std::vector<DSSound*>* sounds) {
    for (DSSound* sound : *sounds) {
        if (sound != nullptr) {
            sound->Release();
        }
    }
    sounds->clear();
}

}  // namespace

AnimationEventTable::AnimationEventTable(const AnimationEventTable& other)
    : playback(other.playback), keyCount(other.keyCount), keys(other.keys), sounds(other.sounds) {
    AddSoundReferences(sounds);
}

AnimationEventTable& AnimationEventTable::operator=(const AnimationEventTable& other) {
    if (this != &other) {
        AddSoundReferences(other.sounds);
        ReleaseSounds(&sounds);
        playback = other.playback;
        keyCount = other.keyCount;
        keys = other.keys;
        sounds = other.sounds;
    }
    return *this;
}

AnimationEventTable::~AnimationEventTable() {
    ReleaseSounds(&sounds);
}

bool ReadAnimationEventTable(const void* data, SIZE_T size, std::string* setName,
                             AnimationEventTable* table) {
    ByteReader in(data, size);
    *setName = in.TerminatedString(in.Remaining());
    table->playback = in.U32();
    const std::uint32_t declared = in.U32();
    if (in.Failed()) {
        LogPrintf("D3DObject::Load: an event table too short to read");
        return false;
    }
    // "Events" is not trusted: only the keys the data holds are read.
    const std::size_t held = in.Remaining() / 12;
    if (declared != held) {
        LogPrintf("D3DObject::Load: event table \"%s\" says %u events and holds %u",
                  setName->c_str(), declared, static_cast<unsigned>(held));
    }
    table->keyCount = static_cast<DWORD>(std::min<std::size_t>(declared, held));
    table->keys.resize(table->keyCount);
    for (AnimationEventKey& key : table->keys) {
        key.time = in.U32();
        key.data.type = in.U32();
        key.data.value = in.U32();
        if (key.data.type != kSoundEventKey) {
            continue;
        }
        char name[32];
        std::snprintf(name, sizeof name, "se%03d", static_cast<int>(key.data.value));
        DSSound* sound = nullptr;
        if (FAILED(CreateSound(GetPath(PathKind::Sound, name), &sound, kEventSoundFlags, 0))) {
            sound = nullptr;
        }
        key.data.value = static_cast<DWORD>(table->sounds.size());
        table->sounds.push_back(sound);
    }
    return true;
}

HRESULT AnimationEventHandler::HandleCallback(UINT track, LPVOID callbackData) {
    D3DObject* object = object_;
    if (track > 1 || object->trackEnabled[track] == 0 || object->controller == nullptr) {
        return 0;
    }
    ID3DXAnimationSet* set = nullptr;
    if (FAILED(object->controller->GetTrackAnimationSet(track, &set)) || set == nullptr) {
        return 0;
    }
    const std::string setName = set->GetName();
    set->Release();
    const auto found = object->eventMap.find(setName);
    const AnimationEventTable* table = found != object->eventMap.end() ? &found->second : nullptr;
    if (track == object->currentTrack) {
        if (!object->eventMap.empty() && callbackData == nullptr && table != nullptr &&
            table->playback == kPlayOnceEvents) {
            object->trackEnabled[track] = 0;
        }
    } else {
        object->trackEnabled[track] = 0;
    }
    // The key's entry by its index (the data is index + 1).
    const auto index = reinterpret_cast<std::uintptr_t>(callbackData);
    const AnimationEventData* event = nullptr;
    if (index != 0 && table != nullptr && index - 1 < table->keys.size()) {
        event = &table->keys[index - 1].data;
    }
    if (event != nullptr && event->type == kSoundEventKey && event->value < table->sounds.size() &&
        table->sounds[event->value] != nullptr) {
        table->sounds[event->value]->Play(0);
        return 0;
    }
    if (object->callback != nullptr) {
        object->callback(object, setName.c_str(), event, object->callbackUserData);
    }
    return 0;
}
