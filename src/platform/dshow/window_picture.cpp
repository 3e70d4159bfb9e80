#include "platform/dshow/window_picture.h"

#include <map>
#include <mutex>

#include "platform/d3d9/foreign_picture.h"
#include "platform/dshow/dshow_test.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_painted.h"

namespace dshow_detail {
namespace {

struct WindowPicture {
    const void* movie = nullptr;
    std::shared_ptr<const MoviePicture> picture;
    VideoPlacement placement;
    int showCount = 0;
    bool running = false;  // shown again when the window is painted
};

struct Pictures {
    std::mutex mutex;
    std::map<HWND, WindowPicture> windows;
    dshow_test::PictureObserver observer = nullptr;
    void* observerContext = nullptr;
};

Pictures& AllPictures() {
    static Pictures* pictures = new Pictures;  // lives for the whole process
    return *pictures;
}

RECT SourceOf(const WindowPicture& shown) {
    if (shown.placement.wholePicture) {
        return RECT{0, 0, shown.picture->width, shown.picture->height};
    }
    return shown.placement.source;
}

d3d9_internal::ForeignPicture ForeignOf(const WindowPicture& shown) {
    return d3d9_internal::ForeignPicture{shown.picture->argb.data(), shown.picture->width,
                                         shown.picture->height, SourceOf(shown),
                                         shown.placement.destination};
}

// The window was painted over: its movie's picture is shown again on top.
void ShowAgain(HWND window) {
    WindowPicture shown;
    {
        Pictures& pictures = AllPictures();
        std::lock_guard lock(pictures.mutex);
        auto found = pictures.windows.find(window);
        if (found == pictures.windows.end() || !found->second.picture || !found->second.running) {
            return;
        }
        shown = found->second;
    }
    d3d9_internal::ShowForeignPicture(window, ForeignOf(shown));
}

}  // namespace

void ShowPicture(const void* movie, const VideoPlacement& placement,
                 std::shared_ptr<const MoviePicture> picture) {
    Pictures& pictures = AllPictures();
    WindowPicture shown;
    dshow_test::PictureObserver observer = nullptr;
    void* context = nullptr;
    {
        std::lock_guard lock(pictures.mutex);
        WindowPicture& kept = pictures.windows[placement.window];
        kept.movie = movie;
        kept.picture = std::move(picture);
        kept.placement = placement;
        kept.running = true;
        ++kept.showCount;
        shown = kept;
        observer = pictures.observer;
        context = pictures.observerContext;
    }
    win32_internal::SetWindowPaintedListener(ShowAgain);
    d3d9_internal::ShowForeignPicture(placement.window, ForeignOf(shown));
    if (observer != nullptr) {
        observer(placement.window, context);
    }
}

void HoldPictures(const void* movie) {
    Pictures& pictures = AllPictures();
    std::lock_guard lock(pictures.mutex);
    for (auto& [window, shown] : pictures.windows) {
        if (shown.movie == movie) {
            shown.running = false;
        }
    }
}

void ForgetPictures(const void* movie) {
    Pictures& pictures = AllPictures();
    std::lock_guard lock(pictures.mutex);
    std::erase_if(pictures.windows,
                  [movie](const auto& entry) { return entry.second.movie == movie; });
}

}  // namespace dshow_detail

namespace dshow_test {

ShownPicture LastShown(HWND window) {
    using namespace dshow_detail;
    Pictures& pictures = AllPictures();
    std::lock_guard lock(pictures.mutex);
    ShownPicture result;
    auto found = pictures.windows.find(window);
    if (found == pictures.windows.end() || !found->second.picture) {
        return result;
    }
    const WindowPicture& shown = found->second;
    result.shown = true;
    result.number = shown.picture->number;
    result.time = shown.picture->time;
    result.showCount = shown.showCount;
    result.source = SourceOf(shown);
    result.destination = shown.placement.destination;
    result.width = shown.picture->width;
    result.height = shown.picture->height;
    result.argb = shown.picture->argb;
    return result;
}

bool CaptureWindow(HWND window, int* width, int* height, std::vector<std::uint32_t>* argb) {
    const ShownPicture shown = LastShown(window);
    const SIZE frame = d3d9_internal::FrameSizeOf(window);
    if (!shown.shown || frame.cx <= 0 || frame.cy <= 0) {
        return false;
    }
    *width = frame.cx;
    *height = frame.cy;
    argb->resize(static_cast<std::size_t>(frame.cx) * static_cast<std::size_t>(frame.cy));
    d3d9_internal::DrawForeignPicture(
        d3d9_internal::ForeignPicture{shown.argb.data(), shown.width, shown.height, shown.source,
                                      shown.destination},
        frame, argb->data());
    return true;
}

void SetPictureObserver(PictureObserver observer, void* context) {
    using namespace dshow_detail;
    Pictures& pictures = AllPictures();
    std::lock_guard lock(pictures.mutex);
    pictures.observer = observer;
    pictures.observerContext = context;
}

}  // namespace dshow_test
