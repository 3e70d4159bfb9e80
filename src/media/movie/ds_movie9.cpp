#include "media/movie/ds_movie9.h"

#include <cstdint>

#include "media/graphics/device_log.h"
#include "platform/win32/window_api.h"

namespace {

constexpr MovieLogNames kLogNames = {"DSMovie9::Open", "DSMovie9::Play", "DSMovie9::Stop",
                                     "DSMovie9::SetVolume", "DSMovie9::GetVolume"};
constexpr WCHAR kRendererName[] = u"Video Mixing Renderer 9";

MovieGlobals<DSMovie9>& Globals() {
    static MovieGlobals<DSMovie9> globals;
    return globals;
}

}  // namespace

bool FitMovieRectangle(RECT* destination, LONG width, LONG height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    RECT& d = *destination;
    const std::int64_t w = width;
    const std::int64_t h = height;
    const std::int64_t areaWidth = d.right - d.left;
    const std::int64_t areaHeight = d.bottom - d.top;
    const auto fitHeight = static_cast<LONG>(areaWidth * h / w);
    if (fitHeight > areaHeight) {
        const auto fitWidth = static_cast<LONG>(areaHeight * w / h);
        const LONG x = d.left + (d.right - fitWidth - d.left) / 2;
        d = RECT{x, d.top, x + fitWidth, d.top + static_cast<LONG>(areaHeight)};
    } else if (areaHeight * w / h > areaWidth) {
        const LONG y = d.top + (d.bottom - fitHeight - d.top) / 2;
        d = RECT{d.left, y, d.left + static_cast<LONG>(areaWidth), y + fitHeight};
    }
    return true;
}

DSMovie9::DSMovie9() : MoviePlayer(kLogNames) {}

DSMovie9::~DSMovie9() {
    Close();
}

HRESULT DSMovie9::Open(const char* file, HWND ownerWindow, const RECT* rect) {
    Close();
    WCHAR wide[260];
    MovieInterface<IBaseFilter> renderer;
    HRESULT result = E_INVALIDARG;
    auto fail = [&](HRESULT code) {
        renderer.reset();
        Close();
        return LogDeviceError(kLogNames.open, code);
    };
    if (!WideFileName(file, wide)) {
        return fail(result);
    }
    owner = OwnerWindow(ownerWindow);
    IGraphBuilder* madeGraph = nullptr;
    result = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(&madeGraph));
    graph.reset(madeGraph);
    if (FAILED(result)) {
        return fail(result);
    }
    IBaseFilter* madeRenderer = nullptr;
    result = CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IBaseFilter, reinterpret_cast<void**>(&madeRenderer));
    renderer.reset(madeRenderer);
    if (FAILED(result) || FAILED(result = graph->AddFilter(renderer.get(), kRendererName))) {
        return fail(result);
    }
    IVMRFilterConfig9* config = nullptr;
    if (SUCCEEDED(
            renderer->QueryInterface(IID_IVMRFilterConfig9, reinterpret_cast<void**>(&config)))) {
        config->SetRenderingMode(VMR9Mode_Windowless);
        config->Release();
    }
    IVMRWindowlessControl9* control9 = nullptr;
    result =
        renderer->QueryInterface(IID_IVMRWindowlessControl9, reinterpret_cast<void**>(&control9));
    windowless.reset(control9);
    if (FAILED(result)) {
        return fail(result);
    }
    renderer.reset();  // the graph keeps its own reference
    windowless->SetVideoClippingWindow(owner);
    if (FAILED(result = graph->RenderFile(wide, nullptr))) {
        return fail(result);
    }
    LONG width = 0;
    LONG height = 0;
    if (FAILED(result = windowless->GetNativeVideoSize(&width, &height, nullptr, nullptr))) {
        return fail(result);
    }
    const RECT source{0, 0, width, height};
    RECT destination{};
    if (rect != nullptr) {
        destination = *rect;
    } else {
        destination = PictureArea(owner);
    }
    // A picture without a size has no aspect ratio to keep.
    if (!FitMovieRectangle(&destination, width, height)) {
        return fail(E_FAIL);
    }
    if (FAILED(result = windowless->SetVideoPosition(&source, &destination)) ||
        FAILED(result = QueryFront()) || FAILED(result = QueryBack()) ||
        FAILED(result = events->SetNotifyWindow(reinterpret_cast<OAHWND>(owner), MovieNotifyMessage,
                                                0))) {
        return fail(result);
    }
    Globals().Register(owner, this);
    return result;
}

HRESULT DSMovie9::Close() {
    Globals().Unregister(owner, this);
    CloseWith(windowless, [] {});
    return 0;
}

HRESULT DSMovie9_Open(const char* file, HWND owner, const RECT* rect) {
    return Globals().Open(file, owner, rect);
}

void DSMovie9_SetEventCallback(MovieEventCallback callback) {
    Globals().SetEventCallback(callback);
}

HRESULT DSMovie9_Play(int loop) {
    return Globals().Play(loop);
}

int DSMovie9_IsPlaying() {
    return Globals().IsPlaying();
}

int DSMovie9_SetVolume(LONG volume) {
    return Globals().SetVolume(volume);
}

void DSMovie9_OnGraphNotify(HWND window) {
    Globals().OnGraphNotify(window);
}

void DSMovie9_Close() {
    Globals().Close();
}

HRESULT DSMovie9_Stop() {
    return Globals().Stop();
}

int DSMovie9_GetVolume(LONG* volume) {
    return Globals().GetVolume(volume);
}

void DSMovie9_CloseAll() {
    Globals().CloseAll();
}
