#pragma once
// SpriteData: the loaded contents of one sprite container (a ".kra" file of the sprite folder),
// reference-counted and shared by every sprite instance opened under its name. It holds the
// textures the container names, the parts cut out of them per frame, a point list per frame
// and the animations compiled into one block of 16-bit codes (see sprite_anim_code.h).

#include <cstdint>
#include <vector>

#include "platform/winbase/win_types.h"

struct D3DTexture;
class DSSound;

// Limits of one container.
constexpr int kSpriteMaxTextures = 32;
constexpr int kSpriteMaxSounds = 64;
// Bytes of compiled animation code, all entries together.
constexpr std::size_t kSpriteCodeBytes = 65536;
// Characters of a sound name in an animation text.
constexpr std::size_t kSpriteSoundNameLength = 63;
// Characters of a texture path (the container's folder and the texture's name).
constexpr std::size_t kSpriteTexturePathLength = 259;
// Bytes of a name field (container and animation names), its terminator included.
constexpr std::size_t kSpriteNameSize = 32;

// The family of a container: the kind decides how moves of its animations work.
constexpr std::int32_t kSpriteKind2D = 0;  // "KRA": moves the 2-D position by whole numbers
constexpr std::int32_t kSpriteKind3D = 1;  // "KRX": moves the 3-D position by floats

// One frame's points, each a u32 with i16 x in the low half and i16 y in the high half.
struct SpritePointList {
    std::int32_t count = 0;
    const std::uint32_t* points = nullptr;  // null when count is 0
};

// One rectangle of a texture drawn in one frame.
struct SpritePart {
    std::uint16_t frame = 0;
    std::uint32_t texture = 0;  // index into the textures; checked at load (see `drawable`)
    std::int32_t destX = 0;     // relative to the sprite's position
    std::int32_t destY = 0;
    RECT source{};  // in the texture's pixels
    // False when `texture` names no texture of the container: the part is never drawn.
    bool drawable = true;
};

struct SpriteData {
    std::int32_t refCount = 1;
    char name[kSpriteNameSize] = {};  // the name the container was opened under
    std::int32_t textureCount = 0;
    std::int32_t partCount = 0;
    std::int32_t frameCount = 0;
    std::int32_t animationCount = 0;
    std::int32_t soundCount = 0;
    std::int32_t kind = kSpriteKind2D;
    // frameCount entries for versions with point lists, else empty; the entries point into
    // `pointStore`.
    std::vector<SpritePointList> pointLists;
    std::vector<std::uint32_t> pointStore;
    D3DTexture* textures[kSpriteMaxTextures] = {};
    std::uint32_t drawModes[kSpriteMaxTextures] = {};
    DSSound* sounds[kSpriteMaxSounds] = {};
    std::vector<SpritePart> parts;
    // The compiled animations laid end to end, each entry {length of the entry in bytes; the
    // name, its NUL and a pad byte when name length + 1 is odd, two characters a word, the first
    // in the low byte; the codes; the end code}. Empty without animations.
    std::vector<std::uint16_t> animCode;

    // A zeroed record with one reference, appended to the sprite data list.
    SpriteData();
    // Leaves the list. Releases nothing: ISprite::ReleaseData releases the textures and sounds.
    ~SpriteData();
    SpriteData(const SpriteData&) = delete;
    SpriteData& operator=(const SpriteData&) = delete;

    // Releases every texture and sound and empties the record (the reference count and the
    // name stay).
    void ReleaseContents();
};

// Every loaded record, in creation order.
const std::vector<SpriteData*>& SpriteDataList();
// The first record whose name equals `name` ignoring case, or null.
SpriteData* FindSpriteData(const char* name);
