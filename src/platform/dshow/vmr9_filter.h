#pragma once
// Internal to the movie graph: the Video Mixing Renderer 9. Added to a graph before RenderFile,
// it takes the movie's pictures; in windowless mode it draws them into its clipping window's
// client area at the destination rectangle, and only then can its windowless control be reached.
// It draws nothing until it has a clipping window and a destination.

#include <atomic>

#include "platform/dshow/dshow.h"
#include "platform/dshow/video_renderer.h"

namespace dshow_detail {

class Vmr9Filter final : public IBaseFilter,
                         public IVMRFilterConfig9,
                         public IVMRWindowlessControl9,
                         public VideoRenderer {
public:
    Vmr9Filter() = default;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT SetRenderingMode(DWORD mode) override;
    HRESULT GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectWidth,
                               LONG* aspectHeight) override;
    HRESULT SetVideoPosition(const RECT* source, const RECT* destination) override;
    HRESULT SetVideoClippingWindow(HWND window) override;

    void Connect(SIZE nativeSize) override;
    bool Placement(VideoPlacement* placement) const override;
    HWND window() const override { return window_; }

    // A graph took the filter (a filter belongs to one graph only).
    bool TakeIntoGraph();

private:
    ~Vmr9Filter() override = default;

    std::atomic<ULONG> references_{1};
    bool inGraph_ = false;
    DWORD mode_ = VMR9Mode_Windowed;
    bool connected_ = false;
    SIZE native_{};
    HWND window_ = nullptr;
    RECT source_{};
    bool wholePicture_ = true;
    RECT destination_{};
    bool hasDestination_ = false;
};

}  // namespace dshow_detail
