#include "platform/ui/device_textures.h"

#include <imgui.h>

#include <map>

#include "platform/ui/imgui_renderer.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/icon_api.h"

namespace ui_internal {
namespace {

struct Kept {
    IDirect3DTexture9* font = nullptr;
    int fontGeneration = -1;
    std::map<HICON, IDirect3DTexture9*> icons;
};

std::map<IDirect3DDevice9*, Kept> kept;

template <typename Resource>
bool BelongsTo(Resource* resource, IDirect3DDevice9* device) {
    IDirect3DDevice9* owner = nullptr;
    if (resource == nullptr || FAILED(resource->GetDevice(&owner))) {
        return false;
    }
    owner->Release();
    return owner == device;
}

template <typename Resource>
void Drop(Resource*& resource) {
    if (resource != nullptr) {
        resource->Release();
        resource = nullptr;
    }
}

void DropAll(Kept& entry) {
    Drop(entry.font);
    for (auto& [icon, texture] : entry.icons) {
        Drop(texture);
    }
    entry.icons.clear();
    entry.fontGeneration = -1;
}

// The entry of `device`, emptied when what it holds belongs to another device.
Kept& EntryOf(IDirect3DDevice9* device) {
    Kept& entry = kept[device];
    const bool stale = (entry.font != nullptr && !BelongsTo(entry.font, device)) ||
                       (!entry.icons.empty() && !BelongsTo(entry.icons.begin()->second, device));
    if (stale) {
        DropAll(entry);
    }
    return entry;
}

}  // namespace

IDirect3DTexture9* FontTexture(IDirect3DDevice9* device) {
    BuildFontAtlas();
    Kept& entry = EntryOf(device);
    if (entry.font == nullptr || entry.fontGeneration != FontAtlasGeneration()) {
        Drop(entry.font);
        unsigned char* pixels = nullptr;
        int width = 0;
        int height = 0;
        ImGui::GetIO().Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
        entry.font = MakeTextureRgba(device, pixels, width, height);
        entry.fontGeneration = FontAtlasGeneration();
    }
    return entry.font;
}

IDirect3DTexture9* IconTexture(IDirect3DDevice9* device, HICON icon) {
    Kept& entry = EntryOf(device);
    if (auto found = entry.icons.find(icon); found != entry.icons.end()) {
        return found->second;
    }
    const std::uint32_t* pixels = Win32IconPixels(icon);
    if (pixels == nullptr) {
        return nullptr;
    }
    IDirect3DTexture9* texture = MakeTextureArgb(device, pixels, kIconSize, kIconSize);
    if (texture != nullptr) {
        entry.icons[icon] = texture;
    }
    return texture;
}

void ReleaseDeviceTextures(IDirect3DDevice9* device) {
    if (auto found = kept.find(device); found != kept.end()) {
        DropAll(found->second);
        kept.erase(found);
    }
}

void ReleaseAllDeviceTextures() {
    for (auto& [device, entry] : kept) {
        DropAll(entry);
    }
    kept.clear();
}

}  // namespace ui_internal
