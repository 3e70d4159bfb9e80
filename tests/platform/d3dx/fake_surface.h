#pragma once
// A colour surface in memory with no device, for exact tests of loading and conversion.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/pixel_format.h"

namespace d3dx_test {

class FakeSurface final : public IDirect3DSurface9 {
public:
    FakeSurface(UINT width, UINT height, D3DFORMAT format)
        : width_(width),
          height_(height),
          format_(format),
          bytesPerPixel_(d3d9_internal::BytesPerPixel(format)),
          bytes_(static_cast<std::size_t>(width) * height * bytesPerPixel_, 0xCD) {}
    virtual ~FakeSurface() = default;

    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override { return --refs_; }
    HRESULT GetDevice(IDirect3DDevice9**) override { return D3DERR_INVALIDCALL; }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        *desc = {format_, D3DRTYPE_SURFACE, 0,      D3DPOOL_SYSTEMMEM, D3DMULTISAMPLE_NONE,
                 0,       width_,           height_};
        return S_OK;
    }
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD) override {
        if (locked_) {
            return D3DERR_INVALIDCALL;
        }
        const RECT r =
            rect ? *rect : RECT{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
        locked->Pitch = static_cast<INT>(width_) * bytesPerPixel_;
        locked->pBits = bytes_.data() + r.top * locked->Pitch + r.left * bytesPerPixel_;
        locked_ = true;
        return S_OK;
    }
    HRESULT UnlockRect() override {
        if (!locked_) {
            return D3DERR_INVALIDCALL;
        }
        locked_ = false;
        return S_OK;
    }

    bool locked() const { return locked_; }
    std::uint32_t Argb(UINT x, UINT y) const {
        return d3d9_internal::PixelToArgb(format_,
                                          bytes_.data() + (y * width_ + x) * bytesPerPixel_);
    }
    // The raw stored value (16 or 32 bits).
    std::uint32_t Raw(UINT x, UINT y) const {
        const std::uint8_t* p = bytes_.data() + (y * width_ + x) * bytesPerPixel_;
        return bytesPerPixel_ == 2
                   ? static_cast<std::uint32_t>(p[0] | (p[1] << 8))
                   : static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                                (static_cast<std::uint32_t>(p[3]) << 24));
    }
    void Fill(std::uint32_t argb) {
        for (UINT y = 0; y < height_; ++y) {
            for (UINT x = 0; x < width_; ++x) {
                d3d9_internal::PixelFromArgb(format_, argb,
                                             bytes_.data() + (y * width_ + x) * bytesPerPixel_);
            }
        }
    }

private:
    UINT width_;
    UINT height_;
    D3DFORMAT format_;
    int bytesPerPixel_;
    std::vector<std::uint8_t> bytes_;
    ULONG refs_ = 1;
    bool locked_ = false;
};

}  // namespace d3dx_test
