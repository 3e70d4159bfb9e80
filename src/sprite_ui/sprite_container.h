#pragma once
// The sprite container file (".kra"), read through ByteReader and checked before anything is
// made from it. All numbers little-endian.
//
//   0   magic: "KRA" (2-D) or "KRX" (3-D) and a version character
//   4   i16 texture count, i16 part count, i16 frame count (point lists), i16 animation count
//   12  version 5 only: six u32 file offsets; entry 1 the texture records, 2 the point lists,
//       3 the part records, 5 the animation records (0 and 4 unused). Other versions keep the
//       sections one after the other from offset 12 in that order.
//   texture record, 256 bytes: the image name (zero-terminated within 252 bytes, relative to
//       the container's folder), u32 draw mode (2 additive, 3 inverse colour, else the
//       instance's blend)
//   point list, one per frame: versions 4 and 5 a u32 count and that many points; version 3
//       two points, a point 0x7FFF7FFF ending the list early; versions 2 and X0 none. A point
//       is i16 x, i16 y.
//   part record, 16 bytes: u16 texture, u16 frame, i16 source x, y, width, height, i16
//       destination x, y
//   animation record, 36 bytes: the name (zero-terminated within 32 bytes, at most 31
//       characters), u16 offset and u16 length of its text in the file

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kSpriteHeaderSize = 12;
constexpr std::size_t kSpriteOffsetTableSize = 24;
constexpr std::size_t kSpriteTextureRecordSize = 256;
constexpr std::size_t kSpriteTextureNameSize = 252;
constexpr std::size_t kSpritePartRecordSize = 16;
constexpr std::size_t kSpriteAnimationRecordSize = 36;
// A point of a two-point list that ends it early (x and y both 32767).
constexpr std::uint32_t kSpritePointListEnd = 0x7FFF7FFFu;

enum class SpritePointForm {
    None,       // "KRA2", "KRX0"
    TwoPoints,  // "KRA3", "KRX3"
    Counted,    // "KRA4", "KRA5", "KRX4", "KRX5"
};

// Why a container is refused; Ok when it is not.
enum class SpriteLoadResult {
    Ok,
    NoFile,         // the file could not be read (the file layer logs why)
    BadMagic,       // not one of the eight accepted magics
    BadHeader,      // shorter than its header or offset table
    BadCount,       // a negative count, or more than 32 textures
    OutOfFile,      // a section, point list or animation text lies outside the file
    TextureFailed,  // a texture could not be loaded
    CodeTooLarge,   // the compiled animations would pass 65,536 bytes
};

// One of the eight accepted magics and what its version has.
struct SpriteMagic {
    const char* magic;
    std::int32_t kind;  // kSpriteKind2D or kSpriteKind3D
    int version;        // the version character's value: 0, 2, 3, 4 or 5
    SpritePointForm pointForm;
};

// The accepted magic that `magic` (its first four bytes) is, or null; the comparison is exact,
// so a lower-case magic is none.
const SpriteMagic* FindSpriteMagic(std::string_view magic);

struct SpriteTextureRecord {
    std::string name;  // Shift-JIS, at most 251 bytes
    std::uint32_t drawMode = 0;
};

struct SpritePartRecord {
    std::uint16_t texture = 0;
    std::uint16_t frame = 0;
    std::int16_t sourceX = 0;
    std::int16_t sourceY = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t destX = 0;
    std::int16_t destY = 0;
};

struct SpriteAnimationRecord {
    std::string name;  // Shift-JIS, at most 31 bytes
    std::uint16_t textOffset = 0;
    std::uint16_t textLength = 0;
    std::span<const std::uint8_t> text;  // within the file's bytes
};

struct SpriteContainerFile {
    char magic[5] = {};
    std::int32_t kind = 0;  // kSpriteKind2D or kSpriteKind3D
    int version = 0;        // the version character's value: 0, 2, 3, 4 or 5
    SpritePointForm pointForm = SpritePointForm::None;
    std::int32_t textureCount = 0;
    std::int32_t partCount = 0;
    std::int32_t frameCount = 0;
    std::int32_t animationCount = 0;
    std::vector<SpriteTextureRecord> textures;
    // For each frame (versions with point lists): its point count and its first point in
    // `points`. A two-point list keeps both of its points in `points` whatever its count.
    std::vector<std::int32_t> pointCounts;
    std::vector<std::size_t> pointStarts;
    std::vector<std::uint32_t> points;
    std::vector<SpritePartRecord> parts;
    std::vector<SpriteAnimationRecord> animations;
};

// Reads and checks a whole container file. On a refusal `reason` says why in words (for the
// log line) and `file` is left partly filled.
SpriteLoadResult ReadSpriteContainer(std::span<const std::uint8_t> bytes, SpriteContainerFile* file,
                                     std::string* reason);
