#include "platform/ui/dialog_text.h"

#include "platform/ui/ui_font.h"
#include "platform/winbase/code_page.h"

namespace ui_internal {

std::string WithoutMnemonics(const std::string& sjis) {
    // An "&" is never a trail byte of Shift-JIS, so the bytes are stepped one by one.
    std::string out;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        if (sjis[i] == '&' && i + 1 < sjis.size()) {
            ++i;
        }
        out += sjis[i];
    }
    return out;
}

std::string Utf8(const std::string& sjis) {
    std::string utf8 = Cp932ToUtf8(sjis).value_or(std::string());
    WantGlyphs(utf8);
    return utf8;
}

std::string Label(const std::string& sjis) {
    return Utf8(WithoutMnemonics(sjis));
}

}  // namespace ui_internal
