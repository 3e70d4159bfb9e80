#include "platform/ui/focus_cue.h"

#include <cmath>

namespace ui_internal {

void DrawFocusCue(ImVec2 min, ImVec2 max) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImU32 colour = ImGui::GetColorU32(ImGuiCol_Text);
    const float left = std::floor(min.x);
    const float top = std::floor(min.y);
    const float right = std::floor(max.x) - 1;
    const float bottom = std::floor(max.y) - 1;
    if (right <= left || bottom <= top) {
        return;
    }
    const auto dot = [&](float x, float y) {
        draw->AddRectFilled(ImVec2(x, y), ImVec2(x + 1, y + 1), colour);
    };
    // Every other pixel, counted round the frame from its top-left corner.
    for (float x = left; x <= right; x += 2) {
        dot(x, top);
        dot(x, bottom);
    }
    for (float y = top + 2; y < bottom; y += 2) {
        dot(left, y);
        dot(right, y);
    }
}

}  // namespace ui_internal
