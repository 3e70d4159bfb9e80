#include "platform/dshow/filter_graph.h"

#include <map>
#include <string>

#include "platform/dshow/window_picture.h"
#include "platform/win32/timer_api.h"
#include "platform/winbase/code_page.h"

namespace dshow_detail {
namespace {

// The running graphs by the id of their presentation timer (the caller's thread only).
std::map<UINT_PTR, FilterGraph*>& RunningGraphs() {
    static auto* graphs = new std::map<UINT_PTR, FilterGraph*>;  // lives for the whole process
    return *graphs;
}

void PresentTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = RunningGraphs().find(id);
    if (found != RunningGraphs().end()) {
        found->second->PresentStep();
    }
}

// The game's form of a wide path (code page 932); false when it does not convert.
bool NarrowPath(LPCWSTR wide, std::string* path) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return false;
    }
    std::string text(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), bytes, nullptr, nullptr) != bytes) {
        return false;
    }
    text.pop_back();  // the terminator
    *path = std::move(text);
    return true;
}

}  // namespace

FilterGraph::~FilterGraph() {
    StopTimer();
    ForgetPictures(this);
}

HRESULT FilterGraph::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == IID_IGraphBuilder) {
        *object = static_cast<IGraphBuilder*>(this);
    } else if (iid == IID_IMediaControl) {
        *object = static_cast<IMediaControl*>(this);
    } else if (iid == IID_IMediaEventEx) {
        *object = static_cast<IMediaEventEx*>(this);
    } else if (iid == IID_IMediaSeeking) {
        *object = static_cast<IMediaSeeking*>(this);
    } else if (iid == IID_IBasicVideo) {
        *object = static_cast<IBasicVideo*>(this);
    } else if (iid == IID_IBasicAudio) {
        *object = static_cast<IBasicAudio*>(this);
    } else if (iid == IID_IVideoWindow) {
        *object = static_cast<IVideoWindow*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FilterGraph::AddRef() {
    return references_.fetch_add(1) + 1;
}

ULONG FilterGraph::Release() {
    const ULONG left = references_.fetch_sub(1) - 1;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT FilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR) {
    auto* vmr = dynamic_cast<Vmr9Filter*>(filter);
    if (vmr == nullptr || vmr_ || playback_ || !vmr->TakeIntoGraph()) {
        return E_INVALIDARG;
    }
    vmr->AddRef();
    vmr_.reset(vmr);
    return S_OK;
}

HRESULT FilterGraph::RenderFile(LPCWSTR file, LPCWSTR playList) {
    if (file == nullptr) {
        return E_POINTER;
    }
    if (playList != nullptr) {
        return E_INVALIDARG;
    }
    if (playback_) {
        return VFW_E_WRONG_STATE;
    }
    std::string path;
    if (!NarrowPath(file, &path)) {
        return VFW_E_NOT_FOUND;
    }
    std::unique_ptr<MovieSource> source;
    if (const HRESULT opened = MovieSource::Open(path, &source); FAILED(opened)) {
        return opened;
    }
    const bool video = source->hasVideo();
    const SIZE size = source->videoSize();
    hasAudio_ = source->hasAudio();
    playback_ = std::make_unique<MoviePlayback>(std::move(source));
    if (video) {
        if (vmr_) {
            vmr_->Connect(size);
        } else {
            videoWindow_ = std::make_unique<VideoWindow>();
            videoWindow_->Connect(size);
        }
    }
    return S_OK;
}

VideoRenderer* FilterGraph::renderer() const {
    if (!playback_ || !playback_->hasVideo()) {
        return nullptr;
    }
    if (vmr_) {
        return vmr_.get();
    }
    return videoWindow_.get();
}

HWND FilterGraph::SoundWindow() const {
    if (VideoRenderer* shown = renderer(); shown != nullptr && shown->window() != nullptr) {
        return shown->window();
    }
    std::lock_guard lock(eventMutex_);
    return notifyWindow_;
}

HRESULT FilterGraph::Run() {
    if (!playback_) {
        return VFW_E_WRONG_STATE;
    }
    playback_->Run(SoundWindow());
    if (timer_ == 0) {
        timer_ = SetTimer(nullptr, 0, kPresentPeriodMs, PresentTimer);
        if (timer_ == 0) {
            playback_->Stop();
            return E_FAIL;
        }
        RunningGraphs()[timer_] = this;
    }
    return S_OK;
}

void FilterGraph::StopTimer() {
    if (timer_ != 0) {
        KillTimer(nullptr, timer_);
        RunningGraphs().erase(timer_);
        timer_ = 0;
    }
    HoldPictures(this);
}

HRESULT FilterGraph::Stop() {
    StopTimer();
    if (playback_) {
        playback_->Stop();
    }
    return S_OK;
}

HRESULT FilterGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*,
                                  DWORD stopFlags) {
    constexpr DWORD kPositioningMask = 0x3;
    if ((stopFlags & kPositioningMask) != AM_SEEKING_NoPositioning) {
        return E_NOTIMPL;
    }
    switch (currentFlags & kPositioningMask) {
        case AM_SEEKING_NoPositioning:
            return S_OK;
        case AM_SEEKING_AbsolutePositioning:
            break;
        default:
            return E_NOTIMPL;
    }
    if (current == nullptr) {
        return E_POINTER;
    }
    if (*current != 0) {
        return E_NOTIMPL;
    }
    if (!playback_) {
        return VFW_E_WRONG_STATE;
    }
    playback_->Rewind();
    return S_OK;
}

void FilterGraph::PresentStep() {
    if (!playback_) {
        return;
    }
    const MoviePlayback::Step step = playback_->Present();
    if (step.picture) {
        VideoPlacement placement;
        if (VideoRenderer* shown = renderer(); shown != nullptr && shown->Placement(&placement)) {
            ShowPicture(this, placement, step.picture);
        }
    }
    if (step.failure != S_OK) {
        QueueEvent(EC_ERRORABORT, step.failure);
    }
    if (step.completed) {
        QueueEvent(EC_COMPLETE, S_OK);
    }
}

}  // namespace dshow_detail
