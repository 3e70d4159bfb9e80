#include "sprite_ui/ui_font.h"

#include <algorithm>

#include "shell/shell_texts.h"

namespace {

LOGFONTA MakeBoldGothic() {
    LOGFONTA font{};
    font.lfHeight = 20;
    font.lfWidth = 0;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    std::copy_n(kUiFontFace, sizeof kUiFontFace, font.lfFaceName);
    return font;
}

LOGFONTA uiFont = MakeBoldGothic();

}  // namespace

void SetUiFont(const LOGFONTA* font) {
    if (font != nullptr) {
        uiFont = *font;
    }
}

const LOGFONTA& GetUiFont() {
    return uiFont;
}

LOGFONTA BoldGothicFont() {
    return MakeBoldGothic();
}
