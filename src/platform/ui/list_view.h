#pragma once
// Internal to the presentation: a list view in report view, drawn from the control model as the
// desktop draws one: a header that stays, rows of the model's row height, the selected row
// highlighted (the row under the pointer is not) and, while the list has the focus, a dotted
// frame round its focused row. The list shows the model's first row, where its keys scroll it;
// the wheel and the scroll bar scroll the model in turn. A click focuses and selects a row, a
// double click starts editing its label, and a press gives the list the focus.

#include <imgui.h>

#include "platform/ui/dialog_view.h"
#include "platform/win32/control_model.h"

namespace ui_internal {

// The list view `control` with `state`, `size` pixels at the cursor; `focused`: it has the focus.
void ListView(HWND control, const win32_internal::ControlState& state, ImVec2 size, bool focused,
              DialogView::Actions* actions);

}  // namespace ui_internal
