#pragma once
// Which font file draws a LOGFONTA's face: a fixed table for the faces the game names, then
// fontconfig, then a fixed file per character set.

#include <string>
#include <string_view>

namespace gdi {

// The face name bytes (Shift-JIS) and character set of a LOGFONTA; answers a font file path,
// or an empty string when none can be found.
std::string FontFileForFace(std::string_view faceName, unsigned charSet);

// The fixed file for faces that nothing else draws: IPA Gothic for Shift-JIS, else DejaVu Sans.
std::string FallbackFontFile(unsigned charSet);

// The table's files, also used as fallbacks.
inline constexpr const char* kGothicFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
inline constexpr const char* kProportionalGothicFile =
    "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
inline constexpr const char* kSansFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

}  // namespace gdi
