#pragma once

#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"

namespace gdi_test {

// "ＭＳ ゴシック", "ＭＳ Ｐゴシック" in Shift-JIS.
inline const char* const kGothic = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
inline const char* const kProportionalGothic =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
// "あ", "漢字" in Shift-JIS.
inline const char* const kHiraganaA = "\x82\xA0";
inline const char* const kKanji = "\x8A\xBF\x8E\x9A";

inline LOGFONTA MakeLogFont(const char* face, LONG height, LONG weight = FW_NORMAL,
                            BYTE charSet = SHIFTJIS_CHARSET, LONG width = 0) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfCharSet = charSet;
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

}  // namespace gdi_test
