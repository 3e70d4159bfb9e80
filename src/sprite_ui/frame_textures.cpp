#include "sprite_ui/frame_textures.h"

#include <cstdio>
#include <string>

#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/texture.h"
#include "platform/winbase/shell_path.h"

namespace {

FrameTextures defaultSet{};

constexpr DWORD kFrameTextureFilter = 1;  // D3DX_FILTER_NONE

// "frame.png" with the digit i before ".png"; the digit goes last when there is no extension.
std::string FrameImageName(const char* path, int i) {
    const char* extension = PathFindExtensionA(path);
    std::string name(path, static_cast<std::size_t>(extension - path));
    char tail[8];
    std::snprintf(tail, sizeof tail, "%d", i);
    name += tail;
    name += extension;
    return name;
}

}  // namespace

void ReleaseFrameTextureSet(FrameTextures& set) {
    for (D3DTexture*& texture : set) {
        if (texture != nullptr) {
            texture->Release();
            texture = nullptr;
        }
    }
}

void LoadFrameTextureSet(FrameTextures& set, const char* path) {
    for (int i = 0; i < kFrameTextureCount; ++i) {
        D3DTexture*& slot = set[static_cast<std::size_t>(i)];
        if (slot != nullptr) {
            slot->Release();
            slot = nullptr;
        }
        if (path == nullptr) {
            continue;
        }
        const std::string name = FrameImageName(path, i);
        if (name.size() >= kPathLength) {
            LogPrintf("FrameTextures: error. path too long(%s)", path);
            continue;
        }
        if (FileExists(name.c_str()) == 0) {
            continue;
        }
        if (FAILED(D3D_LoadTexture(name.c_str(), &slot, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                   kFrameTextureFilter)) &&
            slot != nullptr) {
            slot->Release();
            slot = nullptr;
        }
    }
}

void LoadFrameTextures(const char* path) {
    LoadFrameTextureSet(defaultSet, path);
}

void ReleaseDefaultFrameTextures() {
    ReleaseFrameTextureSet(defaultSet);
}

const FrameTextures& DefaultFrameTextures() {
    return defaultSet;
}
