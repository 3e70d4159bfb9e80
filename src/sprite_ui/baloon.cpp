// Baloon: the balloon list, layout, the help balloon's timer.
#include "sprite_ui/baloon.h"

#include <algorithm>
#include <string>

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "foundation/sjis.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"
#include "sprite_ui/baloon_text.h"
#include "sprite_ui/text_measure.h"
#include "sprite_ui/ui_font.h"

Baloon* HelpBaloon = nullptr;
DWORD BaloonCountdown = 0;
double HighlightClock = 0.0;

namespace {

std::vector<Baloon*> baloons;

constexpr UINT kFontCacheSize = 256;
constexpr DWORD kNoFilter = 1;  // D3DX_FILTER_NONE

// Loads an image of the image folder; false (and nothing kept) when it cannot be.
bool LoadImage(const char* name, D3DTexture** out) {
    if (SUCCEEDED(D3D_LoadTexture(GetPath(PathKind::Image, name), out, 0, 0, D3DFMT_UNKNOWN,
                                  D3DPOOL_MANAGED, kNoFilter))) {
        return true;
    }
    if (*out != nullptr) {
        (*out)->Release();
        *out = nullptr;
    }
    return false;
}

}  // namespace

Baloon::Baloon() {
    baloons.push_back(this);
}

Baloon::~Baloon() {
    if (icon != nullptr) {
        icon->Release();
    }
    if (texture != nullptr) {
        texture->Release();
    }
    if (font != nullptr) {
        font->Release();
    }
    delete[] title;
    delete[] text;
    baloons.erase(std::find(baloons.begin(), baloons.end(), this));
}

int Baloon::Layout(int pointX, int pointY, const char* titleText, const char* bodyText,
                   const char* iconName) {
    if (bodyText == nullptr) {
        LogPrintf("Baloon::Layout: error. no text");
        return 0;
    }
    if (!LoadImage("baloon", &texture)) {
        return 0;
    }
    const bool withIcon = iconName != nullptr && iconName[0] != '\0';
    if (withIcon && !LoadImage(iconName, &icon)) {
        return 0;
    }
    const LOGFONTA logFont = BoldGothicFont();
    if (FAILED(D3D_CreateFont(&font, &logFont, kFontCacheSize))) {
        if (font != nullptr) {
            font->Release();
            font = nullptr;
        }
        return 0;
    }
    std::vector<std::string> lines = SplitBaloonLines(bodyText);
    lineCount = static_cast<int>(lines.size());
    widestLine = 0;
    for (std::string& line : lines) {
        line = StripBaloonMarkup(line);
        widestLine = std::max(widestLine, static_cast<int>(line.size()));
    }
    if (withIcon) {
        lineCount = std::max(lineCount, 2);
    }
    title = DuplicateString(titleText);
    text = DuplicateString(bodyText);
    x = pointX;
    y = pointY;

    const int qw = static_cast<int>(texture->imageWidth) / 4;
    const int qh = static_cast<int>(texture->imageHeight) / 4;
    // Each line is measured on its own, so a line of narrow characters does not set the width.
    SIZE measured{};
    MeasureGdiText(logFont, {lines.begin(), lines.end()}, &measured);
    lineHeight = static_cast<int>(static_cast<double>(measured.cy) * 1.2);
    const int w = (withIcon ? 6 : 2) * qw + static_cast<int>(measured.cx);
    const int h = (lineCount + (title != nullptr ? 1 : 0)) * lineHeight + 3 * qh;
    int left = pointX - w / 2;
    const int top = pointY < h ? pointY + lineHeight + qh : pointY - h;
    if (left < 0) {
        left = 0;
    } else if (left + w > static_cast<int>(ScreenWidth)) {
        left = static_cast<int>(ScreenWidth) - w;
    }
    box = RECT{left, top, left + w, top + h};
    return 1;
}

Baloon* CreateBaloon(int x, int y, const char* title, const char* text, const char* icon) {
    auto* baloon = new Baloon;
    if (baloon->Layout(x, y, title, text, icon) == 0) {
        return DeleteBaloon(baloon);
    }
    return baloon;
}

Baloon* DeleteBaloon(Baloon* baloon) {
    if (baloon == nullptr || std::find(baloons.begin(), baloons.end(), baloon) == baloons.end()) {
        return nullptr;
    }
    if (baloon == HelpBaloon) {
        HelpBaloon = nullptr;
    }
    delete baloon;
    return nullptr;
}

const std::vector<Baloon*>& BaloonList() {
    return baloons;
}

void ResetBaloonTimer() {
    HighlightClock = 0.0;
    BaloonCountdown = BaloonTime;
    if (HelpBaloon != nullptr) {
        DeleteBaloon(HelpBaloon);
        HelpBaloon = nullptr;
    }
}
