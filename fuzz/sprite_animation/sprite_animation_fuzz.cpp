// Compiles the input as an animation text for a 2-D and a 3-D container (sound names of an even
// length count as made), then runs the code through an instance over a few steps.

#include <cstdint>
#include <string>
#include <vector>

#include "sprite_ui/sprite.h"
#include "sprite_ui/sprite_anim_compiler.h"

#include "fuzz_program_dir.h"

namespace {

int EvenNamesMade(const std::string& name, void* context) {
    int* made = static_cast<int*>(context);
    if (name.size() % 2 != 0 || *made >= kSpriteMaxSounds) {
        return -1;
    }
    return (*made)++;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzProgramDirectory("animation");
    const std::span<const std::uint8_t> text(data, size);
    for (std::int32_t kind : {kSpriteKind2D, kSpriteKind3D}) {
        int made = 0;
        std::vector<std::uint16_t> codes;
        const AnimCompileResult result =
            CompileAnimationText(text, kind, EvenNamesMade, &made, kSpriteCodeBytes / 2, &codes);
        if (result.status != AnimCompileStatus::Ok && !codes.empty()) {
            __builtin_trap();  // a refused text must leave no codes
        }
        if (result.offset > size) {
            __builtin_trap();
        }
        auto* container = new SpriteData();
        container->kind = kind;
        if (!AppendAnimEntry(&container->animCode, "a", codes)) {
            ISprite::ReleaseData(container);
            continue;
        }
        // No sounds were really made: the instance finds empty slots.
        ISprite sprite;
        sprite.data = container;
        if (sprite.Start("A", kSpritePlaying | kSpriteLoop, 0) == 0) {
            __builtin_trap();
        }
        for (std::uint32_t ticks : {1u, 19u, 20u, 21u, 333u, 0u, 5000u}) {
            sprite.Step(ticks);
        }
    }
    return 0;
}
