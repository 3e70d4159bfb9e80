#include "media/movie/ds_movie.h"

#include "media/graphics/device_log.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace {

constexpr MovieLogNames kLogNames = {"DSMovie::Open", "DSMovie::Play", "DSMovie::Stop",
                                     "DSMovie::SetVolume", "DSMovie::GetVolume"};
constexpr const char* kSetPositionLog = "DSMovie::SetPosition";
constexpr const char* kFullScreenModeLog = "DSMovie::FullScreenMode";
constexpr const char* kNotifyOwnerMessageLog = "DSMovie::NotifyOwnerMessage";
// WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
constexpr LONG kVideoWindowStyle = 0x46000000;

MovieGlobals<DSMovie>& Globals() {
    static MovieGlobals<DSMovie> globals;
    return globals;
}

}  // namespace

DSMovie::DSMovie() : MoviePlayer(kLogNames) {}

DSMovie::~DSMovie() {
    Close();
}

HRESULT DSMovie::Open(const char* file, HWND ownerWindow, const RECT* rect) {
    Close();
    WCHAR wide[260];
    auto fail = [&](HRESULT code) {
        Close();
        return LogDeviceError(kLogNames.open, code);
    };
    if (!WideFileName(file, wide)) {
        return fail(E_INVALIDARG);
    }
    owner = OwnerWindow(ownerWindow);
    IGraphBuilder* madeGraph = nullptr;
    HRESULT result = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IGraphBuilder, reinterpret_cast<void**>(&madeGraph));
    graph.reset(madeGraph);
    const auto ownerHandle = reinterpret_cast<OAHWND>(owner);
    if (FAILED(result) || FAILED(result = graph->RenderFile(wide, nullptr)) ||
        FAILED(result = QueryFront()) ||
        FAILED(result = QueryOne(IID_IVideoWindow, &videoWindow)) || FAILED(result = QueryBack()) ||
        FAILED(result = events->SetNotifyWindow(ownerHandle, MovieNotifyMessage, 0)) ||
        FAILED(result = videoWindow->put_Owner(ownerHandle)) ||
        FAILED(result = videoWindow->put_MessageDrain(ownerHandle)) ||
        FAILED(result = videoWindow->put_WindowStyle(kVideoWindowStyle)) ||
        FAILED(result = videoWindow->HideCursor(OATRUE))) {
        return fail(result);
    }
    const RECT client = PictureArea(owner);
    LONG width = 0;
    LONG height = 0;
    bool place = true;
    if (PresentsFullScreen()) {
        // The native size; when it cannot be had the renderer keeps its own placement.
        place = SUCCEEDED(basicVideo->GetVideoSize(&width, &height));
    } else {
        const RECT& area = rect != nullptr ? *rect : client;
        width = area.right - area.left;
        height = area.bottom - area.top;
    }
    if (place) {
        videoWindow->SetWindowPosition((client.right - width) / 2, (client.bottom - height) / 2,
                                       width, height);
    }
    Globals().Register(owner, this);
    return result;
}

HRESULT DSMovie::Close() {
    Globals().Unregister(owner, this);
    CloseWith(videoWindow, [this] {
        if (videoWindow) {
            videoWindow->put_Visible(OAFALSE);
        }
    });
    return 0;
}

HRESULT DSMovie::SetPosition(LONG left, LONG top, LONG width, LONG height) {
    if (!videoWindow) {
        return 0;
    }
    const HRESULT result = videoWindow->SetWindowPosition(left, top, width, height);
    return FAILED(result) ? LogDeviceError(kSetPositionLog, result) : result;
}

HRESULT DSMovie::SetPosition(const RECT& rect) {
    return SetPosition(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

HRESULT DSMovie::FullScreenMode(LONG mode) {
    if (!videoWindow) {
        return 0;
    }
    HRESULT result = videoWindow->put_FullScreenMode(mode);
    if (SUCCEEDED(result) && mode == OAFALSE) {
        result = videoWindow->SetWindowForeground(OATRUE);
        if (SUCCEEDED(result)) {
            UpdateWindow(owner);
            SetForegroundWindow(owner);
            SetFocus(owner);
        }
    }
    return FAILED(result) ? LogDeviceError(kFullScreenModeLog, result) : result;
}

HRESULT DSMovie::NotifyOwnerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!videoWindow) {
        return 0;
    }
    const HRESULT result = videoWindow->NotifyOwnerMessage(
        reinterpret_cast<OAHWND>(window), static_cast<LONG>(message), static_cast<LONG_PTR>(wParam),
        static_cast<LONG_PTR>(lParam));
    return FAILED(result) ? LogDeviceError(kNotifyOwnerMessageLog, result) : result;
}

HRESULT DSMovie_Open(const char* file, HWND owner, const RECT* rect) {
    return Globals().Open(file, owner, rect);
}

void DSMovie_SetEventCallback(MovieEventCallback callback) {
    Globals().SetEventCallback(callback);
}

HRESULT DSMovie_Play(int loop) {
    return Globals().Play(loop);
}

int DSMovie_IsPlaying() {
    return Globals().IsPlaying();
}

int DSMovie_SetVolume(LONG volume) {
    return Globals().SetVolume(volume);
}

void DSMovie_OnGraphNotify(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    InvalidateRect(window, &client, FALSE);
    Globals().OnGraphNotify(window);
}

void DSMovie_Close() {
    Globals().Close();
}

HRESULT DSMovie_Stop() {
    return Globals().Stop();
}

int DSMovie_GetVolume(LONG* volume) {
    return Globals().GetVolume(volume);
}

void DSMovie_CloseAll() {
    Globals().CloseAll();
}

HRESULT DSMovie_SetPosition(LONG left, LONG top, LONG width, LONG height) {
    DSMovie* movie = Globals().instance;
    return movie != nullptr ? movie->SetPosition(left, top, width, height) : 0;
}

HRESULT DSMovie_SetPosition(const RECT* rect) {
    DSMovie* movie = Globals().instance;
    return movie != nullptr && rect != nullptr ? movie->SetPosition(*rect) : 0;
}

HRESULT DSMovie_FullScreenMode(LONG mode) {
    DSMovie* movie = Globals().instance;
    return movie != nullptr ? movie->FullScreenMode(mode) : 0;
}

HRESULT DSMovie_NotifyOwnerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DSMovie* movie = Globals().instance;
    return movie != nullptr ? movie->NotifyOwnerMessage(window, message, wParam, lParam) : 0;
}
