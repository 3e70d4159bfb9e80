#pragma once
// Test-only controls of our DirectShow. The program itself never calls these.

#include <cstdint>
#include <vector>

#include "platform/dshow/dshow.h"

namespace dshow_test {

// While false, CoCreateInstance refuses the Video Mixing Renderer 9 (REGDB_E_CLASSNOTREG), as on
// a system without it. True by default.
void SetVideoMixingRendererAvailable(bool available);

// The last picture a movie showed in a window.
struct ShownPicture {
    bool shown = false;  // false: none since the window's movie went
    int number = -1;     // the picture's place in the movie, from 0
    REFERENCE_TIME time = 0;
    int showCount = 0;   // pictures shown in the window so far
    RECT source{};       // the part of the picture shown
    RECT destination{};  // where in the window's frame
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // the whole picture, A8R8G8B8
};
ShownPicture LastShown(HWND window);

// The window's frame (its device's back buffer, else its client area) as the movie left it:
// black, with the picture drawn over its destination (each pixel takes the nearest picture
// pixel); the menus and dialogs over it are not part of it (d3d9_test::LastPresentedPicture has
// them). False when no picture is shown.
bool CaptureWindow(HWND window, int* width, int* height, std::vector<std::uint32_t>* argb);

// Called after every picture a movie shows, with its window; null for none.
using PictureObserver = void (*)(HWND window, void* context);
void SetPictureObserver(PictureObserver observer, void* context);

}  // namespace dshow_test
