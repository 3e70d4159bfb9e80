#pragma once
// Internal to the movie graph: the default renderer, which RenderFile chooses when no renderer
// was added. Its video window is a child of its owner and lies in the owner's client area, at
// the movie's native size at (0, 0) until it is placed; it shows nothing without an owner. Its
// mouse and key messages are the owner's own (the video window has no window handle of its own),
// so a message drain has nothing more to do.

#include "platform/dshow/dshow.h"
#include "platform/dshow/video_renderer.h"

namespace dshow_detail {

class VideoWindow final : public VideoRenderer {
public:
    HRESULT SetOwner(OAHWND owner);
    HRESULT SetMessageDrain(OAHWND drain);
    HRESULT SetWindowStyle(LONG style);
    HRESULT HideCursor(LONG hide);
    HRESULT SetWindowPosition(LONG left, LONG top, LONG width, LONG height);
    HRESULT SetVisible(LONG visible);
    HRESULT SetFullScreenMode(LONG mode);
    HRESULT SetWindowForeground(LONG focus);
    void Connect(SIZE nativeSize) override;
    bool Placement(VideoPlacement* placement) const override;
    HWND window() const override { return owner_; }

private:
    HWND owner_ = nullptr;
    HWND drain_ = nullptr;
    LONG style_ = 0;
    bool cursorHidden_ = false;
    RECT position_{};
    bool visible_ = true;
    bool fullScreen_ = false;
};

}  // namespace dshow_detail
