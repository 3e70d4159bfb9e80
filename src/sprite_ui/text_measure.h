#pragma once
// Text measured as GDI measures it: a font made from a LOGFONTA, selected into a memory device
// context in MM_TEXT mode, and GetTextExtentPoint32A.

#include <string_view>
#include <vector>

#include "platform/gdi/gdi_types.h"

// The widest width and the tallest height of `texts` (bytes as given); false when the GDI font
// cannot be made (`widest` is then 0 x 0).
bool MeasureGdiText(const LOGFONTA& logFont, const std::vector<std::string_view>& texts,
                    SIZE* widest);
