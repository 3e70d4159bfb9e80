#include "platform/d3d9/foreign_picture.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/d3d9/device.h"
#include "platform/d3d9/present_overlay.h"
#include "platform/d3d9/sdl_presenter.h"
#include "platform/d3d9/surface.h"
#include "platform/win32/window_api.h"

namespace d3d9_internal {
namespace {

PictureInFrame InFrame(const ForeignPicture& picture) {
    return PictureInFrame{
        PresentedImage{reinterpret_cast<const std::uint8_t*>(picture.argb), picture.width * 4,
                       picture.width, picture.height, D3DFMT_A8R8G8B8},
        picture.source, picture.destination};
}

// The pixel that shows over both a black and a white background as `overBlack` and
// `overWhite` do, in straight alpha: what was drawn over white lets (255 - alpha) of the white
// through.
std::uint32_t Unblend(std::uint32_t overBlack, std::uint32_t overWhite) {
    int through = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        through += static_cast<int>((overWhite >> shift) & 0xFFu) -
                   static_cast<int>((overBlack >> shift) & 0xFFu);
    }
    const int alpha = std::clamp(255 - (through + 1) / 3, 0, 255);
    if (alpha == 0) {
        return 0;
    }
    std::uint32_t pixel = static_cast<std::uint32_t>(alpha) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const int premultiplied = static_cast<int>((overBlack >> shift) & 0xFFu);
        pixel |=
            static_cast<std::uint32_t>(std::min(255, (premultiplied * 255 + alpha / 2) / alpha))
            << shift;
    }
    return pixel;
}

// `layer` (straight alpha) blended over `frame`, both of the same size.
void BlendLayer(const std::vector<std::uint32_t>& layer, std::uint32_t* frame) {
    for (std::size_t i = 0; i < layer.size(); ++i) {
        const std::uint32_t over = layer[i];
        const std::uint32_t alpha = over >> 24;
        if (alpha == 0) {
            continue;
        }
        std::uint32_t pixel = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t top = (over >> shift) & 0xFFu;
            const std::uint32_t below = (frame[i] >> shift) & 0xFFu;
            pixel |= ((top * alpha + below * (255 - alpha) + 127) / 255) << shift;
        }
        frame[i] = pixel;
    }
}

// Where no device presents: one presenter per window, let go with the window.
std::map<HWND, std::unique_ptr<SdlPresenter>>& OwnPresenters() {
    static auto* presenters = new std::map<HWND, std::unique_ptr<SdlPresenter>>;
    return *presenters;
}

}  // namespace

void DrawForeignPicture(const ForeignPicture& picture, SIZE frame, std::uint32_t* argb) {
    std::fill_n(argb, static_cast<std::size_t>(frame.cx) * static_cast<std::size_t>(frame.cy),
                0xFF000000u);
    const RECT& d = picture.destination;
    const RECT& s = picture.source;
    const LONG width = d.right - d.left;
    const LONG height = d.bottom - d.top;
    if (width <= 0 || height <= 0 || picture.argb == nullptr) {
        return;
    }
    for (LONG y = std::max<LONG>(d.top, 0); y < std::min(d.bottom, frame.cy); ++y) {
        const LONG sy = s.top + static_cast<LONG>(static_cast<std::int64_t>(y - d.top) *
                                                  (s.bottom - s.top) / height);
        for (LONG x = std::max<LONG>(d.left, 0); x < std::min(d.right, frame.cx); ++x) {
            const LONG sx = s.left + static_cast<LONG>(static_cast<std::int64_t>(x - d.left) *
                                                       (s.right - s.left) / width);
            if (sx >= 0 && sy >= 0 && sx < picture.width && sy < picture.height) {
                argb[static_cast<std::size_t>(y) * frame.cx + x] =
                    picture.argb[static_cast<std::size_t>(sy) * picture.width + sx];
            }
        }
    }
}

SIZE Device::backBufferSize() const {
    return SIZE{static_cast<LONG>(backBuffer_->width()), static_cast<LONG>(backBuffer_->height())};
}

bool Device::DrawOverlayOn(HWND window, D3DCOLOR background, SurfaceReference* strip,
                           std::vector<std::uint32_t>* pixels) {
    const SIZE size = backBufferSize();
    IDirect3DSurface9* made = nullptr;
    if (FAILED(CreateRenderTarget(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                  D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, TRUE, &made, nullptr))) {
        return false;
    }
    const SurfaceReference target(made);
    if (FAILED(SetRenderTarget(0, made))) {
        return false;
    }
    Clear(0, nullptr, D3DCLEAR_TARGET, background, 1.0f, 0);
    IDirect3DSurface9* madeStrip = nullptr;
    CurrentPresentOverlay()(this, window, &madeStrip);
    strip->reset(madeStrip);
    Surface* drawn = AsSurface(made);
    pixels->resize(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
    for (LONG y = 0; y < size.cy; ++y) {
        std::memcpy(pixels->data() + static_cast<std::size_t>(y) * size.cx,
                    drawn->bytes() + static_cast<std::ptrdiff_t>(y) * drawn->pitch(),
                    static_cast<std::size_t>(size.cx) * 4);
    }
    return true;
}

void Device::DrawOverlayLayer(HWND window, std::vector<std::uint32_t>* layer,
                              SurfaceReference* strip) {
    layer->clear();
    if (CurrentPresentOverlay() == nullptr) {
        return;
    }
    IDirect3DSurface9* saved = nullptr;
    GetRenderTarget(0, &saved);
    const SurfaceReference savedTarget(saved);
    // Drawn over black and over white, what the overlay drew shows its coverage: over a movie it
    // is blended as it was over the frame.
    std::vector<std::uint32_t> overBlack;
    if (DrawOverlayOn(window, 0x00000000u, strip, &overBlack) &&
        std::any_of(overBlack.begin(), overBlack.end(), [](std::uint32_t p) { return p != 0; })) {
        std::vector<std::uint32_t> overWhite;
        SurfaceReference again;
        if (DrawOverlayOn(window, 0xFFFFFFFFu, &again, &overWhite)) {
            layer->resize(overBlack.size());
            for (std::size_t i = 0; i < overBlack.size(); ++i) {
                (*layer)[i] = Unblend(overBlack[i], overWhite[i]);
            }
        }
    }
    if (saved != nullptr) {
        SetRenderTarget(0, saved);
    }
}

HRESULT Device::PresentPicture(HWND window, const ForeignPicture& picture) {
    if (cooperation_ != Cooperation::kOk) {
        return D3DERR_DEVICELOST;
    }
    const SIZE frameSize = backBufferSize();
    std::vector<std::uint32_t> layer;
    SurfaceReference stripReference;
    DrawOverlayLayer(window, &layer, &stripReference);
    Surface* strip = stripReference ? AsSurface(stripReference.get()) : nullptr;
    if (strip != nullptr && strip->width() != backBuffer_->width()) {
        strip = nullptr;
    }
    if (KeepingPresentedPictures()) {
        std::vector<std::uint32_t> frame(static_cast<std::size_t>(frameSize.cx) *
                                         static_cast<std::size_t>(frameSize.cy));
        DrawForeignPicture(picture, frameSize, frame.data());
        BlendLayer(layer, frame.data());
        KeepPicture(strip, frame.data());
    }
    if (SdlPresenter* presenter = PresenterFor(window)) {
        const PresentedImage layerImage{
            reinterpret_cast<const std::uint8_t*>(layer.data()), static_cast<int>(frameSize.cx) * 4,
            static_cast<int>(frameSize.cx), static_cast<int>(frameSize.cy), D3DFMT_A8R8G8B8};
        const PresentedImage stripImage = strip != nullptr ? ImageOf(strip) : PresentedImage{};
        return presenter->ShowPicture(
            InFrame(picture), frameSize, layer.empty() ? nullptr : &layerImage,
            strip != nullptr ? &stripImage : nullptr, PresentsWithVsync());
    }
    return D3D_OK;
}

SIZE FrameSizeOf(HWND window) {
    if (IDirect3DDevice9* device = FindDeviceOfWindow(window)) {
        return AsDevice(device)->backBufferSize();
    }
    RECT client{};
    if (GetClientRect(window, &client) == FALSE) {
        return SIZE{};
    }
    return SIZE{client.right, client.bottom};
}

void ShowForeignPicture(HWND window, const ForeignPicture& picture) {
    if (IDirect3DDevice9* device = FindDeviceOfWindow(window)) {
        AsDevice(device)->PresentPicture(window, picture);
        return;
    }
    auto& presenters = OwnPresenters();
    std::erase_if(presenters, [](const auto& entry) { return !entry.second->WindowAlive(); });
    auto found = presenters.find(window);
    if (found == presenters.end()) {
        std::unique_ptr<SdlPresenter> made = SdlPresenter::ForWindow(window);
        if (made == nullptr) {
            return;
        }
        found = presenters.emplace(window, std::move(made)).first;
    }
    found->second->ShowPicture(InFrame(picture), FrameSizeOf(window), nullptr, nullptr, false);
}

}  // namespace d3d9_internal
