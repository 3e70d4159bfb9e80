#include "platform/d3d9/sdl_presenter.h"

#include <SDL.h>

#include <algorithm>

#include "platform/win32/client_mapping.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/window_api.h"

namespace d3d9_internal {
namespace {

struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

// The SDL format of the same bytes: a picture goes up as it is stored, without a pass of ours.
Uint32 SdlFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_R5G6B5:
            return SDL_PIXELFORMAT_RGB565;
        case D3DFMT_X1R5G5B5:
            return SDL_PIXELFORMAT_RGB555;
        case D3DFMT_A1R5G5B5:
            return SDL_PIXELFORMAT_ARGB1555;
        case D3DFMT_A4R4G4B4:
            return SDL_PIXELFORMAT_ARGB4444;
        case D3DFMT_X4R4G4B4:
            return SDL_PIXELFORMAT_RGB444;
        case D3DFMT_A8R8G8B8:
            return SDL_PIXELFORMAT_ARGB8888;
        default:
            return SDL_PIXELFORMAT_RGB888;
    }
}

// A streaming texture of `image`'s size and format in `slot`, remade when they change.
bool UploadImage(SDL_Renderer* renderer, const PresentedImage& image, TexturePtr* slot,
                 int* slotWidth, int* slotHeight, Uint32* slotFormat) {
    const Uint32 sdlFormat = SdlFormat(image.format);
    if (!*slot || *slotWidth != image.width || *slotHeight != image.height ||
        *slotFormat != sdlFormat) {
        slot->reset(SDL_CreateTexture(renderer, sdlFormat, SDL_TEXTUREACCESS_STREAMING, image.width,
                                      image.height));
        if (!*slot) {
            SDL_Log("d3d9: no texture for the picture: %s", SDL_GetError());
            return false;
        }
        SDL_SetTextureBlendMode(slot->get(), SDL_BLENDMODE_NONE);
        *slotWidth = image.width;
        *slotHeight = image.height;
        *slotFormat = sdlFormat;
    }
    SDL_UpdateTexture(slot->get(), nullptr, image.pixels, image.pitch);
    return true;
}

}  // namespace

struct SdlPresenter::Objects {
    SDL_Renderer* renderer = nullptr;  // the window's, shared with a movie (sdl_host.h)
    TexturePtr frame;
    int frameWidth = 0;
    int frameHeight = 0;
    Uint32 frameFormat = 0;
    TexturePtr strip;
    int stripWidth = 0;
    int stripHeight = 0;
    Uint32 stripFormat = 0;
    bool vsync = false;
};

std::unique_ptr<SdlPresenter> SdlPresenter::ForWindow(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    SDL_Window* sdlWindow = Win32GetSdlWindow(window);
    if (sdlWindow == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SdlPresenter>(new SdlPresenter(window, sdlWindow));
}

SdlPresenter::SdlPresenter(HWND handle, SDL_Window* window)
    : handle_(handle), window_(window), objects_(std::make_unique<Objects>()) {}

SdlPresenter::~SdlPresenter() {
    if (!WindowAlive()) {
        // Whatever SDL did with them went with the window.
        (void)objects_->strip.release();
        (void)objects_->frame.release();
    }
}

bool SdlPresenter::WindowAlive() const {
    return Win32GetSdlWindow(handle_) == window_;
}

bool SdlPresenter::ClientSize(UINT* width, UINT* height) const {
    RECT client{};
    if (GetClientRect(handle_, &client) == FALSE || client.right <= 0 || client.bottom <= 0) {
        return false;
    }
    *width = static_cast<UINT>(client.right);
    *height = static_cast<UINT>(client.bottom);
    return true;
}

HRESULT SdlPresenter::Show(const PresentedImage& image, const PresentedImage* strip,
                           const RECT* sourceRect, bool vsync) {
    Objects& o = *objects_;
    if (o.renderer == nullptr) {
        o.renderer = Win32GetSdlRenderer(window_);
        if (o.renderer == nullptr) {
            return D3DERR_DRIVERINTERNALERROR;
        }
        o.vsync = !vsync;
    }
    if (o.vsync != vsync) {
        SDL_RenderSetVSync(o.renderer, vsync ? 1 : 0);
        o.vsync = vsync;
    }
    const int width = image.width;
    const int height = image.height;
    if (!UploadImage(o.renderer, image, &o.frame, &o.frameWidth, &o.frameHeight, &o.frameFormat)) {
        return D3DERR_DRIVERINTERNALERROR;
    }

    SDL_Rect source{0, 0, width, height};
    if (sourceRect != nullptr && sourceRect->left >= 0 && sourceRect->top >= 0 &&
        sourceRect->right <= width && sourceRect->bottom <= height &&
        sourceRect->left < sourceRect->right && sourceRect->top < sourceRect->bottom) {
        source = SDL_Rect{sourceRect->left, sourceRect->top, sourceRect->right - sourceRect->left,
                          sourceRect->bottom - sourceRect->top};
    }
    const bool withStrip =
        strip != nullptr && strip->width == source.w && strip->height > 0 &&
        UploadImage(o.renderer, *strip, &o.strip, &o.stripWidth, &o.stripHeight, &o.stripFormat);
    const int stripHeight = withStrip ? strip->height : 0;
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(o.renderer, &outW, &outH);
    // Fit the picture (the strip above the source) into the output with its aspect ratio,
    // centred: the Windows layer maps the pointer back through the same fit.
    const win32_internal::PictureFit fit =
        win32_internal::FitPicture(SIZE{source.w, source.h + stripHeight}, SIZE{outW, outH});
    const double scale = fit.scale;
    const int stripOut = static_cast<int>(stripHeight * scale + 0.5);
    const SDL_Rect stripDest{fit.area.left, fit.area.top, fit.area.right - fit.area.left, stripOut};
    const SDL_Rect dest{fit.area.left, fit.area.top + stripOut, fit.area.right - fit.area.left,
                        fit.area.bottom - fit.area.top - stripOut};

    SDL_SetRenderDrawColor(o.renderer, 0, 0, 0, 255);
    SDL_RenderClear(o.renderer);
    SDL_RenderCopy(o.renderer, o.frame.get(), &source, &dest);
    if (withStrip) {
        SDL_RenderCopy(o.renderer, o.strip.get(), nullptr, &stripDest);
    }
    SDL_RenderPresent(o.renderer);
    return D3D_OK;
}

}  // namespace d3d9_internal
