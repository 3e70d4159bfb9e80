// Drawing: vertex formats, primitive assembly and the states handed to the rasteriser.

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/d3d9/device.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/rasterizer.h"
#include "platform/d3d9/surface.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_buffer.h"

namespace d3d9_internal {
namespace {

// Where the parts of a vertex lie; size 0 when the format is not one we draw.
struct VertexLayout {
    UINT size = 0;
    bool untransformed = false;
    int diffuse = -1;
    int texcoord = -1;
};

VertexLayout LayoutOf(DWORD fvf) {
    VertexLayout layout;
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position != D3DFVF_XYZRHW && position != D3DFVF_XYZ) {
        return layout;
    }
    layout.untransformed = position == D3DFVF_XYZ;
    UINT offset = layout.untransformed ? 12 : 16;
    if (fvf & D3DFVF_NORMAL) {
        if (!layout.untransformed) {
            return VertexLayout{};
        }
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) {
        offset += 4;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuse = static_cast<int>(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        offset += 4;
    }
    const UINT sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8) {
        return VertexLayout{};
    }
    for (UINT i = 0; i < sets; ++i) {
        if (i == 0) {
            layout.texcoord = static_cast<int>(offset);
        }
        // Two bits per set from bit 16: 0 two floats, 1 three, 2 four, 3 one.
        static constexpr UINT kFloats[4] = {2, 3, 4, 1};
        offset += 4 * kFloats[(fvf >> (16 + 2 * i)) & 3];
    }
    layout.size = offset;
    return layout;
}

bool VertexCountFor(D3DPRIMITIVETYPE type, UINT primitives, std::uint64_t* vertices) {
    switch (type) {
        case D3DPT_TRIANGLELIST:
            *vertices = std::uint64_t{primitives} * 3;
            return true;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            *vertices = std::uint64_t{primitives} + 2;
            return true;
        default:
            return false;
    }
}

float ReadFloat(const std::uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[i][k] * b.m[k][j];
            }
            r.m[i][j] = sum;
        }
    }
    return r;
}

}  // namespace

bool Device::BuildPipeline(PipelineState* state) {
    Surface* target = renderTarget_;
    if (target == nullptr) {
        return false;
    }
    state->target =
        RasterTarget{target->bytes(), target->pitch(), static_cast<int>(target->width()),
                     static_cast<int>(target->height()), target->format()};
    RECT clip{static_cast<LONG>(viewport_.X), static_cast<LONG>(viewport_.Y),
              static_cast<LONG>(viewport_.X + viewport_.Width),
              static_cast<LONG>(viewport_.Y + viewport_.Height)};
    clip.right = std::min<LONG>(clip.right, static_cast<LONG>(target->width()));
    clip.bottom = std::min<LONG>(clip.bottom, static_cast<LONG>(target->height()));
    if (renderStates_[D3DRS_SCISSORTESTENABLE]) {
        clip.left = std::max(clip.left, scissor_.left);
        clip.top = std::max(clip.top, scissor_.top);
        clip.right = std::min(clip.right, scissor_.right);
        clip.bottom = std::min(clip.bottom, scissor_.bottom);
    }
    state->zEnable = renderStates_[D3DRS_ZENABLE] != D3DZB_FALSE && depth_ != nullptr;
    if (state->zEnable) {
        state->depth = RasterDepth{depth_->words(), static_cast<int>(depth_->width()),
                                   static_cast<int>(depth_->width()),
                                   static_cast<int>(depth_->height()), DepthBits(depth_->format())};
    }
    if (clip.left >= clip.right || clip.top >= clip.bottom) {
        return false;
    }
    state->clipLeft = clip.left;
    state->clipTop = clip.top;
    state->clipRight = clip.right;
    state->clipBottom = clip.bottom;
    state->zWrite = renderStates_[D3DRS_ZWRITEENABLE] != FALSE;
    state->zFunc = renderStates_[D3DRS_ZFUNC];
    state->alphaTest = renderStates_[D3DRS_ALPHATESTENABLE] != FALSE;
    state->alphaFunc = renderStates_[D3DRS_ALPHAFUNC];
    state->alphaRef = renderStates_[D3DRS_ALPHAREF] & 0xFF;
    state->blend = renderStates_[D3DRS_ALPHABLENDENABLE] != FALSE;
    state->srcBlend = renderStates_[D3DRS_SRCBLEND];
    state->destBlend = renderStates_[D3DRS_DESTBLEND];
    state->blendOp = renderStates_[D3DRS_BLENDOP];
    state->colorWriteMask = renderStates_[D3DRS_COLORWRITEENABLE] & 0xF;
    state->cullMode = renderStates_[D3DRS_CULLMODE];
    state->flatShading = renderStates_[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
    state->textureFactor = renderStates_[D3DRS_TEXTUREFACTOR];

    const auto& stage = stageStates_[0];
    state->colorOp = stage[D3DTSS_COLOROP];
    state->colorArg1 = stage[D3DTSS_COLORARG1];
    state->colorArg2 = stage[D3DTSS_COLORARG2];
    state->alphaOp = stage[D3DTSS_ALPHAOP];
    state->alphaArg1 = stage[D3DTSS_ALPHAARG1];
    state->alphaArg2 = stage[D3DTSS_ALPHAARG2];
    state->hasTexture = textures_[0] != nullptr;
    if (state->hasTexture) {
        // Rendering into the texture that is being sampled reads its state before this draw.
        state->sampler = textures_[0]->SamplingView();
        const auto& sampler = samplerStates_[0];
        state->sampler.addressU = sampler[D3DSAMP_ADDRESSU];
        state->sampler.addressV = sampler[D3DSAMP_ADDRESSV];
        state->sampler.magFilter = sampler[D3DSAMP_MAGFILTER];
        state->sampler.minFilter = sampler[D3DSAMP_MINFILTER];
    }
    return true;
}

// Untransformed vertices: world, view and projection (row vectors), the divide by w and the
// viewport. Vertex colours are used as given (no lighting); a triangle with a vertex at or
// behind the eye is not drawn (no clipping).
void Device::TransformToScreen() {
    D3DMATRIX all;
    GetTransform(D3DTS_WORLD, &all);
    D3DMATRIX next;
    GetTransform(D3DTS_VIEW, &next);
    all = Multiply(all, next);
    GetTransform(D3DTS_PROJECTION, &next);
    all = Multiply(all, next);
    const float halfWidth = static_cast<float>(viewport_.Width) * 0.5f;
    const float halfHeight = static_cast<float>(viewport_.Height) * 0.5f;
    for (RasterVertex& v : scratchVertices_) {
        float clip[4];
        for (int j = 0; j < 4; ++j) {
            clip[j] = v.x * all.m[0][j] + v.y * all.m[1][j] + v.z * all.m[2][j] + all.m[3][j];
        }
        if (!(clip[3] > 0.0f)) {
            v.x = std::numeric_limits<float>::quiet_NaN();
            continue;
        }
        const float inverse = 1.0f / clip[3];
        v.x = static_cast<float>(viewport_.X) + (clip[0] * inverse + 1.0f) * halfWidth;
        v.y = static_cast<float>(viewport_.Y) + (1.0f - clip[1] * inverse) * halfHeight;
        v.z = viewport_.MinZ + clip[2] * inverse * (viewport_.MaxZ - viewport_.MinZ);
    }
}

HRESULT Device::DrawVertices(D3DPRIMITIVETYPE type, UINT primitiveCount,
                             const std::uint8_t* vertices, UINT vertexCount, UINT stride,
                             const void* indices, bool indices32) {
    const VertexLayout layout = LayoutOf(fvf_);
    if (layout.size == 0 || stride < layout.size) {
        return D3DERR_INVALIDCALL;
    }
    scratchVertices_.resize(vertexCount);
    for (UINT i = 0; i < vertexCount; ++i) {
        const std::uint8_t* v = vertices + static_cast<std::size_t>(i) * stride;
        RasterVertex& out = scratchVertices_[i];
        out.x = ReadFloat(v);
        out.y = ReadFloat(v + 4);
        out.z = ReadFloat(v + 8);
        out.diffuse = 0xFFFFFFFFu;
        if (layout.diffuse >= 0) {
            std::memcpy(&out.diffuse, v + layout.diffuse, 4);
        }
        out.u = layout.texcoord >= 0 ? ReadFloat(v + layout.texcoord) : 0.0f;
        out.v = layout.texcoord >= 0 ? ReadFloat(v + layout.texcoord + 4) : 0.0f;
    }
    if (layout.untransformed) {
        TransformToScreen();
    }
    PipelineState state;
    if (!BuildPipeline(&state)) {
        return D3D_OK;
    }
    auto index = [&](UINT n) -> UINT {
        if (indices == nullptr) {
            return n;
        }
        if (indices32) {
            std::uint32_t v;
            std::memcpy(&v, static_cast<const std::uint8_t*>(indices) + std::size_t{n} * 4, 4);
            return v;
        }
        std::uint16_t v;
        std::memcpy(&v, static_cast<const std::uint8_t*>(indices) + std::size_t{n} * 2, 2);
        return v;
    };
    const RasterVertex* v = scratchVertices_.data();
    if (type == D3DPT_TRIANGLESTRIP && primitiveCount == 2 && indices == nullptr &&
        DrawUprightQuad(state, {v[0], v[1], v[2], v[3]})) {
        renderTarget_->MarkWritten();
        return D3D_OK;
    }
    for (UINT p = 0; p < primitiveCount; ++p) {
        UINT a;
        UINT b;
        UINT c;
        switch (type) {
            case D3DPT_TRIANGLELIST:
                a = index(3 * p);
                b = index(3 * p + 1);
                c = index(3 * p + 2);
                break;
            case D3DPT_TRIANGLESTRIP:
                a = index(p);
                b = index(p + 1);
                c = index(p + 2);
                break;
            default:  // fan
                a = index(0);
                b = index(p + 1);
                c = index(p + 2);
                break;
        }
        DrawTriangle(state, v[a], v[b], v[c], type == D3DPT_TRIANGLESTRIP && (p & 1) != 0);
    }
    renderTarget_->MarkWritten();
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    std::uint64_t count = 0;
    if (primitiveCount == 0 || !VertexCountFor(type, primitiveCount, &count) ||
        stream_ == nullptr || streamStride_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    const VertexLayout layout = LayoutOf(fvf_);
    const std::uint64_t end = std::uint64_t{streamOffset_} +
                              (std::uint64_t{startVertex} + count - 1) * streamStride_ +
                              layout.size;
    if (layout.size == 0 || end > stream_->length()) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint8_t* first =
        stream_->data() + streamOffset_ + std::uint64_t{startVertex} * streamStride_;
    return DrawVertices(type, primitiveCount, first, static_cast<UINT>(count), streamStride_,
                        nullptr, false);
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                UINT stride) {
    std::uint64_t count = 0;
    if (primitiveCount == 0 || vertexData == nullptr ||
        !VertexCountFor(type, primitiveCount, &count) || count > 0xFFFFFFu) {
        return D3DERR_INVALIDCALL;
    }
    // The stream binding does not survive a draw from user memory.
    SetStreamSource(0, nullptr, 0, 0);
    return DrawVertices(type, primitiveCount, static_cast<const std::uint8_t*>(vertexData),
                        static_cast<UINT>(count), stride, nullptr, false);
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices,
                                       UINT primitiveCount, const void* indexData,
                                       D3DFORMAT indexFormat, const void* vertexData, UINT stride) {
    std::uint64_t count = 0;
    if (primitiveCount == 0 || indexData == nullptr || vertexData == nullptr || numVertices == 0 ||
        !VertexCountFor(type, primitiveCount, &count) || count > 0xFFFFFFu ||
        (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32)) {
        return D3DERR_INVALIDCALL;
    }
    // Every index must name one of the vertices the caller said it passes.
    const bool wide = indexFormat == D3DFMT_INDEX32;
    std::vector<std::uint32_t> local(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < local.size(); ++i) {
        std::uint32_t value = 0;
        if (wide) {
            std::memcpy(&value, static_cast<const std::uint8_t*>(indexData) + i * 4, 4);
        } else {
            std::uint16_t narrow;
            std::memcpy(&narrow, static_cast<const std::uint8_t*>(indexData) + i * 2, 2);
            value = narrow;
        }
        if (value < minVertexIndex || value - minVertexIndex >= numVertices) {
            return D3DERR_INVALIDCALL;
        }
        local[i] = value - minVertexIndex;
    }
    SetStreamSource(0, nullptr, 0, 0);
    const auto* first = static_cast<const std::uint8_t*>(vertexData) +
                        static_cast<std::size_t>(minVertexIndex) * stride;
    return DrawVertices(type, primitiveCount, first, numVertices, stride, local.data(), true);
}

}  // namespace d3d9_internal
