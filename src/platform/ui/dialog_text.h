#pragma once
// Internal to the presentation: the Shift-JIS texts of dialogs and controls as ImGui shows them,
// UTF-8 with their characters wanted in the font (ui_font.h).

#include <string>

namespace ui_internal {

// The text without the "&" that marks a mnemonic ("&&" stays one "&").
std::string WithoutMnemonics(const std::string& sjis);
// UTF-8 for ImGui; empty for a text that does not convert.
std::string Utf8(const std::string& sjis);
// A control's label: UTF-8 without its mnemonic marks.
std::string Label(const std::string& sjis);

}  // namespace ui_internal
