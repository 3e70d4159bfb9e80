#include "platform/ui/list_view.h"

#include <imgui_internal.h>

#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/dialog_text.h"
#include "platform/ui/focus_cue.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace ui_internal {
namespace {

using win32_internal::ControlState;
using win32_internal::kListRowHeight;

// The model's first row each list was last scrolled to; -1 before it was drawn.
std::unordered_map<HWND, int> topRowsShown;

// Inside the table's scrolling region: a scroll by the wheel or the scroll bar goes to the model,
// to the nearest whole row; else a first row that the model changed (its keys) is scrolled to.
void FollowScroll(HWND control, const ControlState& state, DialogView::Actions* actions) {
    std::erase_if(topRowsShown, [](const auto& entry) { return IsWindow(entry.first) == FALSE; });
    int& shown = topRowsShown.try_emplace(control, -1).first->second;
    ImGuiWindow* region = ImGui::GetCurrentWindow();
    const bool userScrolled =
        (ImGui::IsWindowHovered() && ImGui::GetIO().MouseWheel != 0.0f) ||
        ImGui::GetActiveID() == ImGui::GetWindowScrollbarID(region, ImGuiAxis_Y);
    if (userScrolled) {
        const int top = static_cast<int>(std::lround(ImGui::GetScrollY() / kListRowHeight));
        shown = top;
        actions->push_back([control, top] { Win32ScrollList(control, top); });
    } else if (shown != state.topRow) {
        ImGui::SetScrollY(static_cast<float>(state.topRow * kListRowHeight));
        shown = state.topRow;
    }
}

// The first cell of `row`: one selectable across the row's columns.
void RowSelectable(HWND control, const ControlState& state, int row, const std::string& cell,
                   bool focused, DialogView::Actions* actions) {
    const bool selected = row == state.selection;
    // Only the selection is highlighted; pointing at a row or pressing it shows nothing.
    const ImU32 back = selected ? ImGui::GetColorU32(ImGuiCol_Header) : IM_COL32(0, 0, 0, 0);
    ImGui::PushStyleColor(ImGuiCol_HeaderHovered, back);
    ImGui::PushStyleColor(ImGuiCol_HeaderActive, back);
    const std::string id = cell + "##row" + std::to_string(row);
    if (ImGui::Selectable(
            id.c_str(), selected,
            ImGuiSelectableFlags_SpanAllColumns | ImGuiSelectableFlags_AllowDoubleClick)) {
        actions->push_back([control, row] { Win32FocusListRow(control, row); });
    }
    ImGui::PopStyleColor(2);
    if (ImGui::IsItemActivated() && !focused) {
        actions->push_back([control] { SetFocus(control); });
    }
    if (ImGui::IsItemHovered() && ImGui::IsMouseDoubleClicked(0)) {
        actions->push_back([control, row] { Win32BeginLabelEdit(control, row); });
    }
    if (focused && row == state.focusedRow) {
        // Over the row's background, clipped as it is.
        ImGui::TablePushBackgroundChannel();
        DrawFocusCue(ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
        ImGui::TablePopBackgroundChannel();
    }
}

}  // namespace

void ListView(HWND control, const ControlState& state, ImVec2 size, bool focused,
              DialogView::Actions* actions) {
    // A column of width 0 is hidden, as the list view shows it.
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < state.columns.size(); ++i) {
        if (state.columns[i].data != 0) {
            shown.push_back(i);
        }
    }
    if (shown.empty() ||
        !ImGui::BeginTable("##list", static_cast<int>(shown.size()),
                           ImGuiTableFlags_Borders | ImGuiTableFlags_ScrollY, size)) {
        return;
    }
    ImGui::TableSetupScrollFreeze(0, 1);
    for (std::size_t index : shown) {
        ImGui::TableSetupColumn(Label(state.columns[index].text).c_str(),
                                ImGuiTableColumnFlags_WidthFixed,
                                static_cast<float>(state.columns[index].data));
    }
    ImGui::TableHeadersRow();
    FollowScroll(control, state, actions);
    for (std::size_t row = 0; row < state.rows.size(); ++row) {
        const std::vector<std::string>& cells = state.rows[row];
        ImGui::TableNextRow(ImGuiTableRowFlags_None, static_cast<float>(kListRowHeight));
        for (std::size_t column = 0; column < shown.size(); ++column) {
            ImGui::TableSetColumnIndex(static_cast<int>(column));
            const std::string cell =
                shown[column] < cells.size() ? Label(cells[shown[column]]) : std::string();
            if (column == 0) {
                RowSelectable(control, state, static_cast<int>(row), cell, focused, actions);
            } else {
                ImGui::TextUnformatted(cell.c_str());
            }
        }
    }
    ImGui::EndTable();
}

}  // namespace ui_internal
