#pragma once
// The event tables of an object's animation sets and the handler of their callback keys.
// A key of type 0 is a sound key: in the file its value is a sound-effect number, made into
// the sound "se%03d" of the sound folder at load; the table keeps the sounds and the key's
// value becomes the sound's index in them.

#include <string>
#include <vector>

#include "platform/d3dx/animation.h"

class DSSound;
struct D3DObject;

constexpr DWORD kSoundEventKey = 0;
// An event table of this playback mode stops its events when its set ends a pass.
constexpr DWORD kPlayOnceEvents = 1;

// What a callback key carries: the type and value of its event-table entry.
struct AnimationEventData {
    DWORD type;
    DWORD value;
};

struct AnimationEventKey {
    // Ticks of the animation set.
    DWORD time;
    AnimationEventData data;
};

struct AnimationEventTable {
    DWORD playback = 0;
    DWORD keyCount = 0;
    std::vector<AnimationEventKey> keys;
    // The sounds of the sound keys (null where the sound could not be made); shared by copies.
    std::vector<DSSound*> sounds;

    AnimationEventTable() = default;
    AnimationEventTable(const AnimationEventTable& other);
    AnimationEventTable& operator=(const AnimationEventTable& other);
    ~AnimationEventTable();
};

// Reads an event table from its packed data: the set's name (a terminated string), the
// playback mode, the key count and the keys, three 32-bit words each. At most the keys the
// data holds are read; a count that disagrees with them is logged. Sound keys get their
// sounds. False (logged) when the data is too short for the head.
bool ReadAnimationEventTable(const void* data, SIZE_T size, std::string* setName,
                             AnimationEventTable* table);

// The callback keys of an object's sets (the data of a key is the entry's index + 1, null for
// the key that closes a pass): plays sound keys, and hands the others to the object's callback.
class AnimationEventHandler final : public ID3DXAnimationCallbackHandler {
public:
    explicit AnimationEventHandler(D3DObject* owner) : object_(owner) {}
    virtual ~AnimationEventHandler() = default;

    // Always answers 0.
    HRESULT HandleCallback(UINT track, LPVOID callbackData) override;

private:
    D3DObject* object_;
};
