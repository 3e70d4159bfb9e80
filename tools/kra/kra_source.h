#pragma once
// The readable source of a sprite container, as qvn-kra reads it (see README.md): one item a
// line, names and texts in UTF-8 (stored as Shift-JIS).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sprite_ui/sprite_container.h"

namespace qvn_kra {

struct KraError {
    int line = 0;
    std::string message;
};

struct KraTexture {
    int line = 0;
    SpriteTextureRecord record;  // the name in Shift-JIS, as stored
    std::string fileName;        // UTF-8 with '/' separators, to find the image beside the source
};

struct KraPointList {
    int line = 0;
    std::vector<std::pair<std::int16_t, std::int16_t>> points;
};

struct KraPart {
    int line = 0;
    SpritePartRecord record;
};

struct KraAnimation {
    int line = 0;
    std::string name;  // Shift-JIS
    std::string text;  // Shift-JIS
};

struct KraSource {
    int magicLine = 0;
    std::string magic;
    int framesLine = 0;
    int frames = -1;  // the "frames" line; -1 without one
    int lastLine = 0;
    std::vector<KraTexture> textures;
    std::vector<KraPointList> pointLists;
    std::vector<KraPart> parts;
    std::vector<KraAnimation> animations;
};

// Reads a whole source text; std::nullopt with `error` set at the first line it cannot take.
std::optional<KraSource> ParseKraSource(std::string_view text, KraError* error);

// A Shift-JIS text in double quotes as the source writes it (UTF-8 with escapes).
std::string QuoteSjis(std::string_view sjis);

}  // namespace qvn_kra
