// Creation of textures, surfaces, vertex and index buffers, with the pool and format rules.

#include <algorithm>
#include <new>

#include "platform/d3d9/adapter_table.h"
#include "platform/d3d9/device.h"
#include "platform/d3d9/index_buffer.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/surface.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_buffer.h"

namespace d3d9_internal {
namespace {

constexpr UINT kMaxSurfaceSize = 16384;
constexpr UINT kMaxVertexBufferBytes = 256u << 20;

bool IsPowerOfTwo(UINT v) {
    return v != 0 && (v & (v - 1)) == 0;
}

UINT FullChainLevels(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT size = std::max(width, height); size > 1; size /= 2) {
        ++levels;
    }
    return levels;
}

bool ValidPool(D3DPOOL pool) {
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM ||
           pool == D3DPOOL_SCRATCH;
}

}  // namespace

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) {
    if (texture == nullptr || shared != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const d3d9_test::AdapterTable table = CurrentAdapterTable();
    if (width == 0 || height == 0 || !ValidPool(pool)) {
        return D3DERR_INVALIDCALL;
    }
    if (pool == D3DPOOL_SCRATCH) {
        if (!IsColorFormat(format) || width > kMaxSurfaceSize || height > kMaxSurfaceSize) {
            return D3DERR_INVALIDCALL;
        }
    } else {
        if (width > table.caps.MaxTextureWidth || height > table.caps.MaxTextureHeight ||
            !ContainsFormat(table.textureFormats, format)) {
            return D3DERR_INVALIDCALL;
        }
        if ((table.caps.TextureCaps & D3DPTEXTURECAPS_POW2) &&
            !(table.caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) &&
            (!IsPowerOfTwo(width) || !IsPowerOfTwo(height))) {
            return D3DERR_INVALIDCALL;
        }
        if ((table.caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) && width != height) {
            return D3DERR_INVALIDCALL;
        }
    }
    if ((usage & D3DUSAGE_DEPTHSTENCIL) ||
        ((usage & D3DUSAGE_RENDERTARGET) &&
         (pool != D3DPOOL_DEFAULT || !ContainsFormat(table.renderTargetFormats, format))) ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)) {
        return D3DERR_INVALIDCALL;
    }
    const UINT fullChain = FullChainLevels(width, height);
    if (levels == 0) {
        levels = fullChain;
    }
    if (levels > fullChain) {
        return D3DERR_INVALIDCALL;
    }
    if (pool == D3DPOOL_DEFAULT &&
        Texture::ChainBytes(width, height, levels, format) > GetAvailableTextureMem()) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    Texture* created = TryCreate<Texture>(this, width, height, levels, usage, format, pool);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    *texture = created;
    return D3D_OK;
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                   IDirect3DVertexBuffer9** buffer, HANDLE* shared) {
    if (buffer == nullptr || shared != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = nullptr;
    if (length == 0 || length > kMaxVertexBufferBytes || !ValidPool(pool) ||
        pool == D3DPOOL_SCRATCH) {
        return D3DERR_INVALIDCALL;
    }
    VertexBuffer* created = TryCreate<VertexBuffer>(this, length, usage, fvf, pool);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* shared) {
    if (buffer == nullptr || shared != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = nullptr;
    if (length == 0 || length > kMaxVertexBufferBytes || !ValidPool(pool) ||
        pool == D3DPOOL_SCRATCH || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) {
        return D3DERR_INVALIDCALL;
    }
    IndexBuffer* created = TryCreate<IndexBuffer>(this, length, usage, format, pool);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT Device::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                   D3DMULTISAMPLE_TYPE multiSample, DWORD, BOOL lockable,
                                   IDirect3DSurface9** surface, HANDLE* shared) {
    if (surface == nullptr || shared != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    if (width == 0 || height == 0 || width > kMaxSurfaceSize || height > kMaxSurfaceSize ||
        !ContainsFormat(CurrentAdapterTable().renderTargetFormats, format) ||
        multiSample != D3DMULTISAMPLE_NONE) {
        return D3DERR_INVALIDCALL;
    }
    Surface* created = TryCreate<Surface>(this, width, height, format, D3DPOOL_DEFAULT,
                                          D3DUSAGE_RENDERTARGET, lockable != FALSE, false);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    *surface = created;
    return D3D_OK;
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                          D3DMULTISAMPLE_TYPE multiSample, DWORD, BOOL,
                                          IDirect3DSurface9** surface, HANDLE* shared) {
    if (surface == nullptr || shared != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    if (width == 0 || height == 0 || width > kMaxSurfaceSize || height > kMaxSurfaceSize ||
        !ContainsFormat(CurrentAdapterTable().depthFormats, format) ||
        multiSample != D3DMULTISAMPLE_NONE) {
        return D3DERR_INVALIDCALL;
    }
    Surface* created = TryCreate<Surface>(this, width, height, format, D3DPOOL_DEFAULT,
                                          D3DUSAGE_DEPTHSTENCIL, false, false);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::fill_n(created->words(), static_cast<std::size_t>(width) * height,
                DepthBits(format) == 16 ? 0xFFFFu : 0xFFFFFFu);
    *surface = created;
    return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* shared) {
    if (surface == nullptr || shared != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    // Surfaces cannot be managed.
    if (width == 0 || height == 0 || width > kMaxSurfaceSize || height > kMaxSurfaceSize ||
        !IsColorFormat(format) || !ValidPool(pool) || pool == D3DPOOL_MANAGED) {
        return D3DERR_INVALIDCALL;
    }
    Surface* created = TryCreate<Surface>(this, width, height, format, pool, 0, true, false);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    *surface = created;
    return D3D_OK;
}

}  // namespace d3d9_internal
