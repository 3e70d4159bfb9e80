#pragma once
// Internal to the movie graph: a movie's pictures drawn into a window's SDL window, through the
// renderer it shares with the Direct3D presentation (sdl_host.h): the client area is fitted into
// the SDL window as the presentation fits the back buffer, the rest is black.

#include <memory>

#include "platform/dshow/movie_source.h"
#include "platform/dshow/video_renderer.h"

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;

namespace dshow_detail {

class SdlPictureOutput {
public:
    // Null when the window has no SDL window (no display, as in tests).
    static std::unique_ptr<SdlPictureOutput> ForWindow(HWND window);
    ~SdlPictureOutput();
    SdlPictureOutput(const SdlPictureOutput&) = delete;
    SdlPictureOutput& operator=(const SdlPictureOutput&) = delete;

    void Show(const VideoPlacement& placement, const MoviePicture& picture);

private:
    SdlPictureOutput(HWND window, SDL_Window* sdlWindow);
    // False once the window (and with it its renderer and every texture) is gone.
    bool Alive() const;

    HWND window_;
    SDL_Window* sdlWindow_;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
};

}  // namespace dshow_detail
