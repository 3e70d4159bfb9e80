#pragma once
// Internal to the presentation: one ImGui window for a dialog, with a widget for each visible
// control (and the controls of its child dialogs) at the control's place, reading the control
// model; what the user does becomes a deferred control action (dialog_input.h), run after the
// frame so that no dialog procedure runs while ImGui builds one. The focus is the model's
// (GetFocus): the view draws it as a dotted frame (a highlighted choice in a combo box), types
// into the edit field that has it, draws the push button Return presses as the default one, and
// a click gives the control clicked the focus.

#include <imgui.h>

#include <functional>
#include <vector>

#include "platform/winbase/win_types.h"

namespace ui_internal {

// The texture that shows an icon, null when there is none.
using IconLookup = std::function<ImTextureID(HICON icon)>;

struct DialogView {
    using Actions = std::vector<std::function<void()>>;
    // `origin`: where the dialog's client area lies on the surface; `withTitle` adds a caption
    // bar above it (a dialog drawn inside its owner's window).
    static void Build(HWND dialog, ImVec2 origin, bool withTitle, const IconLookup& icons,
                      Actions* actions);
};

}  // namespace ui_internal
