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

// A streaming texture, remade when the size or format of what goes up changes.
struct TextureSlot {
    TexturePtr texture;
    int width = 0;
    int height = 0;
    Uint32 format = 0;

    bool Upload(SDL_Renderer* renderer, const PresentedImage& image, SDL_BlendMode blend) {
        const Uint32 sdlFormat = SdlFormat(image.format);
        if (!texture || width != image.width || height != image.height || format != sdlFormat) {
            texture.reset(SDL_CreateTexture(renderer, sdlFormat, SDL_TEXTUREACCESS_STREAMING,
                                            image.width, image.height));
            if (!texture) {
                SDL_Log("d3d9: no texture for the picture: %s", SDL_GetError());
                return false;
            }
            width = image.width;
            height = image.height;
            format = sdlFormat;
        }
        SDL_SetTextureBlendMode(texture.get(), blend);
        SDL_UpdateTexture(texture.get(), nullptr, image.pixels, image.pitch);
        return true;
    }
    // The texture went with its window: nothing of SDL's is called for it.
    void Forget() { (void)texture.release(); }
};

}  // namespace

struct SdlPresenter::Objects {
    SDL_Renderer* renderer = nullptr;  // the window's, shared with a movie (sdl_host.h)
    TextureSlot frame;
    TextureSlot strip;
    TextureSlot picture;
    TextureSlot layer;
    bool vsync = false;
};

struct SdlPresenter::Output {
    bool withStrip = false;
    SDL_Rect strip{};
    SDL_Rect frame{};  // where the frame goes, below the strip
    double scale = 1.0;
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
        for (TextureSlot* slot :
             {&objects_->frame, &objects_->strip, &objects_->picture, &objects_->layer}) {
            slot->Forget();
        }
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

bool SdlPresenter::BeginPicture(SIZE frameSize, const PresentedImage* strip, bool vsync,
                                Output* output) {
    Objects& o = *objects_;
    if (o.renderer == nullptr) {
        o.renderer = Win32GetSdlRenderer(window_);
        if (o.renderer == nullptr) {
            return false;
        }
        o.vsync = !vsync;
    }
    if (o.vsync != vsync) {
        SDL_RenderSetVSync(o.renderer, vsync ? 1 : 0);
        o.vsync = vsync;
    }
    output->withStrip = strip != nullptr && strip->width == frameSize.cx && strip->height > 0 &&
                        o.strip.Upload(o.renderer, *strip, SDL_BLENDMODE_NONE);
    const int stripHeight = output->withStrip ? strip->height : 0;
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(o.renderer, &outW, &outH);
    // Fit the picture (the strip above the frame) into the output with its aspect ratio,
    // centred: the Windows layer maps the pointer back through the same fit.
    const win32_internal::PictureFit fit = win32_internal::FitPicture(
        SIZE{frameSize.cx, frameSize.cy + stripHeight}, SIZE{outW, outH});
    const int stripOut = static_cast<int>(stripHeight * fit.scale + 0.5);
    const int width = fit.area.right - fit.area.left;
    output->scale = fit.scale;
    output->strip = SDL_Rect{fit.area.left, fit.area.top, width, stripOut};
    output->frame = SDL_Rect{fit.area.left, fit.area.top + stripOut, width,
                             fit.area.bottom - fit.area.top - stripOut};
    SDL_SetRenderDrawColor(o.renderer, 0, 0, 0, 255);
    SDL_RenderClear(o.renderer);
    return true;
}

void SdlPresenter::EndPicture(const Output& output) {
    Objects& o = *objects_;
    if (output.withStrip) {
        SDL_RenderCopy(o.renderer, o.strip.texture.get(), nullptr, &output.strip);
    }
    SDL_RenderPresent(o.renderer);
}

HRESULT SdlPresenter::Show(const PresentedImage& image, const PresentedImage* strip,
                           const RECT* sourceRect, bool vsync) {
    const int width = image.width;
    const int height = image.height;
    SDL_Rect source{0, 0, width, height};
    if (sourceRect != nullptr && sourceRect->left >= 0 && sourceRect->top >= 0 &&
        sourceRect->right <= width && sourceRect->bottom <= height &&
        sourceRect->left < sourceRect->right && sourceRect->top < sourceRect->bottom) {
        source = SDL_Rect{sourceRect->left, sourceRect->top, sourceRect->right - sourceRect->left,
                          sourceRect->bottom - sourceRect->top};
    }
    Output output;
    if (!BeginPicture(SIZE{source.w, source.h}, strip, vsync, &output)) {
        return D3DERR_DRIVERINTERNALERROR;
    }
    Objects& o = *objects_;
    if (!o.frame.Upload(o.renderer, image, SDL_BLENDMODE_NONE)) {
        return D3DERR_DRIVERINTERNALERROR;
    }
    SDL_RenderCopy(o.renderer, o.frame.texture.get(), &source, &output.frame);
    EndPicture(output);
    return D3D_OK;
}

HRESULT SdlPresenter::ShowPicture(const PictureInFrame& picture, SIZE frameSize,
                                  const PresentedImage* layer, const PresentedImage* strip,
                                  bool vsync) {
    Output output;
    if (!BeginPicture(frameSize, strip, vsync, &output)) {
        return D3DERR_DRIVERINTERNALERROR;
    }
    Objects& o = *objects_;
    const RECT& s = picture.source;
    const RECT& d = picture.destination;
    const SDL_Rect source{s.left, s.top, s.right - s.left, s.bottom - s.top};
    const SDL_Rect destination{output.frame.x + static_cast<int>(d.left * output.scale),
                               output.frame.y + static_cast<int>(d.top * output.scale),
                               static_cast<int>((d.right - d.left) * output.scale + 0.5),
                               static_cast<int>((d.bottom - d.top) * output.scale + 0.5)};
    if (o.picture.Upload(o.renderer, picture.image, SDL_BLENDMODE_NONE)) {
        SDL_RenderCopy(o.renderer, o.picture.texture.get(), &source, &destination);
    }
    if (layer != nullptr && layer->width == frameSize.cx && layer->height == frameSize.cy &&
        o.layer.Upload(o.renderer, *layer, SDL_BLENDMODE_BLEND)) {
        SDL_RenderCopy(o.renderer, o.layer.texture.get(), nullptr, &output.frame);
    }
    EndPicture(output);
    return D3D_OK;
}

}  // namespace d3d9_internal
