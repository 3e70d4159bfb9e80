#include "sprite_ui/text_measure.h"

#include <algorithm>

#include "platform/gdi/gdi.h"

bool MeasureGdiText(const LOGFONTA& logFont, const std::vector<std::string_view>& texts,
                    SIZE* widest) {
    *widest = SIZE{0, 0};
    HFONT gdiFont = CreateFontIndirectA(&logFont);
    if (gdiFont == nullptr) {
        return false;
    }
    if (HDC dc = CreateCompatibleDC(nullptr); dc != nullptr) {
        SetMapMode(dc, MM_TEXT);
        HGDIOBJ old = SelectObject(dc, gdiFont);
        for (std::string_view text : texts) {
            SIZE size{};
            GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
            widest->cx = std::max(widest->cx, size.cx);
            widest->cy = std::max(widest->cy, size.cy);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    DeleteObject(gdiFont);
    return true;
}
