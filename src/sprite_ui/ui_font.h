#pragma once
// The UI font: the LOGFONTA from which every new MenuWindow makes its item font. It starts as
// "ＭＳ ゴシック", height 20, weight 700, Shift-JIS, anti-aliased; start-up sets it again.

#include "platform/gdi/gdi_types.h"

// Copies `font` into the UI font; null is ignored.
void SetUiFont(const LOGFONTA* font);
const LOGFONTA& GetUiFont();
// The face, height 20, weight 700, Shift-JIS, anti-aliased: the record balloons use.
LOGFONTA BoldGothicFont();
