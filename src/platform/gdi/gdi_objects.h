#pragma once
// The objects behind GDI handles, for the text functions of this folder. Every handle is an
// entry in one registry, so that a stale or foreign handle is refused rather than followed.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/scaled_font.h"

namespace gdi {

struct FontObject {
    LOGFONTA logFont{};
    std::unique_ptr<ScaledFont> scaled;  // NULL for a stock font whose file could not be opened
};

struct BitmapObject {
    int width = 0;
    int height = 0;
    bool topDown = true;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, stored in the DIB's own row order

    std::uint32_t* Row(int y) {
        const int stored = topDown ? y : height - 1 - y;
        return pixels.data() + static_cast<std::size_t>(stored) * static_cast<std::size_t>(width);
    }
};

struct DeviceContext {
    std::shared_ptr<FontObject> font;
    std::shared_ptr<BitmapObject> bitmap;
    HGDIOBJ fontHandle = nullptr;
    HGDIOBJ bitmapHandle = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backgroundColour = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT;
};

// A snapshot of a context's state, taken under the registry's lock; NULL for an unknown handle.
std::shared_ptr<DeviceContext> LookUpContext(HDC dc);

}  // namespace gdi
