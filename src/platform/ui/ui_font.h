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
// Characters were wanted since the atlas was last built.
bool FontAtlasDirty();
// Builds the atlas anew when characters were added; its generation counts the builds.
void BuildFontAtlas();
int FontAtlasGeneration();
// The font of the atlas (built first when needed).
ImFont* UiFont();
// The width in pixels of a UTF-8 text in the font, its characters wanted first.
float MeasureUtf8(std::string_view utf8);

}  // namespace ui_internal
