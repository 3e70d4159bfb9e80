#pragma once
// The animation compiler: turns the text of one animation of a sprite container into the codes
// of sprite_anim_code.h. Command letters are case-insensitive; between commands every byte of
// 0x20 or below and every ',' is skipped.
//   s<number>        ticks per frame for the frame lists that follow
//   p<items>         a frame list; items separated by ',' or ' ': a frame number; '-' and a
//                    number n (every frame from the previous number + 1 up to n); a letter a..z
//                    but m, n, p, s (an event); "(name)" (a sound of the sound folder). Any
//                    other byte ends the list and is read again as a command.
//   m<dx>,<dy>[,<dz>] a move over the frames of the list before it (dz for 3-D containers only)
// Any other byte aborts the animation: it is left with no codes. Numbers are an optional '-',
// digits, and at most one '.' with fraction digits; where a code holds an integer the number is
// truncated toward zero and held to the code's range.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Makes the sound of a sound item and answers its slot, or -1 when none is made (the item then
// compiles to nothing).
using AnimSoundMaker = int (*)(const std::string& name, void* context);

enum class AnimCompileStatus {
    Ok,
    Aborted,   // the text asked for something the language does not have
    TooLarge,  // more than `maxWords` codes
};

struct AnimCompileResult {
    AnimCompileStatus status = AnimCompileStatus::Ok;
    std::size_t offset = 0;   // Aborted: the byte of the text at which compiling stopped
    const char* reason = "";  // Aborted: why, in words
};

// Compiles `text` for a container of `kind` (kSpriteKind2D or kSpriteKind3D) into `codes`,
// which is cleared first and gets no end code. Aborted and TooLarge leave `codes` empty.
AnimCompileResult CompileAnimationText(std::span<const std::uint8_t> text, std::int32_t kind,
                                       AnimSoundMaker makeSound, void* context,
                                       std::size_t maxWords, std::vector<std::uint16_t>* codes);
