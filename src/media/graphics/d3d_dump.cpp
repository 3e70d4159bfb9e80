#include "media/graphics/d3d_dump.h"

#include <cstdint>
#include <string>

#include "foundation/log.h"
#include "foundation/text.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/format_names.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "media/mesh/mesh_dump.h"

namespace {

constexpr const char* kHeader =
    "Ptr        Ref          Size   Pool          Format              Name";

void WriteTableHead() {
    LogPrintf("%s", kHeader);
    LogPrintf("%s", std::string(91, '-').c_str());
}

void WriteMemoryLines(IDirect3DDevice9* device) {
    // Video memory is what the device reports free for textures; there is no separate local,
    // non-local or texture heap on this platform.
    const std::int64_t available = device->GetAvailableTextureMem();
    LogPrintf("\n%-24s: %s", "AvailableTextureMem", FormatByteSize(available));
    const struct {
        const char* label;
        std::int64_t total;
    } heaps[] = {{"Video Memory", available},
                 {"Local Video Memory", available},
                 {"Non-Local Video Memory", 0},
                 {"Texture Memory", available}};
    for (const auto& heap : heaps) {
        // Our device reserves nothing up front: all of each heap is free.
        const std::string total = FormatByteSize(heap.total);
        LogPrintf("%-24s: %s(free: %s)", heap.label, total.c_str(), total.c_str());
    }
}

void WriteTextures() {
    const auto& textures = TextureList();
    LogPrintf("\nTexture Count: %d", static_cast<int>(textures.size()));
    if (textures.empty()) {
        return;
    }
    WriteTableHead();
    for (const D3DTexture* texture : textures) {
        D3DFORMAT format = D3DFMT_UNKNOWN;
        D3DSURFACE_DESC desc{};
        if (texture->texture != nullptr && SUCCEEDED(texture->texture->GetLevelDesc(0, &desc))) {
            format = desc.Format;
        }
        LogPrintf("%08x   %3d   %4d x %4d   %-11s   %-18s  %s", DumpAddress(texture),
                  static_cast<int>(texture->refCount), static_cast<int>(texture->width),
                  static_cast<int>(texture->height), D3D_GetPoolName(texture->pool),
                  D3D_GetFormatName(format, nullptr),
                  texture->name.empty() ? "(no name)" : texture->name.c_str());
    }
}

void WritePlanes() {
    const auto& planes = PlaneList();
    LogPrintf("\nPlane Count: %d", static_cast<int>(planes.size()));
    if (planes.empty()) {
        return;
    }
    WriteTableHead();
    for (const D3DPlane* plane : planes) {
        const char* name = plane->name.empty() ? "(no name)" : plane->name.c_str();
        D3DSURFACE_DESC desc{};
        D3DVERTEXBUFFER_DESC bufferDesc{};
        if (plane->surface != nullptr && plane->pool == D3DPOOL_DEFAULT &&
            SUCCEEDED(plane->surface->GetDesc(&desc))) {
            LogPrintf("%08x   %3d   %4d x %4d   %-11s   %-18s  %s", DumpAddress(plane),
                      static_cast<int>(plane->refCount), static_cast<int>(plane->width),
                      static_cast<int>(plane->height), D3D_GetPoolName(plane->pool),
                      D3D_GetFormatName(desc.Format, nullptr), name);
        } else if (plane->vertexBuffer != nullptr &&
                   SUCCEEDED(plane->vertexBuffer->GetDesc(&bufferDesc))) {
            LogPrintf("%08x   %3d   %7d FVF   %-11s   ->%08x          %s", DumpAddress(plane),
                      static_cast<int>(plane->refCount), static_cast<int>(plane->vertexCount),
                      D3D_GetPoolName(bufferDesc.Pool), DumpAddress(plane->texture), name);
        } else {
            LogPrintf("%08x   %3d   Empty plane.                                    %s",
                      DumpAddress(plane), static_cast<int>(plane->refCount), name);
        }
    }
}

}  // namespace

unsigned DumpAddress(const void* object) {
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(object));
}

void D3DDump(DWORD mask) {
    if ((mask & 1) != 0 && D3DApp != nullptr && D3DApp->device != nullptr) {
        WriteMemoryLines(D3DApp->device.get());
    }
    if ((mask & 4) != 0) {
        WriteTextures();
    }
    if ((mask & 8) != 0) {
        WritePlanes();
    }
    D3DDumpMeshes(mask);
}
