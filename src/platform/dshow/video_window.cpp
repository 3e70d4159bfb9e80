#include "platform/dshow/video_window.h"

#include "platform/d3d9/foreign_picture.h"
#include "platform/win32/window_api.h"

namespace dshow_detail {
namespace {

// A window handle from its automation form: 0 is none; anything else must be a live window.
bool ToWindow(OAHWND value, HWND* window) {
    auto* handle = reinterpret_cast<HWND>(value);
    if (handle != nullptr && !IsWindow(handle)) {
        return false;
    }
    *window = handle;
    return true;
}

bool IsBoolean(LONG value) {
    return value == OATRUE || value == OAFALSE;
}

}  // namespace

HRESULT VideoWindow::SetOwner(OAHWND owner) {
    return ToWindow(owner, &owner_) ? S_OK : E_INVALIDARG;
}

HRESULT VideoWindow::SetMessageDrain(OAHWND drain) {
    return ToWindow(drain, &drain_) ? S_OK : E_INVALIDARG;
}

HRESULT VideoWindow::SetWindowStyle(LONG style) {
    style_ = style;
    return S_OK;
}

HRESULT VideoWindow::HideCursor(LONG hide) {
    if (!IsBoolean(hide)) {
        return E_INVALIDARG;
    }
    cursorHidden_ = hide == OATRUE;
    return S_OK;
}

HRESULT VideoWindow::SetWindowPosition(LONG left, LONG top, LONG width, LONG height) {
    if (width < 0 || height < 0) {
        return E_INVALIDARG;
    }
    position_ = RECT{left, top, left + width, top + height};
    return S_OK;
}

HRESULT VideoWindow::SetVisible(LONG visible) {
    if (!IsBoolean(visible)) {
        return E_INVALIDARG;
    }
    visible_ = visible == OATRUE;
    return S_OK;
}

HRESULT VideoWindow::SetFullScreenMode(LONG mode) {
    if (!IsBoolean(mode)) {
        return E_INVALIDARG;
    }
    fullScreen_ = mode == OATRUE;
    return S_OK;
}

HRESULT VideoWindow::SetWindowForeground(LONG focus) {
    return IsBoolean(focus) ? S_OK : E_INVALIDARG;
}

void VideoWindow::Connect(SIZE nativeSize) {
    position_ = RECT{0, 0, nativeSize.cx, nativeSize.cy};
}

bool VideoWindow::Placement(VideoPlacement* placement) const {
    if (owner_ == nullptr || !visible_) {
        return false;
    }
    RECT destination = position_;
    if (fullScreen_) {
        const SIZE frame = d3d9_internal::FrameSizeOf(owner_);
        destination = RECT{0, 0, frame.cx, frame.cy};
    }
    if (destination.right <= destination.left || destination.bottom <= destination.top) {
        return false;
    }
    placement->window = owner_;
    placement->wholePicture = true;
    placement->destination = destination;
    return true;
}

}  // namespace dshow_detail
