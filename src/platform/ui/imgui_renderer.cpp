#include "platform/ui/imgui_renderer.h"

#include <imgui.h>

#include <cstring>

namespace ui_internal {
namespace {

constexpr DWORD kScreenVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct ScreenVertex {
    float x, y, z, rhw;
    std::uint32_t colour;  // A8R8G8B8
    float u, v;
};
static_assert(sizeof(ScreenVertex) == 28);

constexpr D3DRENDERSTATETYPE kRenderStates[] = {
    D3DRS_ALPHABLENDENABLE,  D3DRS_SRCBLEND,     D3DRS_DESTBLEND,
    D3DRS_ZENABLE,           D3DRS_ZWRITEENABLE, D3DRS_CULLMODE,
    D3DRS_SCISSORTESTENABLE, D3DRS_FOGENABLE,    D3DRS_ALPHATESTENABLE,
};
constexpr DWORD kRenderValues[] = {
    TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, FALSE, FALSE, D3DCULL_NONE, TRUE, FALSE, FALSE,
};
constexpr D3DTEXTURESTAGESTATETYPE kStageStates[] = {
    D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2,
    D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2,
};
constexpr DWORD kStageValues[] = {
    D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
};

// ImGui's colours are A8B8G8R8.
std::uint32_t ToArgb(ImU32 abgr) {
    return (abgr & 0xFF00FF00u) | ((abgr & 0xFFu) << 16) | ((abgr >> 16) & 0xFFu);
}

IDirect3DTexture9* MakeTexture(IDirect3DDevice9* device, int width, int height,
                               D3DLOCKED_RECT* locked) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, 0,
                                     D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr))) {
        return nullptr;
    }
    if (FAILED(texture->LockRect(0, locked, nullptr, 0))) {
        texture->Release();
        return nullptr;
    }
    return texture;
}

}  // namespace

DrawnFrame CopyDrawData(const ImDrawData* data, float offsetX, float offsetY) {
    DrawnFrame frame;
    if (data == nullptr) {
        return frame;
    }
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* source = data->CmdLists[n];
        DrawnFrame::List list;
        list.vertexCount = static_cast<std::uint32_t>(source->VtxBuffer.Size);
        list.vertices.resize(list.vertexCount * sizeof(ScreenVertex));
        for (int i = 0; i < source->VtxBuffer.Size; ++i) {
            const ImDrawVert& v = source->VtxBuffer[i];
            // Pixel centres lie on whole coordinates here, half a pixel from ImGui's.
            const ScreenVertex out{v.pos.x + offsetX - 0.5f,
                                   v.pos.y + offsetY - 0.5f,
                                   0.0f,
                                   1.0f,
                                   ToArgb(v.col),
                                   v.uv.x,
                                   v.uv.y};
            std::memcpy(list.vertices.data() + static_cast<std::size_t>(i) * sizeof out, &out,
                        sizeof out);
        }
        list.indices.assign(source->IdxBuffer.Data,
                            source->IdxBuffer.Data + source->IdxBuffer.Size);
        for (const ImDrawCmd& command : source->CmdBuffer) {
            if (command.UserCallback != nullptr || command.ElemCount == 0) {
                continue;
            }
            const RECT clip{static_cast<LONG>(command.ClipRect.x + offsetX),
                            static_cast<LONG>(command.ClipRect.y + offsetY),
                            static_cast<LONG>(command.ClipRect.z + offsetX),
                            static_cast<LONG>(command.ClipRect.w + offsetY)};
            list.commands.push_back(
                {clip, command.TextureId, command.IdxOffset, command.ElemCount});
        }
        frame.lists.push_back(std::move(list));
    }
    return frame;
}

void DrawFrame(IDirect3DDevice9* device, const DrawnFrame& frame, IDirect3DTexture9* fontAtlas) {
    if (device == nullptr || frame.lists.empty()) {
        return;
    }
    DWORD savedRender[std::size(kRenderStates)];
    DWORD savedStage[std::size(kStageStates)];
    DWORD savedMin = 0;
    DWORD savedMag = 0;
    DWORD savedFvf = 0;
    RECT savedScissor{};
    IDirect3DBaseTexture9* savedTexture = nullptr;
    for (std::size_t i = 0; i < std::size(kRenderStates); ++i) {
        device->GetRenderState(kRenderStates[i], &savedRender[i]);
        device->SetRenderState(kRenderStates[i], kRenderValues[i]);
    }
    for (std::size_t i = 0; i < std::size(kStageStates); ++i) {
        device->GetTextureStageState(0, kStageStates[i], &savedStage[i]);
        device->SetTextureStageState(0, kStageStates[i], kStageValues[i]);
    }
    device->GetSamplerState(0, D3DSAMP_MINFILTER, &savedMin);
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &savedMag);
    device->GetFVF(&savedFvf);
    device->GetScissorRect(&savedScissor);
    device->GetTexture(0, &savedTexture);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetFVF(kScreenVertexFormat);
    for (const DrawnFrame::List& list : frame.lists) {
        for (const DrawnFrame::Command& command : list.commands) {
            if (command.clip.right <= command.clip.left ||
                command.clip.bottom <= command.clip.top ||
                command.firstIndex + command.indexCount > list.indices.size()) {
                continue;
            }
            device->SetScissorRect(&command.clip);
            device->SetTexture(0, command.texture != nullptr
                                      ? static_cast<IDirect3DTexture9*>(command.texture)
                                      : fontAtlas);
            device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, list.vertexCount,
                                           command.indexCount / 3,
                                           list.indices.data() + command.firstIndex, D3DFMT_INDEX16,
                                           list.vertices.data(), sizeof(ScreenVertex));
        }
    }
    for (std::size_t i = 0; i < std::size(kRenderStates); ++i) {
        device->SetRenderState(kRenderStates[i], savedRender[i]);
    }
    for (std::size_t i = 0; i < std::size(kStageStates); ++i) {
        device->SetTextureStageState(0, kStageStates[i], savedStage[i]);
    }
    device->SetSamplerState(0, D3DSAMP_MINFILTER, savedMin);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, savedMag);
    device->SetFVF(savedFvf);
    device->SetScissorRect(&savedScissor);
    device->SetTexture(0, savedTexture);
    if (savedTexture != nullptr) {
        savedTexture->Release();
    }
}

IDirect3DTexture9* MakeTextureRgba(IDirect3DDevice9* device, const unsigned char* rgba, int width,
                                   int height) {
    D3DLOCKED_RECT locked{};
    IDirect3DTexture9* texture = MakeTexture(device, width, height, &locked);
    if (texture == nullptr) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                     static_cast<std::ptrdiff_t>(y) * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = rgba + (static_cast<std::size_t>(y) * width + x) * 4;
            row[x] = (static_cast<std::uint32_t>(p[3]) << 24) |
                     (static_cast<std::uint32_t>(p[0]) << 16) |
                     (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
        }
    }
    texture->UnlockRect(0);
    return texture;
}

IDirect3DTexture9* MakeTextureArgb(IDirect3DDevice9* device, const std::uint32_t* argb, int width,
                                   int height) {
    D3DLOCKED_RECT locked{};
    IDirect3DTexture9* texture = MakeTexture(device, width, height, &locked);
    if (texture == nullptr) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(locked.pBits) +
                        static_cast<std::ptrdiff_t>(y) * locked.Pitch,
                    argb + static_cast<std::size_t>(y) * width,
                    static_cast<std::size_t>(width) * 4);
    }
    texture->UnlockRect(0);
    return texture;
}

}  // namespace ui_internal
