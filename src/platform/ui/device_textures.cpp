#include "platform/ui/device_textures.h"

#include <imgui.h>

#include <map>

#include "platform/d3d9/present_overlay.h"
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

void ReleaseKeptOn(IDirect3DDevice9* device) {
    if (auto found = kept.find(device); found != kept.end()) {
        DropAll(found->second);
        kept.erase(found);
    }
}

// The entry of `device`. From the first entry on, each device's entry is released as its device
// goes, so that nothing kept outlives its device and a new device at a dead one's address starts
// with nothing kept.
Kept& EntryOf(IDirect3DDevice9* device) {
    static const bool observing = [] {
        d3d9_internal::SetDeviceEndObserver(ReleaseKeptOn);
        return true;
    }();
    static_cast<void>(observing);
    return kept[device];
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

}  // namespace ui_internal
