#include "platform/d3d9/sdl_presenter.h"

#include <SDL.h>

#include <algorithm>

#include "platform/win32/client_mapping.h"
#include "platform/win32/sdl_host.h"

namespace d3d9_internal {
namespace {

struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

Uint32 SdlFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_R5G6B5:
            return SDL_PIXELFORMAT_RGB565;
        case D3DFMT_A8R8G8B8:
            return SDL_PIXELFORMAT_ARGB8888;
        default:
            return SDL_PIXELFORMAT_RGB888;
    }
}

}  // namespace

struct SdlPresenter::Objects {
    SDL_Renderer* renderer = nullptr;  // the window's, shared with a movie (sdl_host.h)
    TexturePtr frame;
    int frameWidth = 0;
    int frameHeight = 0;
    Uint32 frameFormat = 0;
    TexturePtr cursor;
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
        (void)objects_->cursor.release();
        (void)objects_->frame.release();
    }
}

bool SdlPresenter::WindowAlive() const {
    return Win32GetSdlWindow(handle_) == window_;
}

bool SdlPresenter::ClientSize(UINT* width, UINT* height) const {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    if (w <= 0 || h <= 0) {
        return false;
    }
    *width = static_cast<UINT>(w);
    *height = static_cast<UINT>(h);
    return true;
}

HRESULT SdlPresenter::Show(const std::uint8_t* pixels, int pitch, int width, int height,
                           D3DFORMAT format, const RECT* sourceRect, bool vsync, bool fullScreen,
                           const PresentedCursor* cursor) {
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
    const Uint32 sdlFormat = SdlFormat(format);
    if (!o.frame || o.frameWidth != width || o.frameHeight != height ||
        o.frameFormat != sdlFormat) {
        o.frame.reset(
            SDL_CreateTexture(o.renderer, sdlFormat, SDL_TEXTUREACCESS_STREAMING, width, height));
        if (!o.frame) {
            SDL_Log("d3d9: no texture for the back buffer: %s", SDL_GetError());
            return D3DERR_DRIVERINTERNALERROR;
        }
        SDL_SetTextureBlendMode(o.frame.get(), SDL_BLENDMODE_NONE);
        o.frameWidth = width;
        o.frameHeight = height;
        o.frameFormat = sdlFormat;
    }
    SDL_UpdateTexture(o.frame.get(), nullptr, pixels, pitch);

    SDL_Rect source{0, 0, width, height};
    if (sourceRect != nullptr && sourceRect->left >= 0 && sourceRect->top >= 0 &&
        sourceRect->right <= width && sourceRect->bottom <= height &&
        sourceRect->left < sourceRect->right && sourceRect->top < sourceRect->bottom) {
        source = SDL_Rect{sourceRect->left, sourceRect->top, sourceRect->right - sourceRect->left,
                          sourceRect->bottom - sourceRect->top};
    }
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(o.renderer, &outW, &outH);
    // Fit the source into the output with its aspect ratio, centred: the Windows layer maps the
    // pointer back through the same fit.
    const win32_internal::PictureFit fit =
        win32_internal::FitPicture(SIZE{source.w, source.h}, SIZE{outW, outH});
    const double scale = fit.scale;
    const SDL_Rect dest{fit.area.left, fit.area.top, fit.area.right - fit.area.left,
                        fit.area.bottom - fit.area.top};

    SDL_SetRenderDrawColor(o.renderer, 0, 0, 0, 255);
    SDL_RenderClear(o.renderer);
    SDL_RenderCopy(o.renderer, o.frame.get(), &source, &dest);

    if (cursor != nullptr && cursor->argb != nullptr && cursor->argb->size() == 32 * 32) {
        if (!o.cursor) {
            o.cursor.reset(SDL_CreateTexture(o.renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STREAMING, 32, 32));
            if (o.cursor) {
                SDL_SetTextureBlendMode(o.cursor.get(), SDL_BLENDMODE_BLEND);
            }
        }
        if (o.cursor) {
            SDL_UpdateTexture(o.cursor.get(), nullptr, cursor->argb->data(), 32 * 4);
            double x;
            double y;
            if (fullScreen) {
                x = dest.x + (cursor->x - source.x) * scale;
                y = dest.y + (cursor->y - source.y) * scale;
            } else {
                int wx = 0;
                int wy = 0;
                int ww = 1;
                int wh = 1;
                SDL_GetWindowPosition(window_, &wx, &wy);
                SDL_GetWindowSize(window_, &ww, &wh);
                x = static_cast<double>(cursor->x - wx) * outW / std::max(ww, 1);
                y = static_cast<double>(cursor->y - wy) * outH / std::max(wh, 1);
            }
            const SDL_Rect at{static_cast<int>(x - cursor->hotSpotX * scale),
                              static_cast<int>(y - cursor->hotSpotY * scale),
                              static_cast<int>(32 * scale + 0.5),
                              static_cast<int>(32 * scale + 0.5)};
            SDL_RenderCopy(o.renderer, o.cursor.get(), nullptr, &at);
        }
    }
    SDL_RenderPresent(o.renderer);
    return D3D_OK;
}

}  // namespace d3d9_internal
