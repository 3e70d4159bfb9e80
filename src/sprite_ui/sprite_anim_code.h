#pragma once
// The compiled animation code of a sprite container: 16-bit words, one entry per animation
// (see SpriteData::animCode), and the walk over its entries.
//
// Codes of an entry, after its name:
//   0xFFFE t          ticks per frame (milliseconds) for the frame lists that follow
//   0xFFFD ... 0xFF01 a frame list: frame numbers (below 0xFF00), 0xFF03 e (event e, 0..25)
//                     and 0xFF04 s (sound slot s of the SpriteData)
//   0xFFFC dx dy      a move over the frames of the list before it: 2-D two i16; 3-D three
//                     floats, each two words, low word first
//   0xFFFF            end of the animation

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr std::uint16_t kAnimEnd = 0xFFFF;
constexpr std::uint16_t kAnimTicks = 0xFFFE;
constexpr std::uint16_t kAnimFrames = 0xFFFD;
constexpr std::uint16_t kAnimMove = 0xFFFC;
constexpr std::uint16_t kAnimSound = 0xFF04;
constexpr std::uint16_t kAnimEvent = 0xFF03;
constexpr std::uint16_t kAnimListEnd = 0xFF01;
// Frame numbers lie below this; every code from it up is a command or a list item.
constexpr std::uint16_t kAnimFrameLimit = 0xFF00;
// Ticks per frame after a start and after each pass through the end code.
constexpr std::uint32_t kAnimDefaultTicks = 20;

// Index of a word in the code block; kAnimNoCode stands for none.
constexpr std::uint32_t kAnimNoCode = 0xFFFFFFFFu;

// The word at `index`, or the end code past the end of `code`.
inline std::uint16_t AnimWord(const std::vector<std::uint16_t>& code, std::uint32_t index) {
    return index < code.size() ? code[index] : kAnimEnd;
}

struct AnimEntry {
    std::uint32_t start = 0;      // the entry's length word
    std::uint32_t words = 0;      // the whole entry, in words
    std::uint32_t firstCode = 0;  // the first code after the name
    std::string name;
};

// Reads the entry whose length word is at `start`. False at the end of the code, for a length
// of 0 or odd, and for an entry that would pass the end of the code or has no room for its name.
bool ReadAnimEntry(const std::vector<std::uint16_t>& code, std::uint32_t start, AnimEntry* entry);

// The first code of the first entry named `name` (compared ignoring case), or kAnimNoCode. The
// walk stops at the end of the code and at an entry that cannot be read.
std::uint32_t FindAnimation(const std::vector<std::uint16_t>& code, const char* name);

// Appends the entry {length, name, codes, end code}. False, with `code` unchanged, when the
// block would pass kSpriteCodeBytes.
bool AppendAnimEntry(std::vector<std::uint16_t>* code, std::string_view name,
                     std::span<const std::uint16_t> codes);
