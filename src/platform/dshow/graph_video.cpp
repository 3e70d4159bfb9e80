// The filter graph's picture size, its sound volume and the default renderer's video window.

#include "platform/dshow/filter_graph.h"

namespace dshow_detail {

HRESULT FilterGraph::GetVideoSize(LONG* width, LONG* height) {
    if (width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    if (!playback_ || !playback_->hasVideo()) {
        return E_NOINTERFACE;
    }
    *width = playback_->videoSize().cx;
    *height = playback_->videoSize().cy;
    return S_OK;
}

HRESULT FilterGraph::put_Volume(LONG volume) {
    if (!hasAudio_) {
        return E_NOTIMPL;
    }
    if (volume < -10000 || volume > 0) {
        return E_INVALIDARG;
    }
    volume_ = volume;
    playback_->SetVolume(volume);
    return S_OK;
}

HRESULT FilterGraph::get_Volume(LONG* volume) {
    if (volume == nullptr) {
        return E_POINTER;
    }
    if (!hasAudio_) {
        return E_NOTIMPL;
    }
    *volume = volume_;
    return S_OK;
}

HRESULT FilterGraph::put_Owner(OAHWND owner) {
    return videoWindow_ ? videoWindow_->SetOwner(owner) : E_NOINTERFACE;
}

HRESULT FilterGraph::put_MessageDrain(OAHWND drain) {
    return videoWindow_ ? videoWindow_->SetMessageDrain(drain) : E_NOINTERFACE;
}

HRESULT FilterGraph::put_WindowStyle(LONG style) {
    return videoWindow_ ? videoWindow_->SetWindowStyle(style) : E_NOINTERFACE;
}

HRESULT FilterGraph::HideCursor(LONG hide) {
    return videoWindow_ ? videoWindow_->HideCursor(hide) : E_NOINTERFACE;
}

HRESULT FilterGraph::SetWindowPosition(LONG left, LONG top, LONG width, LONG height) {
    return videoWindow_ ? videoWindow_->SetWindowPosition(left, top, width, height) : E_NOINTERFACE;
}

HRESULT FilterGraph::put_Visible(LONG visible) {
    return videoWindow_ ? videoWindow_->SetVisible(visible) : E_NOINTERFACE;
}

HRESULT FilterGraph::put_FullScreenMode(LONG mode) {
    return videoWindow_ ? videoWindow_->SetFullScreenMode(mode) : E_NOINTERFACE;
}

HRESULT FilterGraph::SetWindowForeground(LONG focus) {
    return videoWindow_ ? videoWindow_->SetWindowForeground(focus) : E_NOINTERFACE;
}

HRESULT FilterGraph::NotifyOwnerMessage(OAHWND, LONG, LONG_PTR, LONG_PTR) {
    // The video window has no window of its own to tell.
    return videoWindow_ ? S_OK : E_NOINTERFACE;
}

}  // namespace dshow_detail
