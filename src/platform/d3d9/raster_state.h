#pragma once
// What the rasteriser needs of the device's states for one draw call: the target, the depth
// buffer, the clip rectangle, the texture stage and sampler, and the output merger.

#include <cstdint>

#include "platform/d3d9/d3d9_types.h"

namespace d3d9_internal {

// A pre-transformed vertex as the rasteriser sees it; positions in pixels of the target, whose
// pixel centres lie on whole coordinates. `q` is 1/w (the rhw of a pre-transformed vertex):
// where it differs between a triangle's vertices, texture coordinates are interpolated with
// perspective correction.
struct RasterVertex {
    float x;
    float y;
    float z;
    float q;
    std::uint32_t diffuse;
    float u;
    float v;
};

struct RasterTarget {
    std::uint8_t* bits = nullptr;
    int pitch = 0;  // bytes
    int width = 0;
    int height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
};

// A depth buffer smaller than the target tests and writes only where it reaches; the pixels
// beyond it are drawn as if the depth test were off.
struct RasterDepth {
    std::uint32_t* values = nullptr;  // null: no depth buffer
    int pitch = 0;                    // values
    int width = 0;
    int height = 0;
    int bits = 24;
};

// Level 0 of the bound texture as A8R8G8B8.
struct SamplerView {
    const std::uint32_t* texels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // texels
    DWORD addressU = D3DTADDRESS_WRAP;
    DWORD addressV = D3DTADDRESS_WRAP;
    DWORD magFilter = D3DTEXF_POINT;
    DWORD minFilter = D3DTEXF_POINT;
    // 0xFF000000 for X8R8G8B8 texels, read as stored and made opaque by every sample.
    std::uint32_t alphaOr = 0;
};

struct PipelineState {
    RasterTarget target;
    RasterDepth depth;
    // Pixels that may be written: viewport, target, depth buffer and scissor intersected.
    int clipLeft = 0;
    int clipTop = 0;
    int clipRight = 0;
    int clipBottom = 0;

    bool zEnable = false;
    bool zWrite = false;
    DWORD zFunc = D3DCMP_LESSEQUAL;
    bool alphaTest = false;
    DWORD alphaFunc = D3DCMP_ALWAYS;
    std::uint32_t alphaRef = 0;
    bool blend = false;
    DWORD srcBlend = D3DBLEND_ONE;
    DWORD destBlend = D3DBLEND_ZERO;
    DWORD blendOp = D3DBLENDOP_ADD;
    DWORD colorWriteMask = 0xF;  // bit 0 red, 1 green, 2 blue, 3 alpha

    // Stage 0. Without a texture the stage passes the diffuse colour through unchanged.
    bool hasTexture = false;
    SamplerView sampler;
    DWORD colorOp = D3DTOP_MODULATE;
    DWORD colorArg1 = D3DTA_TEXTURE;
    DWORD colorArg2 = D3DTA_CURRENT;
    DWORD alphaOp = D3DTOP_SELECTARG1;
    DWORD alphaArg1 = D3DTA_TEXTURE;
    DWORD alphaArg2 = D3DTA_CURRENT;
    std::uint32_t textureFactor = 0xFFFFFFFF;

    DWORD cullMode = D3DCULL_CCW;
    bool flatShading = false;
};

}  // namespace d3d9_internal
