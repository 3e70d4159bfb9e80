#include "platform/d3d9/surface.h"

#include "platform/d3d9/device.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/texture.h"

namespace d3d9_internal {
namespace {

int PitchFor(UINT width, D3DFORMAT format) {
    const int bytes = static_cast<int>(width) * BytesPerPixel(format);
    return (bytes + 3) & ~3;
}

std::size_t StorageWords(UINT width, UINT height, D3DFORMAT format) {
    return static_cast<std::size_t>(PitchFor(width, format)) / 4 * height;
}

// A new surface holds what a write of 0 (black, transparent where the format has alpha) stores.
// That is zero bytes except for the unused bits of X8R8G8B8, X1R5G5B5 and X4R4G4B4, which every
// write stores set: a pixel never written then has the same bytes as one written black, so a
// raw copy of a fresh target (a back buffer after a reset) matches one cleared to black.
void StoreBlank(Surface& surface) {
    if (!IsColorFormat(surface.format())) {
        return;
    }
    std::uint8_t blank[4] = {};
    PixelFromArgb(surface.format(), 0u, blank);
    if (blank[0] == 0 && blank[1] == 0 && blank[2] == 0 && blank[3] == 0) {
        return;
    }
    for (UINT y = 0; y < surface.height(); ++y) {
        FillRow(surface.format(), 0u,
                surface.bytes() + static_cast<std::ptrdiff_t>(y) * surface.pitch(),
                static_cast<int>(surface.width()));
    }
}

}  // namespace

Surface::Surface(Device* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                 DWORD usage, bool lockable, bool deviceOwned)
    : ResourceCore(device, pool, StorageWords(width, height, format) * 4, deviceOwned),
      width_(width),
      height_(height),
      format_(format),
      surfacePool_(pool),
      usage_(usage),
      lockable_(lockable),
      pitch_(PitchFor(width, format)),
      storage_(StorageWords(width, height, format), 0u) {
    StoreBlank(*this);
    if (deviceOwned) {
        // The device's own surfaces are handed out with AddRef only.
        ReleasePublicRef();
    }
}

Surface::Surface(Texture* container, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                 DWORD usage)
    : ResourceCore(nullptr, pool, 0, true),
      container_(container),
      width_(width),
      height_(height),
      format_(format),
      surfacePool_(pool),
      usage_(usage),
      lockable_(true),
      pitch_(PitchFor(width, format)),
      storage_(StorageWords(width, height, format), 0u) {
    StoreBlank(*this);
}

HRESULT Surface::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG Surface::AddRef() {
    return container_ != nullptr ? container_->AddRef() : AddPublicRef();
}

ULONG Surface::Release() {
    return container_ != nullptr ? container_->Release() : ReleasePublicRef();
}

ResourceCore* Surface::owner() {
    return container_ != nullptr ? static_cast<ResourceCore*>(container_) : this;
}

Device* Surface::owningDevice() const {
    return container_ != nullptr ? container_->device() : device();
}

HRESULT Surface::GetDevice(IDirect3DDevice9** device) {
    return owner()->GetDeviceRef(device);
}

bool Surface::isDepth() const {
    return IsDepthFormat(format_);
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = format_;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage_;
    desc->Pool = surfacePool_;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = width_;
    desc->Height = height_;
    return D3D_OK;
}

bool Surface::ResolveRect(const RECT* rect, RECT* out) const {
    if (rect == nullptr) {
        *out = RECT{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
        return width_ > 0 && height_ > 0;
    }
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        rect->right > static_cast<LONG>(width_) || rect->bottom > static_cast<LONG>(height_)) {
        return false;
    }
    *out = *rect;
    return true;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    RECT area;
    if (locked == nullptr || locked_ || !lockable_ || isDepth() || !ResolveRect(rect, &area)) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = true;
    lockedReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
    locked->Pitch = pitch_;
    locked->pBits = bytes() + static_cast<std::ptrdiff_t>(area.top) * pitch_ +
                    static_cast<std::ptrdiff_t>(area.left) * BytesPerPixel(format_);
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    if (!locked_) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = false;
    if (!lockedReadOnly_) {
        MarkWritten();
    }
    return D3D_OK;
}

}  // namespace d3d9_internal
