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

// A picture shown in place of a frame (a movie's): `image`, its `source` part scaled into
// `destination` (pixels of the frame it stands for), black around it.
struct PictureInFrame {
    PresentedImage image;
    RECT source;
    RECT destination;
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
    // Shows `picture` where a frame of `frameSize` would be, fitted as Show fits a frame, with
    // `layer` (may be null; straight alpha, the frame's size) blended over it and `strip` (may be
    // null; as wide as the frame) above.
    HRESULT ShowPicture(const PictureInFrame& picture, SIZE frameSize, const PresentedImage* layer,
                        const PresentedImage* strip, bool vsync);

private:
    struct Objects;
    struct Output;
    // The renderer ready for a picture of a frame of `frameSize` with `strip` (uploaded) above:
    // where the two go in the output. False without a renderer.
    bool BeginPicture(SIZE frameSize, const PresentedImage* strip, bool vsync, Output* output);
    // The strip drawn over its place, and the picture presented.
    void EndPicture(const Output& output);
    SdlPresenter(HWND handle, SDL_Window* window);

    HWND handle_;
    SDL_Window* window_;
    std::unique_ptr<Objects> objects_;
};

}  // namespace d3d9_internal
