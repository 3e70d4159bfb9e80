// Loads the input as the sprite container "sprite\fuzz.kra" through ISprite::Create, as the game
// opens one. The folder holds "t.png" and "sound\s.wav", so that containers naming them get as
// far as their animations; every animation compiled is then started, stepped, drawn and
// measured.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "kra/headless_devices.h"
#include "sprite_ui/sprite.h"

#include "fuzz_program_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string& ProgramDir() {
    static const std::string dir = [] {
        const std::string made = FuzzProgramDirectory("sprite");
        fs::create_directories(made + "/sprite");
        fs::create_directories(made + "/sound");
        const fs::path sources(QVN_FUZZ_DIR);
        fs::copy_file(sources / "image_decode/rgba_3x2.png", made + "/sprite/t.png");
        fs::copy_file(sources / "wave_data/corpus/mono8.wav", made + "/sound/s.wav");
        if (!qvn_kra::StartHeadlessDevices(64, 64)) {
            std::abort();
        }
        return made;
    }();
    return dir;
}

void Exercise(ISprite* sprite) {
    AnimEntry entry;
    const std::vector<std::uint16_t>& code = sprite->data->animCode;
    for (std::uint32_t at = 0; ReadAnimEntry(code, at, &entry); at += entry.words) {
        const std::uint32_t flags =
            (at % 2 == 0 ? kSpriteLoop : 0) | kSpriteVisible | kSpritePlaying | kSpriteMirrorX;
        if (sprite->Start(entry.name.c_str(), flags, 0) == 0) {
            continue;
        }
        for (std::uint32_t ticks : {1u, 20u, 37u, 250u, 0u}) {
            sprite->Step(ticks);
            sprite->DrawParts();
            int x = 0;
            int y = 0;
            sprite->GetPoint(&x, &y, 0, kSpriteNoFrame);
        }
        sprite->RunToEnd(entry.name.c_str(), 50);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = ProgramDir() + "/sprite/fuzz.kra";
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    ISprite* sprite = ISprite::Create("fuzz");
    if (sprite != nullptr) {
        Exercise(sprite);
        ISprite::Delete(sprite);
    }
    if (!SpriteDataList().empty()) {
        std::abort();  // a record outlived its last instance
    }
    return 0;
}
