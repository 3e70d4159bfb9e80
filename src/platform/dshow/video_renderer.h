#pragma once
// Internal to the movie graph: where a renderer puts the graph's pictures.

#include "platform/winbase/win_types.h"

namespace dshow_detail {

struct VideoPlacement {
    HWND window = nullptr;
    // The part of the picture shown, in its pixels; `wholePicture`: all of it, whatever its size.
    RECT source{};
    bool wholePicture = true;
    // Where it goes in the window's frame: its device's back buffer, which the window shows
    // whether or not a menu bar is over it (d3d9's foreign_picture.h).
    RECT destination{};
};

class VideoRenderer {
public:
    virtual ~VideoRenderer() = default;
    // The picture stream was connected; `nativeSize` as the movie gives it.
    virtual void Connect(SIZE nativeSize) = 0;
    // False while the renderer has nowhere to show a picture.
    virtual bool Placement(VideoPlacement* placement) const = 0;
    // The window it shows pictures in, once it has one.
    virtual HWND window() const = 0;
};

}  // namespace dshow_detail
