#pragma once
// Internal to src/platform: a picture that does not come from a device (a movie's) shown in a
// window in place of the device's frames. Where a device presents into the window, the picture is
// shown as its frames are: in the frame's place, with the strip above it and the overlay over it
// (present_overlay.h), so that the menu bar, an open menu and a dialog stay in sight over a movie.
// Main thread only.

#include <cstdint>

#include "platform/d3d9/d3d9_types.h"

namespace d3d9_internal {

struct ForeignPicture {
    const std::uint32_t* argb = nullptr;  // A8R8G8B8, rows top first
    int width = 0;
    int height = 0;
    RECT source{};       // the part shown, in the picture's pixels
    RECT destination{};  // where, in pixels of the frame; black around it
};

// The frame of `window`: its device's back buffer, else its client area. A window shows the
// frame's pixels one to one below its menu bar; a full-screen window shows them scaled, under its
// menu bar while one is shown. Empty for an unknown window.
SIZE FrameSizeOf(HWND window);

// `picture` as it shows in a frame of `frame`'s size: black, with the picture over its
// destination, each pixel the nearest of the picture's. `argb` holds frame.cx * frame.cy pixels.
void DrawForeignPicture(const ForeignPicture& picture, SIZE frame, std::uint32_t* argb);

// Shows `picture` in `window`; without a device presenting into it, alone over black in the
// window's client area.
void ShowForeignPicture(HWND window, const ForeignPicture& picture);

}  // namespace d3d9_internal
