// SpriteData records: the list, loading a container into one, and releasing it.

#include <algorithm>
#include <cstring>

#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "foundation/text.h"
#include "media/graphics/texture.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/shell_path.h"
#include "sprite_ui/sprite.h"
#include "sprite_ui/sprite_anim_compiler.h"

namespace {

// Creation flags of the sounds of animations: volume control, static buffer.
constexpr DWORD kSpriteSoundFlags = 0x88;

std::vector<SpriteData*>& MutableList() {
    static std::vector<SpriteData*> list;
    return list;
}

// Makes the sound of a sound item in the next free slot.
int MakeSound(const std::string& name, void* context) {
    auto* data = static_cast<SpriteData*>(context);
    if (data->soundCount >= kSpriteMaxSounds) {
        return -1;
    }
    DSSound* sound = nullptr;
    if (FAILED(CreateSound(GetPath(PathKind::Sound, name.c_str()), &sound, kSpriteSoundFlags, 0)) ||
        sound == nullptr) {
        return -1;
    }
    data->sounds[data->soundCount] = sound;
    return data->soundCount++;
}

SpriteLoadResult Refuse(const char* path, SpriteLoadResult result, const std::string& reason) {
    LogPrintf("ISprite::Load: %s: %s", path, reason.c_str());
    return result;
}

SpriteLoadResult LoadTextures(const char* path, const SpriteContainerFile& file, SpriteData* data) {
    const std::string folder(path, static_cast<std::size_t>(PathFindFileNameA(path) - path));
    for (std::size_t i = 0; i < file.textures.size(); ++i) {
        const SpriteTextureRecord& record = file.textures[i];
        data->drawModes[i] = record.drawMode;
        const std::string texturePath = folder + record.name;
        if (texturePath.size() > kSpriteTexturePathLength) {
            return Refuse(path, SpriteLoadResult::TextureFailed,
                          "texture " + std::to_string(i) + " path over 259 characters");
        }
        D3DTexture* texture = nullptr;
        const HRESULT hr = D3D_LoadTexture(texturePath.c_str(), &texture, 0, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, 1);
        if (FAILED(hr)) {
            if (texture != nullptr) {
                texture->Release();
            }
            return Refuse(path, SpriteLoadResult::TextureFailed,
                          "texture " + std::to_string(i) + " \"" + record.name + "\" not loaded");
        }
        data->textures[i] = texture;
    }
    return SpriteLoadResult::Ok;
}

void CopyPointLists(const SpriteContainerFile& file, SpriteData* data) {
    if (file.pointForm == SpritePointForm::None) {
        return;
    }
    data->pointStore = file.points;
    data->pointLists.resize(file.pointCounts.size());
    for (std::size_t i = 0; i < file.pointCounts.size(); ++i) {
        SpritePointList& list = data->pointLists[i];
        list.count = file.pointCounts[i];
        list.points = list.count > 0 ? data->pointStore.data() + file.pointStarts[i] : nullptr;
    }
}

void CopyParts(const char* path, const SpriteContainerFile& file, SpriteData* data) {
    data->parts.resize(file.parts.size());
    for (std::size_t i = 0; i < file.parts.size(); ++i) {
        const SpritePartRecord& record = file.parts[i];
        SpritePart& part = data->parts[i];
        part.frame = record.frame;
        part.texture = record.texture;
        part.destX = record.destX;
        part.destY = record.destY;
        part.source = {record.sourceX, record.sourceY, record.sourceX + record.width,
                       record.sourceY + record.height};
        part.drawable = record.texture < file.textures.size();
        if (!part.drawable) {
            LogPrintf("ISprite::Load: %s: part %zu names texture %u of %d; it is not drawn", path,
                      i, record.texture, file.textureCount);
        }
    }
}

SpriteLoadResult CompileAnimations(const char* path, const SpriteContainerFile& file,
                                   SpriteData* data) {
    std::vector<std::uint16_t> codes;
    for (std::size_t i = 0; i < file.animations.size(); ++i) {
        const SpriteAnimationRecord& record = file.animations[i];
        const std::size_t used = data->animCode.size() * 2;
        const AnimCompileResult result = CompileAnimationText(
            record.text, file.kind, MakeSound, data, (kSpriteCodeBytes - used) / 2, &codes);
        if (result.status == AnimCompileStatus::Aborted) {
            LogPrintf("ISprite::Load: %s: animation \"%s\" stops at byte %zu: %s", path,
                      record.name.c_str(), result.offset, result.reason);
        }
        if (result.status == AnimCompileStatus::TooLarge ||
            !AppendAnimEntry(&data->animCode, record.name, codes)) {
            return Refuse(path, SpriteLoadResult::CodeTooLarge,
                          "animation code passes 65536 bytes at animation " + std::to_string(i));
        }
    }
    data->animCode.shrink_to_fit();
    return SpriteLoadResult::Ok;
}

SpriteLoadResult Build(const char* path, const SpriteContainerFile& file, SpriteData* data) {
    data->textureCount = file.textureCount;
    data->partCount = file.partCount;
    data->frameCount = file.frameCount;
    data->animationCount = file.animationCount;
    data->kind = file.kind;
    SpriteLoadResult result = LoadTextures(path, file, data);
    if (result != SpriteLoadResult::Ok) {
        return result;
    }
    CopyPointLists(file, data);
    CopyParts(path, file, data);
    return CompileAnimations(path, file, data);
}

}  // namespace

SpriteData::SpriteData() {
    MutableList().push_back(this);
}

SpriteData::~SpriteData() {
    auto& list = MutableList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void SpriteData::ReleaseContents() {
    for (D3DTexture*& texture : textures) {
        if (texture != nullptr) {
            texture->Release();
            texture = nullptr;
        }
    }
    for (DSSound*& sound : sounds) {
        if (sound != nullptr) {
            sound->Release();
            sound = nullptr;
        }
    }
    std::fill(std::begin(drawModes), std::end(drawModes), 0u);
    textureCount = partCount = frameCount = animationCount = soundCount = 0;
    kind = kSpriteKind2D;
    pointLists.clear();
    pointStore.clear();
    parts.clear();
    animCode.clear();
}

const std::vector<SpriteData*>& SpriteDataList() {
    return MutableList();
}

SpriteData* FindSpriteData(const char* name) {
    for (SpriteData* data : MutableList()) {
        if (CompareNoCase(data->name, name) == 0) {
            return data;
        }
    }
    return nullptr;
}

SpriteLoadResult LoadSpriteContainer(const char* path, SpriteData* data,
                                     SpriteContainerCopy* keep) {
    data->ReleaseContents();
    DWORD size = 0;
    BYTE* buffer = LoadFile(path, &size, 0);
    if (buffer == nullptr) {
        return SpriteLoadResult::NoFile;
    }
    SpriteContainerFile local;
    SpriteContainerFile* file = &local;
    std::span<const std::uint8_t> bytes(buffer, size);
    if (keep != nullptr) {
        keep->bytes.assign(bytes.begin(), bytes.end());
        keep->file = {};
        file = &keep->file;
        bytes = keep->bytes;
    }
    std::string reason;
    SpriteLoadResult result = ReadSpriteContainer(bytes, file, &reason);
    if (result != SpriteLoadResult::Ok) {
        Refuse(path, result, reason);
    } else {
        result = Build(path, *file, data);
    }
    LocalFree(buffer);
    if (result != SpriteLoadResult::Ok) {
        data->ReleaseContents();
    }
    return result;
}

int ISprite::Load(const char* path, SpriteData* data) {
    return LoadSpriteContainer(path, data, nullptr) == SpriteLoadResult::Ok ? 1 : 0;
}

int ISprite::ReleaseData(SpriteData* data) {
    if (data == nullptr) {
        return 0;
    }
    const std::int32_t count = --data->refCount;
    if (count > 0) {
        return count;
    }
    data->ReleaseContents();
    delete data;
    return 0;
}
