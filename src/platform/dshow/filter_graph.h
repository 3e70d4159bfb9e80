#pragma once
// Internal to the movie graph: the filter graph object behind CLSID_FilterGraph. One object
// answers all the graph's interfaces. While it runs, a timer of the thread that ran it steps the
// presentation every kPresentPeriodMs: the picture due is shown through the renderer, and the
// end or a decoding failure is queued as an event.

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/d3dx/com_ptr.h"
#include "platform/dshow/dshow.h"
#include "platform/dshow/movie_playback.h"
#include "platform/dshow/video_window.h"
#include "platform/dshow/vmr9_filter.h"

namespace dshow_detail {

constexpr UINT kPresentPeriodMs = 10;

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaEventEx,
                          public IMediaSeeking,
                          public IBasicVideo,
                          public IBasicAudio,
                          public IVideoWindow {
public:
    FilterGraph() = default;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // IGraphBuilder
    HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) override;
    // IMediaControl
    HRESULT Run() override;
    HRESULT Stop() override;
    // IMediaEventEx
    HRESULT GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) override;
    HRESULT FreeEventParams(LONG code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) override;
    // IMediaSeeking
    HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                         DWORD stopFlags) override;
    // IBasicVideo
    HRESULT GetVideoSize(LONG* width, LONG* height) override;
    // IBasicAudio
    HRESULT put_Volume(LONG volume) override;
    HRESULT get_Volume(LONG* volume) override;
    // IVideoWindow
    HRESULT put_Owner(OAHWND owner) override;
    HRESULT put_MessageDrain(OAHWND drain) override;
    HRESULT put_WindowStyle(LONG style) override;
    HRESULT HideCursor(LONG hide) override;
    HRESULT SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override;
    HRESULT put_Visible(LONG visible) override;
    HRESULT put_FullScreenMode(LONG mode) override;
    HRESULT SetWindowForeground(LONG focus) override;
    HRESULT NotifyOwnerMessage(OAHWND window, LONG message, LONG_PTR wParam,
                               LONG_PTR lParam) override;

    // One step of the presentation (the timer's).
    void PresentStep();

private:
    struct Event {
        LONG code;
        LONG_PTR param1;
        LONG_PTR param2;
    };

    ~FilterGraph() override;
    VideoRenderer* renderer() const;
    // The window whose sound device plays the movie's sound: the renderer's, else the
    // notification window.
    HWND SoundWindow() const;
    void QueueEvent(LONG code, LONG_PTR param1);
    void StopTimer();

    std::atomic<ULONG> references_{1};
    d3dx::ComPtr<Vmr9Filter> vmr_;
    std::unique_ptr<VideoWindow> videoWindow_;
    std::unique_ptr<MoviePlayback> playback_;
    bool hasAudio_ = false;
    LONG volume_ = 0;
    UINT_PTR timer_ = 0;

    mutable std::mutex eventMutex_;
    std::deque<Event> events_;
    HWND notifyWindow_ = nullptr;
    UINT notifyMessage_ = 0;
    LONG_PTR notifyInstance_ = 0;
};

}  // namespace dshow_detail
