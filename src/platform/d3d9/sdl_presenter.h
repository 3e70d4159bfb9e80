#pragma once
// Shows the back buffer in an SDL window: uploaded to a streaming texture and scaled by SDL's
// renderer (on the GPU where there is one), keeping its aspect ratio. The device cursor is the
// desktop's pointer (colour_cursor.h), never part of the picture. The window's placement (a window,
// or undecorated over the desktop in full screen) is the Windows layer's: it follows the window's
// style, not the device.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d9/d3d9_types.h"

struct SDL_Window;

namespace d3d9_internal {

// Pixels of one picture in a surface's format.
struct PresentedImage {
    const std::uint8_t* pixels;
    int pitch;
    int width;
    int height;
    D3DFORMAT format;
};

class SdlPresenter {
public:
    // Null when the window handle has no SDL window (no display, as in tests).
    static std::unique_ptr<SdlPresenter> ForWindow(HWND window);
    ~SdlPresenter();
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    bool SameWindow(HWND window) const { return window == handle_; }
    // False once the Windows layer has destroyed the SDL window (with the window handle): the
    // renderer must then be dropped without SDL calls, which would touch the freed window.
    bool WindowAlive() const;
    // Size of the window's client area in pixels.
    bool ClientSize(UINT* width, UINT* height) const;
    // `strip` (may be null; ignored unless as wide as the frame's source) is shown above the
    // frame, the two fitted into the window as one picture.
    HRESULT Show(const PresentedImage& frame, const PresentedImage* strip, const RECT* sourceRect,
                 bool vsync);

private:
    struct Objects;
    SdlPresenter(HWND handle, SDL_Window* window);

    HWND handle_;
    SDL_Window* window_;
    std::unique_ptr<Objects> objects_;
};

}  // namespace d3d9_internal
