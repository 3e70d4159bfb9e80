#include "sprite_ui/sprite_container.h"

#include <cstdio>
#include <cstring>

#include "foundation/byte_reader.h"
#include "sprite_ui/sprite_data.h"

namespace {

// In the order they are tried, each family after its three-letter test.
constexpr SpriteMagic kMagics[] = {
    {"KRA5", kSpriteKind2D, 5, SpritePointForm::Counted},
    {"KRA4", kSpriteKind2D, 4, SpritePointForm::Counted},
    {"KRA3", kSpriteKind2D, 3, SpritePointForm::TwoPoints},
    {"KRA2", kSpriteKind2D, 2, SpritePointForm::None},
    {"KRX5", kSpriteKind3D, 5, SpritePointForm::Counted},
    {"KRX4", kSpriteKind3D, 4, SpritePointForm::Counted},
    {"KRX3", kSpriteKind3D, 3, SpritePointForm::TwoPoints},
    {"KRX0", kSpriteKind3D, 0, SpritePointForm::None},
};

std::string Format(const char* format, long a, long b = 0, long c = 0, long d = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// Moves to the start of a section: version 5 from its offset-table entry, the others where the
// previous section ended.
bool SeekSection(ByteReader& reader, const SpriteContainerFile& file, const std::uint32_t* table,
                 int entry) {
    if (file.version != 5) {
        return reader.Ok();
    }
    return reader.Seek(table[entry]);
}

SpriteLoadResult ReadTextures(ByteReader& reader, SpriteContainerFile* file, std::string* reason) {
    if (!reader.Has(static_cast<std::size_t>(file->textureCount) * kSpriteTextureRecordSize)) {
        *reason = "texture records out of file";
        return SpriteLoadResult::OutOfFile;
    }
    file->textures.resize(static_cast<std::size_t>(file->textureCount));
    for (SpriteTextureRecord& texture : file->textures) {
        texture.name = reader.FixedString(kSpriteTextureNameSize);
        // Zero-terminated within its field.
        if (texture.name.size() >= kSpriteTextureNameSize) {
            texture.name.resize(kSpriteTextureNameSize - 1);
        }
        texture.drawMode = reader.U32();
    }
    return SpriteLoadResult::Ok;
}

SpriteLoadResult ReadPointLists(ByteReader& reader, SpriteContainerFile* file,
                                std::string* reason) {
    const auto frames = static_cast<std::size_t>(file->frameCount);
    if (file->pointForm == SpritePointForm::TwoPoints) {
        if (!reader.Has(frames * 8)) {
            *reason = "point lists out of file";
            return SpriteLoadResult::OutOfFile;
        }
        file->points.reserve(frames * 2);
    }
    file->pointCounts.reserve(frames);
    file->pointStarts.reserve(frames);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        file->pointStarts.push_back(file->points.size());
        if (file->pointForm == SpritePointForm::TwoPoints) {
            const std::uint32_t first = reader.U32();
            const std::uint32_t second = reader.U32();
            file->points.push_back(first);
            file->points.push_back(second);
            file->pointCounts.push_back(first == kSpritePointListEnd    ? 0
                                        : second == kSpritePointListEnd ? 1
                                                                        : 2);
            continue;
        }
        const std::uint32_t count = reader.U32();
        if (reader.Failed() || count > reader.Remaining() / 4) {
            *reason = Format("point list %ld out of file", static_cast<long>(frame));
            return SpriteLoadResult::OutOfFile;
        }
        file->pointCounts.push_back(static_cast<std::int32_t>(count));
        for (std::uint32_t i = 0; i < count; ++i) {
            file->points.push_back(reader.U32());
        }
    }
    return SpriteLoadResult::Ok;
}

SpriteLoadResult ReadParts(ByteReader& reader, SpriteContainerFile* file, std::string* reason) {
    if (!reader.Has(static_cast<std::size_t>(file->partCount) * kSpritePartRecordSize)) {
        *reason = "part records out of file";
        return SpriteLoadResult::OutOfFile;
    }
    file->parts.resize(static_cast<std::size_t>(file->partCount));
    for (SpritePartRecord& part : file->parts) {
        part.texture = reader.U16();
        part.frame = reader.U16();
        part.sourceX = reader.I16();
        part.sourceY = reader.I16();
        part.width = reader.I16();
        part.height = reader.I16();
        part.destX = reader.I16();
        part.destY = reader.I16();
    }
    return SpriteLoadResult::Ok;
}

SpriteLoadResult ReadAnimations(ByteReader& reader, std::span<const std::uint8_t> bytes,
                                SpriteContainerFile* file, std::string* reason) {
    if (!reader.Has(static_cast<std::size_t>(file->animationCount) * kSpriteAnimationRecordSize)) {
        *reason = "animation records out of file";
        return SpriteLoadResult::OutOfFile;
    }
    file->animations.resize(static_cast<std::size_t>(file->animationCount));
    for (std::size_t i = 0; i < file->animations.size(); ++i) {
        SpriteAnimationRecord& animation = file->animations[i];
        animation.name = reader.FixedString(kSpriteNameSize);
        if (animation.name.size() >= kSpriteNameSize) {
            animation.name.resize(kSpriteNameSize - 1);
        }
        animation.textOffset = reader.U16();
        animation.textLength = reader.U16();
        if (static_cast<std::size_t>(animation.textOffset) + animation.textLength > bytes.size()) {
            *reason = Format("text of animation %ld out of file", static_cast<long>(i));
            return SpriteLoadResult::OutOfFile;
        }
        animation.text = bytes.subspan(animation.textOffset, animation.textLength);
    }
    return SpriteLoadResult::Ok;
}

}  // namespace

const SpriteMagic* FindSpriteMagic(std::string_view magic) {
    if (magic.size() < 4) {
        return nullptr;
    }
    for (const SpriteMagic& form : kMagics) {
        if (magic.substr(0, 4) == form.magic) {
            return &form;
        }
    }
    return nullptr;
}

SpriteLoadResult ReadSpriteContainer(std::span<const std::uint8_t> bytes, SpriteContainerFile* file,
                                     std::string* reason) {
    ByteReader reader(bytes);
    if (bytes.size() < 4) {
        *reason = Format("header cut short (%ld bytes)", static_cast<long>(bytes.size()));
        return SpriteLoadResult::BadHeader;
    }
    const std::span<const std::uint8_t> magic = reader.Span(4);
    const SpriteMagic* form = FindSpriteMagic(
        std::string_view(reinterpret_cast<const char*>(magic.data()), magic.size()));
    if (form == nullptr) {
        *reason =
            Format("unknown magic %02lX %02lX %02lX %02lX", magic[0], magic[1], magic[2], magic[3]);
        return SpriteLoadResult::BadMagic;
    }
    std::memcpy(file->magic, form->magic, 4);
    file->kind = form->kind;
    file->version = form->version;
    file->pointForm = form->pointForm;

    const std::size_t headerSize =
        kSpriteHeaderSize + (form->version == 5 ? kSpriteOffsetTableSize : 0);
    if (bytes.size() < headerSize) {
        *reason = Format("header cut short (%ld bytes)", static_cast<long>(bytes.size()));
        return SpriteLoadResult::BadHeader;
    }
    file->textureCount = reader.I16();
    file->partCount = reader.I16();
    file->frameCount = reader.I16();
    file->animationCount = reader.I16();
    if (file->textureCount < 0 || file->partCount < 0 || file->frameCount < 0 ||
        file->animationCount < 0) {
        *reason =
            Format("negative count (textures %ld, parts %ld, frames %ld, animations %ld)",
                   file->textureCount, file->partCount, file->frameCount, file->animationCount);
        return SpriteLoadResult::BadCount;
    }
    if (file->textureCount > kSpriteMaxTextures) {
        *reason = Format("%ld textures, at most 32", file->textureCount);
        return SpriteLoadResult::BadCount;
    }
    std::uint32_t table[6] = {};
    if (form->version == 5) {
        for (std::uint32_t& entry : table) {
            entry = reader.U32();
        }
    }

    if (!SeekSection(reader, *file, table, 1)) {
        *reason = "texture records out of file";
        return SpriteLoadResult::OutOfFile;
    }
    SpriteLoadResult result = ReadTextures(reader, file, reason);
    if (result != SpriteLoadResult::Ok) {
        return result;
    }
    if (file->pointForm != SpritePointForm::None) {
        if (!SeekSection(reader, *file, table, 2)) {
            *reason = "point lists out of file";
            return SpriteLoadResult::OutOfFile;
        }
        result = ReadPointLists(reader, file, reason);
        if (result != SpriteLoadResult::Ok) {
            return result;
        }
    }
    if (!SeekSection(reader, *file, table, 3)) {
        *reason = "part records out of file";
        return SpriteLoadResult::OutOfFile;
    }
    result = ReadParts(reader, file, reason);
    if (result != SpriteLoadResult::Ok) {
        return result;
    }
    if (!SeekSection(reader, *file, table, 5)) {
        *reason = "animation records out of file";
        return SpriteLoadResult::OutOfFile;
    }
    return ReadAnimations(reader, bytes, file, reason);
}
