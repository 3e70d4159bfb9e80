#pragma once
// Internal to the presentation: the one ImGui context and its font, IPA Gothic by file path with
// the glyphs of the texts actually shown (ASCII, kana and the full-width forms always; every
// other character as it first appears, the atlas being built anew then).

#include <string_view>

struct ImFont;

namespace ui_internal {

constexpr float kUiFontPixels = 13.0f;
inline constexpr const char kUiFontPath[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// Makes the context on first use.
void EnsureUiContext();
// Adds the characters of `utf8` to the wanted set; true when one was not in the atlas yet.
bool WantGlyphs(std::string_view utf8);
// Builds the atlas anew when characters were added; its generation counts the builds.
void BuildFontAtlas();
int FontAtlasGeneration();

}  // namespace ui_internal
