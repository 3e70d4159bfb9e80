#pragma once
// Internal to the presentation: the focus rectangle of a dialog control, a dotted frame as the
// desktop draws it, into the current ImGui window.

#include <imgui.h>

namespace ui_internal {

// A one-pixel dotted rectangle with its corners at `min` and `max` (screen pixels, rounded
// down), in the text colour.
void DrawFocusCue(ImVec2 min, ImVec2 max);

}  // namespace ui_internal
