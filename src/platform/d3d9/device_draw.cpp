// Drawing: primitive assembly, index checks and the states handed to the rasteriser.

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/d3d9/device.h"
#include "platform/d3d9/index_buffer.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/rasterizer.h"
#include "platform/d3d9/surface.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_buffer.h"
#include "platform/d3d9/vertex_processing.h"

namespace d3d9_internal {
namespace {

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

void Device::FillVertexStage(VertexStageState* stage) {
    GetTransform(D3DTS_WORLD, &stage->world);
    GetTransform(D3DTS_VIEW, &stage->view);
    GetTransform(D3DTS_PROJECTION, &stage->projection);
    stage->viewport = viewport_;
    stage->lighting = renderStates_[D3DRS_LIGHTING] != FALSE;
    stage->colorVertex = renderStates_[D3DRS_COLORVERTEX] != FALSE;
    stage->normalizeNormals = renderStates_[D3DRS_NORMALIZENORMALS] != FALSE;
    stage->diffuseSource = renderStates_[D3DRS_DIFFUSEMATERIALSOURCE];
    stage->ambientSource = renderStates_[D3DRS_AMBIENTMATERIALSOURCE];
    stage->emissiveSource = renderStates_[D3DRS_EMISSIVEMATERIALSOURCE];
    stage->ambient = renderStates_[D3DRS_AMBIENT];
    stage->material = material_;
    stage->lights.clear();
    for (const auto& [index, slot] : lights_) {
        if (slot.enabled) {
            stage->lights.push_back(slot.light);
        }
    }
}

bool Device::RebaseIndices(const std::uint8_t* data, bool wide, std::uint64_t count,
                           std::int64_t base, std::int64_t minVertex, UINT numVertices) {
    scratchIndices_.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < scratchIndices_.size(); ++i) {
        std::int64_t value = 0;
        if (wide) {
            std::uint32_t v;
            std::memcpy(&v, data + i * 4, 4);
            value = v;
        } else {
            std::uint16_t v;
            std::memcpy(&v, data + i * 2, 2);
            value = v;
        }
        const std::int64_t local = value + base - minVertex;
        if (local < 0 || local >= std::int64_t{numVertices}) {
            return false;
        }
        scratchIndices_[i] = static_cast<std::uint32_t>(local);
    }
    return true;
}

HRESULT Device::DrawVertices(D3DPRIMITIVETYPE type, UINT primitiveCount,
                             const std::uint8_t* vertices, UINT vertexCount, UINT stride,
                             bool indexed) {
    const VertexLayout layout = LayoutOf(fvf_);
    if (layout.size == 0 || stride < layout.size) {
        return D3DERR_INVALIDCALL;
    }
    VertexStageState stage;
    if (layout.untransformed) {
        FillVertexStage(&stage);
    }
    ProcessVertices(layout, vertices, vertexCount, stride, stage, &scratchVertices_);
    PipelineState state;
    if (!BuildPipeline(&state)) {
        return D3D_OK;
    }
    const std::uint32_t* order = indexed ? scratchIndices_.data() : nullptr;
    auto index = [order](UINT n) -> UINT { return order != nullptr ? order[n] : n; };
    const RasterVertex* v = scratchVertices_.data();
    if (type == D3DPT_TRIANGLESTRIP && primitiveCount == 2 && !indexed &&
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
                        false);
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
                        static_cast<UINT>(count), stride, false);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                     UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                     UINT primitiveCount) {
    std::uint64_t count = 0;
    if (primitiveCount == 0 || numVertices == 0 || !VertexCountFor(type, primitiveCount, &count) ||
        count > 0xFFFFFFu || stream_ == nullptr || streamStride_ == 0 || indices_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const VertexLayout layout = LayoutOf(fvf_);
    const std::int64_t firstVertex = std::int64_t{baseVertexIndex} + minVertexIndex;
    if (layout.size == 0 || firstVertex < 0 ||
        std::uint64_t{startIndex} + count > indices_->count()) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t end =
        std::uint64_t{streamOffset_} +
        (static_cast<std::uint64_t>(firstVertex) + numVertices - 1) * streamStride_ + layout.size;
    if (end > stream_->length()) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t indexBytes = indices_->wide() ? 4 : 2;
    if (!RebaseIndices(indices_->data() + std::size_t{startIndex} * indexBytes, indices_->wide(),
                       count, baseVertexIndex, firstVertex, numVertices)) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint8_t* first =
        stream_->data() + streamOffset_ + static_cast<std::uint64_t>(firstVertex) * streamStride_;
    return DrawVertices(type, primitiveCount, first, numVertices, streamStride_, true);
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
    if (!RebaseIndices(static_cast<const std::uint8_t*>(indexData), indexFormat == D3DFMT_INDEX32,
                       count, 0, minVertexIndex, numVertices)) {
        return D3DERR_INVALIDCALL;
    }
    // Neither the stream nor the index buffer binding survives a draw from user memory.
    SetStreamSource(0, nullptr, 0, 0);
    SetIndices(nullptr);
    const auto* first = static_cast<const std::uint8_t*>(vertexData) +
                        static_cast<std::size_t>(minVertexIndex) * stride;
    return DrawVertices(type, primitiveCount, first, numVertices, stride, true);
}

}  // namespace d3d9_internal
