#pragma once
// Internal to the presentation: ImGui's draw lists drawn through our Direct3D 9 device as
// indexed triangle lists of screen vertices, each command clipped by the scissor rectangle; the
// device's states are put back afterwards.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"

struct ImDrawData;

namespace ui_internal {

// A copy of one frame's draw lists, kept until it is drawn (and drawn again on a repaint).
struct DrawnFrame {
    struct Command {
        RECT clip;
        void* texture;  // the font atlas (null) or an IDirect3DTexture9
        std::uint32_t firstIndex;
        std::uint32_t indexCount;
    };
    struct List {
        std::vector<std::uint8_t> vertices;  // screen vertices, 28 bytes each
        std::vector<std::uint16_t> indices;
        std::vector<Command> commands;
        std::uint32_t vertexCount = 0;
    };
    std::vector<List> lists;
};

DrawnFrame CopyDrawData(const ImDrawData* data, float offsetX, float offsetY);

// Draws `frame` on `device` with `fontAtlas` for the commands that name no texture.
void DrawFrame(IDirect3DDevice9* device, const DrawnFrame& frame, IDirect3DTexture9* fontAtlas);

// A managed A8R8G8B8 texture of `width` x `height` from RGBA bytes (ImGui's order) or from ARGB
// words; null on failure.
IDirect3DTexture9* MakeTextureRgba(IDirect3DDevice9* device, const unsigned char* rgba, int width,
                                   int height);
IDirect3DTexture9* MakeTextureArgb(IDirect3DDevice9* device, const std::uint32_t* argb, int width,
                                   int height);

}  // namespace ui_internal
