#include "platform/dshow/sdl_picture_output.h"

#include <SDL.h>

#include "platform/win32/client_mapping.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/window_api.h"

namespace dshow_detail {

std::unique_ptr<SdlPictureOutput> SdlPictureOutput::ForWindow(HWND window) {
    SDL_Window* sdlWindow = Win32GetSdlWindow(window);
    if (sdlWindow == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SdlPictureOutput>(new SdlPictureOutput(window, sdlWindow));
}

SdlPictureOutput::SdlPictureOutput(HWND window, SDL_Window* sdlWindow)
    : window_(window), sdlWindow_(sdlWindow) {}

SdlPictureOutput::~SdlPictureOutput() {
    if (texture_ != nullptr && Alive()) {
        SDL_DestroyTexture(texture_);
    }
}

bool SdlPictureOutput::Alive() const {
    return Win32GetSdlWindow(window_) == sdlWindow_ && renderer_ != nullptr &&
           SDL_GetRenderer(sdlWindow_) == renderer_;
}

void SdlPictureOutput::Show(const VideoPlacement& placement, const MoviePicture& picture) {
    if (renderer_ != nullptr && !Alive()) {
        return;
    }
    if (renderer_ == nullptr) {
        renderer_ = Win32GetSdlRenderer(sdlWindow_);
        if (renderer_ == nullptr) {
            return;
        }
    }
    if (texture_ == nullptr || textureWidth_ != picture.width || textureHeight_ != picture.height) {
        if (texture_ != nullptr) {
            SDL_DestroyTexture(texture_);
        }
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, picture.width, picture.height);
        if (texture_ == nullptr) {
            SDL_Log("dshow: no texture for the movie: %s", SDL_GetError());
            return;
        }
        SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
        textureWidth_ = picture.width;
        textureHeight_ = picture.height;
    }
    SDL_UpdateTexture(texture_, nullptr, picture.argb.data(), picture.width * 4);

    RECT client{};
    GetClientRect(placement.window, &client);
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    const win32_internal::PictureFit fit = win32_internal::FitPicture(
        SIZE{client.right, client.bottom}, SIZE{outputWidth, outputHeight});
    const RECT& d = placement.destination;
    const SDL_Rect destination{fit.area.left + static_cast<int>(d.left * fit.scale),
                               fit.area.top + static_cast<int>(d.top * fit.scale),
                               static_cast<int>((d.right - d.left) * fit.scale + 0.5),
                               static_cast<int>((d.bottom - d.top) * fit.scale + 0.5)};
    SDL_Rect source{0, 0, picture.width, picture.height};
    if (!placement.wholePicture) {
        const RECT& s = placement.source;
        source = SDL_Rect{s.left, s.top, s.right - s.left, s.bottom - s.top};
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, &source, &destination);
    SDL_RenderPresent(renderer_);
}

}  // namespace dshow_detail
