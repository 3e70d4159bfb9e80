#include "platform/dshow/window_picture.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/dshow/dshow_test.h"
#include "platform/dshow/sdl_picture_output.h"
#include "platform/win32/window_api.h"

namespace dshow_detail {
namespace {

struct WindowPicture {
    const void* movie = nullptr;
    std::shared_ptr<const MoviePicture> picture;
    VideoPlacement placement;
    int showCount = 0;
    std::unique_ptr<SdlPictureOutput> output;
    bool outputTried = false;
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

}  // namespace

void ShowPicture(const void* movie, const VideoPlacement& placement,
                 std::shared_ptr<const MoviePicture> picture) {
    Pictures& pictures = AllPictures();
    dshow_test::PictureObserver observer = nullptr;
    void* context = nullptr;
    {
        std::lock_guard lock(pictures.mutex);
        WindowPicture& shown = pictures.windows[placement.window];
        shown.movie = movie;
        shown.picture = std::move(picture);
        shown.placement = placement;
        ++shown.showCount;
        if (!shown.outputTried) {
            shown.outputTried = true;
            shown.output = SdlPictureOutput::ForWindow(placement.window);
        }
        if (shown.output) {
            shown.output->Show(placement, *shown.picture);
        }
        observer = pictures.observer;
        context = pictures.observerContext;
    }
    if (observer != nullptr) {
        observer(placement.window, context);
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
    RECT client{};
    if (!shown.shown || !GetClientRect(window, &client) || client.right <= 0 ||
        client.bottom <= 0) {
        return false;
    }
    *width = client.right;
    *height = client.bottom;
    argb->assign(static_cast<std::size_t>(client.right) * client.bottom, 0xFF000000u);
    const RECT& d = shown.destination;
    const RECT& s = shown.source;
    const LONG destinationWidth = d.right - d.left;
    const LONG destinationHeight = d.bottom - d.top;
    for (LONG y = std::max<LONG>(d.top, 0); y < std::min(d.bottom, client.bottom); ++y) {
        const LONG sy = s.top + static_cast<LONG>(static_cast<std::int64_t>(y - d.top) *
                                                  (s.bottom - s.top) / destinationHeight);
        for (LONG x = std::max<LONG>(d.left, 0); x < std::min(d.right, client.right); ++x) {
            const LONG sx = s.left + static_cast<LONG>(static_cast<std::int64_t>(x - d.left) *
                                                       (s.right - s.left) / destinationWidth);
            if (sx >= 0 && sy >= 0 && sx < shown.width && sy < shown.height) {
                (*argb)[static_cast<std::size_t>(y) * client.right + x] =
                    shown.argb[static_cast<std::size_t>(sy) * shown.width + sx];
            }
        }
    }
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
