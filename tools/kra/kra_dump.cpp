#include "kra/kra_dump.h"

#include <cstdarg>
#include <cstdio>

#include "kra/kra_source.h"
#include "sprite_ui/sprite_anim_code.h"

namespace qvn_kra {
namespace {

void Line(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Line(std::string* out, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    *out += text;
}

}  // namespace

std::string DumpKra(const SpriteContainerFile& file, const SpriteData& data) {
    std::string out;
    Line(&out, "magic %s\n", file.magic);
    Line(&out, "textures %d\n", data.textureCount);
    for (int i = 0; i < data.textureCount; ++i) {
        Line(&out, "texture %d mode %u %s\n", i, data.drawModes[i],
             QuoteSjis(file.textures[static_cast<std::size_t>(i)].name).c_str());
    }
    Line(&out, "pointlists %zu\n", data.pointLists.size());
    for (std::size_t i = 0; i < data.pointLists.size(); ++i) {
        const SpritePointList& list = data.pointLists[i];
        Line(&out, "pointlist %zu:", i);
        for (int p = 0; p < list.count; ++p) {
            const std::uint32_t point = list.points[p];
            Line(&out, " %d,%d", static_cast<std::int16_t>(point & 0xFFFF),
                 static_cast<std::int16_t>(point >> 16));
        }
        out += "\n";
    }
    Line(&out, "parts %d\n", data.partCount);
    for (std::size_t i = 0; i < data.parts.size(); ++i) {
        const SpritePart& part = data.parts[i];
        Line(&out, "part %zu texture %u frame %u src %ld,%ld %ldx%ld dst %d,%d\n", i, part.texture,
             part.frame, static_cast<long>(part.source.left), static_cast<long>(part.source.top),
             static_cast<long>(part.source.right - part.source.left),
             static_cast<long>(part.source.bottom - part.source.top), part.destX, part.destY);
    }
    Line(&out, "animations %d\n", data.animationCount);
    for (std::size_t i = 0; i < file.animations.size(); ++i) {
        const SpriteAnimationRecord& animation = file.animations[i];
        const std::string text(animation.text.begin(), animation.text.end());
        out += "animation " + std::to_string(i) + " " + QuoteSjis(animation.name) + " text " +
               QuoteSjis(text) + "\n";
    }
    AnimEntry entry;
    for (std::uint32_t at = 0; ReadAnimEntry(data.animCode, at, &entry); at += entry.words) {
        out += "code " + QuoteSjis(entry.name) + ":";
        for (std::uint32_t w = entry.firstCode; w < entry.start + entry.words; ++w) {
            Line(&out, " %04X", data.animCode[w]);
        }
        out += "\n";
    }
    return out;
}

}  // namespace qvn_kra
