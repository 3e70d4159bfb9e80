// Solid brushes and fills on window device contexts.

#include "platform/win32/gdi_fill.h"

#include <map>
#include <mutex>

#include "platform/win32/window_api.h"
#include "platform/winbase/file_api.h"

namespace {

// Stock brushes are fixed handles from this base upwards, one per index; created brushes follow.
constexpr std::uintptr_t kStockBrushBase = 0x40000;
constexpr std::uintptr_t kFirstSolidBrush = 0x40100;
constexpr COLORREF kStockColours[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                      RGB(64, 64, 64), RGB(0, 0, 0)};
constexpr COLORREF kWindowColour = RGB(255, 255, 255);

struct Brushes {
    std::mutex mutex;
    std::map<std::uintptr_t, COLORREF> solid;
    std::uintptr_t nextHandle = kFirstSolidBrush;
};

Brushes& AllBrushes() {
    static Brushes* brushes = new Brushes;  // lives for the whole process
    return *brushes;
}

std::uintptr_t KeyOf(HBRUSH brush) {
    return reinterpret_cast<std::uintptr_t>(brush);
}

// A window's context is its handle (the same as BeginPaint's, paint_api.h).
HWND WindowOfContext(HDC dc) {
    HWND window = reinterpret_cast<HWND>(dc);
    return dc != nullptr && IsWindow(window) ? window : nullptr;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
    if (index < WHITE_BRUSH || index > NULL_BRUSH) {
        return nullptr;
    }
    return reinterpret_cast<HGDIOBJ>(kStockBrushBase + static_cast<std::uintptr_t>(index));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    Brushes& brushes = AllBrushes();
    std::lock_guard<std::mutex> guard(brushes.mutex);
    const std::uintptr_t key = brushes.nextHandle;
    brushes.nextHandle += 4;
    brushes.solid.emplace(key, colour & 0x00FFFFFFu);
    return reinterpret_cast<HBRUSH>(key);
}

BOOL DeleteObject(HBRUSH brush) {
    const std::uintptr_t key = KeyOf(brush);
    if (key >= kStockBrushBase && key <= kStockBrushBase + NULL_BRUSH) {
        return TRUE;
    }
    Brushes& brushes = AllBrushes();
    std::lock_guard<std::mutex> guard(brushes.mutex);
    return brushes.solid.erase(key) == 1 ? TRUE : FALSE;
}

bool Win32BrushColour(HBRUSH brush, COLORREF* colour) {
    const std::uintptr_t key = KeyOf(brush);
    COLORREF found = 0;
    if (key == COLOR_WINDOW + 1) {
        found = kWindowColour;
    } else if (key >= kStockBrushBase && key < kStockBrushBase + NULL_BRUSH) {
        found = kStockColours[key - kStockBrushBase];
    } else {
        Brushes& brushes = AllBrushes();
        std::lock_guard<std::mutex> guard(brushes.mutex);
        auto it = brushes.solid.find(key);
        if (it == brushes.solid.end()) {
            return false;
        }
        found = it->second;
    }
    if (colour != nullptr) {
        *colour = found;
    }
    return true;
}

HDC GetDC(HWND window) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return reinterpret_cast<HDC>(window);
}

int ReleaseDC(HWND window, HDC dc) {
    return window != nullptr && WindowOfContext(dc) == window ? 1 : 0;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr || WindowOfContext(dc) == nullptr || !Win32BrushColour(brush, nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return 1;
}
