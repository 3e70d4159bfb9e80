#include "kra/kra_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/byte_writer.h"
#include "sprite_ui/sprite_anim_code.h"
#include "sprite_ui/sprite_anim_compiler.h"
#include "sprite_ui/sprite_container.h"
#include "sprite_ui/sprite_data.h"

namespace qvn_kra {
namespace {

constexpr std::size_t kMaxCount = 32767;

// Every sound item counts as made: the largest code the loader can compile.
int CountSound(const std::string& /*name*/, void* context) {
    int* sounds = static_cast<int*>(context);
    return *sounds < kSpriteMaxSounds ? (*sounds)++ : -1;
}

std::optional<std::vector<std::uint8_t>> Refuse(KraError* error, int line, std::string message) {
    *error = {line, std::move(message)};
    return std::nullopt;
}

// What the file's fields cannot hold; empty message when all fits.
KraError Limits(const KraSource& source) {
    if (source.textures.size() > kMaxCount) {
        return {source.textures[kMaxCount].line, "more than 32767 textures"};
    }
    for (const KraTexture& texture : source.textures) {
        if (texture.record.name.size() >= kSpriteTextureNameSize) {
            return {texture.line, "the texture name is longer than 251 bytes"};
        }
    }
    if (source.pointLists.size() > kMaxCount) {
        return {source.pointLists[kMaxCount].line, "more than 32767 point lists"};
    }
    if (source.parts.size() > kMaxCount) {
        return {source.parts[kMaxCount].line, "more than 32767 parts"};
    }
    if (source.animations.size() > kMaxCount) {
        return {source.animations[kMaxCount].line, "more than 32767 animations"};
    }
    for (const KraAnimation& animation : source.animations) {
        if (animation.name.size() >= kSpriteNameSize) {
            return {animation.line, "the animation name is longer than 31 bytes"};
        }
        if (animation.text.size() > 0xFFFF) {
            return {animation.line, "the animation text is longer than 65535 bytes"};
        }
    }
    return {};
}

// What the loader asks for besides; empty message when all passes.
KraError Check(const KraSource& source, const SpriteMagic& form) {
    KraError limits = Limits(source);
    if (!limits.message.empty()) {
        return limits;
    }
    if (form.pointForm == SpritePointForm::None && !source.pointLists.empty()) {
        return {source.pointLists[0].line, source.magic + " has no point lists"};
    }
    if (form.pointForm != SpritePointForm::None && source.frames >= 0) {
        return {source.framesLine,
                "the frames of " + source.magic + " are its point lists; no frames line"};
    }
    for (const KraPointList& list : source.pointLists) {
        if (form.pointForm == SpritePointForm::TwoPoints && list.points.size() > 2) {
            return {list.line, source.magic + " holds at most two points a frame"};
        }
    }
    if (source.textures.size() > static_cast<std::size_t>(kSpriteMaxTextures)) {
        return {source.textures[kSpriteMaxTextures].line, "more than 32 textures"};
    }
    for (const KraPart& part : source.parts) {
        if (part.record.texture >= source.textures.size()) {
            return {part.line, "the part names texture " + std::to_string(part.record.texture) +
                                   " of " + std::to_string(source.textures.size())};
        }
    }
    std::vector<std::uint16_t> block;
    std::vector<std::uint16_t> codes;
    int sounds = 0;
    for (const KraAnimation& animation : source.animations) {
        const std::span<const std::uint8_t> text(
            reinterpret_cast<const std::uint8_t*>(animation.text.data()), animation.text.size());
        const AnimCompileResult result =
            CompileAnimationText(text, form.kind, CountSound, &sounds,
                                 (kSpriteCodeBytes - block.size() * 2) / 2, &codes);
        if (result.status == AnimCompileStatus::TooLarge ||
            !AppendAnimEntry(&block, animation.name, codes)) {
            return {animation.line, "the compiled animations pass 65536 bytes"};
        }
    }
    return {};
}

void WriteTextures(ByteWriter& out, const KraSource& source) {
    for (const KraTexture& texture : source.textures) {
        out.FixedString(texture.record.name, kSpriteTextureNameSize);
        out.U32(texture.record.drawMode);
    }
}

void WritePointLists(ByteWriter& out, const KraSource& source, const SpriteMagic& form) {
    if (form.pointForm == SpritePointForm::None) {
        return;
    }
    for (const KraPointList& list : source.pointLists) {
        if (form.pointForm == SpritePointForm::Counted) {
            out.U32(static_cast<std::uint32_t>(list.points.size()));
        }
        const bool two = form.pointForm == SpritePointForm::TwoPoints;
        const std::size_t kept =
            two ? std::min<std::size_t>(list.points.size(), 2) : list.points.size();
        for (std::size_t i = 0; i < kept; ++i) {
            out.I16(list.points[i].first);
            out.I16(list.points[i].second);
        }
        for (std::size_t i = kept; two && i < 2; ++i) {
            out.U32(kSpritePointListEnd);
        }
    }
}

void WriteParts(ByteWriter& out, const KraSource& source) {
    for (const KraPart& part : source.parts) {
        const SpritePartRecord& r = part.record;
        out.U16(r.texture);
        out.U16(r.frame);
        out.I16(r.sourceX);
        out.I16(r.sourceY);
        out.I16(r.width);
        out.I16(r.height);
        out.I16(r.destX);
        out.I16(r.destY);
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> WriteKra(const KraSource& source, KraError* error,
                                                  bool checked) {
    if (source.magicLine == 0) {
        return Refuse(error, source.lastLine + 1, "no magic line");
    }
    const SpriteMagic* form = source.magic.size() == 4 ? FindSpriteMagic(source.magic) : nullptr;
    if (form == nullptr) {
        return Refuse(
            error, source.magicLine,
            "magic \"" + source.magic + "\" is none of KRA2 KRA3 KRA4 KRA5 KRX0 KRX3 KRX4 KRX5");
    }
    KraError check = checked ? Check(source, *form) : Limits(source);
    if (!check.message.empty()) {
        return Refuse(error, check.line, check.message);
    }

    // A frames line with point lists passes only unchecked: it may then disagree with them.
    const std::size_t frames = source.frames >= 0 ? static_cast<std::size_t>(source.frames)
                               : form->pointForm == SpritePointForm::None
                                   ? 0
                                   : source.pointLists.size();
    ByteWriter out;
    out.Bytes(form->magic, 4);
    out.I16(static_cast<std::int16_t>(source.textures.size()));
    out.I16(static_cast<std::int16_t>(source.parts.size()));
    out.I16(static_cast<std::int16_t>(frames));
    out.I16(static_cast<std::int16_t>(source.animations.size()));
    std::vector<std::size_t> textOffsets;
    auto writeTexts = [&]() {
        for (const KraAnimation& animation : source.animations) {
            textOffsets.push_back(out.Size());
            out.Bytes(animation.text.data(), animation.text.size());
        }
    };
    std::size_t table[6] = {};
    if (form->version == 5) {
        out.Zeros(kSpriteOffsetTableSize);
        writeTexts();
    }
    table[1] = out.Size();
    WriteTextures(out, source);
    table[2] = out.Size();
    WritePointLists(out, source, *form);
    table[3] = out.Size();
    WriteParts(out, source);
    table[5] = out.Size();
    const std::size_t records = out.Size();
    for (const KraAnimation& animation : source.animations) {
        out.FixedString(animation.name, kSpriteNameSize);
        out.U32(0);  // offset and length, patched below
    }
    if (form->version != 5) {
        writeTexts();
    } else {
        for (int entry = 0; entry < 6; ++entry) {
            out.PatchU32(kSpriteHeaderSize + 4 * static_cast<std::size_t>(entry),
                         entry == 0 || entry == 4 ? 0 : static_cast<std::uint32_t>(table[entry]));
        }
    }
    for (std::size_t i = 0; i < source.animations.size(); ++i) {
        if (textOffsets[i] > 0xFFFF) {
            return Refuse(error, source.animations[i].line,
                          "the animation text would start beyond byte 65535");
        }
        const std::size_t field = records + i * kSpriteAnimationRecordSize + kSpriteNameSize;
        out.PatchU16(field, static_cast<std::uint16_t>(textOffsets[i]));
        out.PatchU16(field + 2, static_cast<std::uint16_t>(source.animations[i].text.size()));
    }
    return out.Take();
}

}  // namespace qvn_kra
