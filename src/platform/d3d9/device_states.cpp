// The device's bindings and states: render target, depth buffer, textures, stream, transforms,
// viewport, scissor, render / stage / sampler states, index buffer.

#include "platform/d3d9/device.h"
#include "platform/d3d9/index_buffer.h"
#include "platform/d3d9/surface.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_buffer.h"

namespace d3d9_internal {

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    Surface* target = AsSurface(surface);
    if (index != 0 || target == nullptr || target->owningDevice() != this ||
        !(target->usage() & D3DUSAGE_RENDERTARGET) || target->isDepth()) {
        return D3DERR_INVALIDCALL;
    }
    BindRenderTarget(target);
    ResetViewportToTarget();
    scissor_ = RECT{0, 0, static_cast<LONG>(target->width()), static_cast<LONG>(target->height())};
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    if (index != 0 || renderTarget_ == nullptr) {
        return index != 0 ? D3DERR_INVALIDCALL : D3DERR_NOTFOUND;
    }
    renderTarget_->AddRef();
    *surface = renderTarget_;
    return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    Surface* depth = AsSurface(surface);
    if (depth != nullptr && (!depth->isDepth() || depth->owningDevice() != this)) {
        return D3DERR_INVALIDCALL;
    }
    BindDepth(depth);
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = depth_;
    if (depth_ == nullptr) {
        return D3DERR_NOTFOUND;
    }
    depth_->AddRef();
    return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (matrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    transforms_[state] = *matrix;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (matrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const auto found = transforms_.find(state);
    if (found != transforms_.end()) {
        *matrix = found->second;
        return D3D_OK;
    }
    *matrix = D3DMATRIX{};
    matrix->_11 = matrix->_22 = matrix->_33 = matrix->_44 = 1.0f;
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    if (viewport == nullptr || renderTarget_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t right = std::uint64_t{viewport->X} + viewport->Width;
    const std::uint64_t bottom = std::uint64_t{viewport->Y} + viewport->Height;
    if (right > renderTarget_->width() || bottom > renderTarget_->height() ||
        !(viewport->MinZ >= 0.0f && viewport->MaxZ <= 1.0f && viewport->MinZ <= viewport->MaxZ)) {
        return D3DERR_INVALIDCALL;
    }
    viewport_ = *viewport;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    if (viewport == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *viewport = viewport_;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (state >= kRenderStates) {
        return D3DERR_INVALIDCALL;
    }
    renderStates_[state] = value;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (state >= kRenderStates || value == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *value = renderStates_[state];
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    Texture* bound = AsTexture(texture);
    if (stage >= kStages || (bound != nullptr && bound->device() != this)) {
        return D3DERR_INVALIDCALL;
    }
    if (bound != nullptr) {
        bound->Bind();
    }
    Texture* old = textures_[stage];
    textures_[stage] = bound;
    if (old != nullptr) {
        old->Unbind();
    }
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (stage >= kStages || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = textures_[stage];
    if (textures_[stage] != nullptr) {
        textures_[stage]->AddRef();
    }
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= kStages || type >= kStageStates) {
        return D3DERR_INVALIDCALL;
    }
    stageStates_[stage][type] = value;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (stage >= kStages || type >= kStageStates || value == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *value = stageStates_[stage][type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= kStages || type >= kSamplerStates) {
        return D3DERR_INVALIDCALL;
    }
    samplerStates_[sampler][type] = value;
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (sampler >= kStages || type >= kSamplerStates || value == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *value = samplerStates_[sampler][type];
    return D3D_OK;
}

HRESULT Device::SetScissorRect(const RECT* rect) {
    if (rect == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    scissor_ = *rect;
    return D3D_OK;
}

HRESULT Device::GetScissorRect(RECT* rect) {
    if (rect == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *rect = scissor_;
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
    fvf_ = fvf;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    if (fvf == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *fvf = fvf_;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                UINT stride) {
    auto* bound = static_cast<VertexBuffer*>(buffer);
    if (stream != 0 || (bound != nullptr && bound->device() != this)) {
        return D3DERR_INVALIDCALL;
    }
    if (bound != nullptr) {
        bound->Bind();
    }
    VertexBuffer* old = stream_;
    stream_ = bound;
    streamOffset_ = offset;
    streamStride_ = stride;
    if (old != nullptr) {
        old->Unbind();
    }
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer) {
    IndexBuffer* bound = AsIndexBuffer(buffer);
    if (bound != nullptr && bound->device() != this) {
        return D3DERR_INVALIDCALL;
    }
    if (bound != nullptr) {
        bound->Bind();
    }
    IndexBuffer* old = indices_;
    indices_ = bound;
    if (old != nullptr) {
        old->Unbind();
    }
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** buffer) {
    if (buffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = indices_;
    if (indices_ != nullptr) {
        indices_->AddRef();
    }
    return D3D_OK;
}

}  // namespace d3d9_internal
