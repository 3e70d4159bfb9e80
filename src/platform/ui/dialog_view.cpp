#include "platform/ui/dialog_view.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ui/dialog_text.h"
#include "platform/ui/focus_cue.h"
#include "platform/ui/list_view.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/bitmap_api.h"
#include "platform/win32/control_model.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_keyboard.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/line_breaking.h"

namespace ui_internal {
namespace {

using win32_internal::ControlKind;
using win32_internal::ControlSnapshot;
using win32_internal::ControlState;

// The width of one Shift-JIS character in the dialogs' font, as the frame being built draws it;
// kept until the font atlas is built again.
float CharWidth(std::string_view sjis) {
    static std::unordered_map<std::string, float> widths;
    static int generation = -1;
    if (generation != FontAtlasGeneration()) {
        widths.clear();
        generation = FontAtlasGeneration();
    }
    const auto [entry, added] = widths.try_emplace(std::string(sjis), 0.0f);
    if (added) {
        std::string utf8 = Utf8(entry->first);
        if (utf8.empty()) {
            utf8 = "?";
        }
        entry->second = ImGui::GetFont()
                            ->CalcTextSizeA(ImGui::GetFontSize(), FLT_MAX, 0.0f, utf8.data(),
                                            utf8.data() + utf8.size())
                            .x;
    }
    return entry->second;
}

// The text's lines for a field `width` pixels wide, as message boxes are laid out too.
std::string Wrapped(const std::string& sjis, float width) {
    const std::vector<std::string> lines = WrapCp932Text(WithoutMnemonics(sjis), width, CharWidth);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += (i == 0 ? "" : "\n") + lines[i];
    }
    return Utf8(joined);
}

std::string TextOf(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT ClientRectIn(HWND window, HWND dialog) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    return RECT{rect.left - origin.x, rect.top - origin.y, rect.right - origin.x,
                rect.bottom - origin.y};
}

// A bitmap stretched over `size` at `at`, one filled cell per pixel (the dialogs' bitmaps are
// small colour scales).
void DrawBitmap(const Win32Bitmap& bitmap, ImVec2 at, ImVec2 size) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const float cellWidth = size.x / static_cast<float>(bitmap.width);
    const float cellHeight = size.y / static_cast<float>(bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint32_t argb = bitmap.argbPixels[y * bitmap.width + x];
            const ImU32 colour =
                IM_COL32((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
            const ImVec2 from(at.x + cellWidth * static_cast<float>(x),
                              at.y + cellHeight * static_cast<float>(y));
            draw->AddRectFilled(from, ImVec2(from.x + cellWidth, from.y + cellHeight), colour);
        }
    }
}

// `text` cut to whole characters that fit `width` with an ellipsis after them; as it is when it
// fits.
std::string Elided(const std::string& text, float width) {
    if (ImGui::CalcTextSize(text.c_str()).x <= width) {
        return text;
    }
    static const std::string kEllipsis = "\xE2\x80\xA6";
    WantGlyphs(kEllipsis);
    std::string cut = text;
    while (!cut.empty()) {
        // Back to the start of the last UTF-8 character.
        std::size_t end = cut.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(cut[end]) & 0xC0) == 0x80) {
            --end;
        }
        cut.resize(end);
        if (ImGui::CalcTextSize((cut + kEllipsis).c_str()).x <= width) {
            break;
        }
    }
    return cut + kEllipsis;
}

// A static text (Shift-JIS), clipped to its control: a field one line high shows its text on
// that line, cut cleanly with an ellipsis when it is too long; a taller one wraps it at its width.
void StaticText(const std::string& sjis, ImVec2 at, ImVec2 size) {
    ImGui::PushClipRect(at, ImVec2(at.x + size.x, at.y + size.y), true);
    if (size.y < 2 * ImGui::GetTextLineHeight()) {
        ImGui::TextUnformatted(Elided(Label(sjis), size.x).c_str());
    } else {
        ImGui::TextUnformatted(Wrapped(sjis, size.x).c_str());
    }
    ImGui::PopClipRect();
}

// The open list of a combo box of `width` takes at most `room` pixels below the box (the height
// it was created with, less the closed box), and a whole number of entries, so that the last one
// shown is never cut.
void ComboListSize(float width, float room) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const float entry = ImGui::GetFontSize() + style.ItemSpacing.y;
    const float padding = style.FramePadding.y;
    const int rows =
        std::max(1, static_cast<int>((room - 2 * padding + style.ItemSpacing.y) / entry));
    ImGui::SetNextWindowSizeConstraints(
        ImVec2(width, 0.0f),
        ImVec2(FLT_MAX, static_cast<float>(rows) * entry - style.ItemSpacing.y + 2 * padding));
}

struct ViewContext {
    HWND dialog;
    ImVec2 origin;
    DialogView::Actions* actions;
    const IconLookup* icons;
    HWND focus;         // the control with the keyboard focus
    HWND returnButton;  // the push button Return presses, drawn as the default
};

// A press on the control just drawn gives it the focus, as a click does.
void FocusOnPress(const ViewContext& view, HWND control) {
    if (ImGui::IsItemActivated() && control != view.focus) {
        view.actions->push_back([control] { SetFocus(control); });
    }
}

// The open list of a combo box follows the control model (CB_SHOWDROPDOWN): the keyboard opens
// and closes it there. A click that opens or closes it in ImGui is told to the model in turn.
// Whether ImGui had the list open at the end of the last frame tells the two apart.
std::unordered_map<HWND, bool> comboListsShown;

void ComboBox(const ViewContext& view, HWND control, const ControlState& state, ImVec2 size) {
    const std::string preview =
        state.selection >= 0 && state.selection < static_cast<int>(state.items.size())
            ? Label(state.items[static_cast<std::size_t>(state.selection)].text)
            : std::string();
    const ImGuiID popup = ImHashStr("##ComboPopup", 0, ImGui::GetID("##combo"));
    bool& shown = comboListsShown[control];
    const bool openAtStart = ImGui::IsPopupOpen(popup, ImGuiPopupFlags_None);
    // A click elsewhere closed the list since the last frame: ImGui's word counts.
    const bool closedByImGui = shown && !openAtStart;
    if (!closedByImGui && state.dropped && !openAtStart) {
        ImGui::OpenPopupEx(popup);
    }
    const bool closeNow = !closedByImGui && !state.dropped && openAtStart;
    ImGui::SetNextItemWidth(size.x);
    ComboListSize(size.x, static_cast<float>(state.droppedHeight) - size.y);
    // The open list is opaque over the controls below it.
    ImVec4 listBack = ImGui::GetStyleColorVec4(ImGuiCol_PopupBg);
    listBack.w = 1.0f;
    ImGui::PushStyleColor(ImGuiCol_PopupBg, listBack);
    // With the focus, the choice shown in the box is highlighted, as the desktop shows it.
    const bool focused = control == view.focus;
    if (focused) {
        const ImU32 highlight = ImGui::GetColorU32(ImGuiCol_Header);
        ImGui::PushStyleColor(ImGuiCol_FrameBg, highlight);
        ImGui::PushStyleColor(ImGuiCol_FrameBgHovered, highlight);
    }
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding,
                        ImVec2(0.0f, ImGui::GetStyle().FramePadding.y));
    const bool open = ImGui::BeginCombo("##combo", preview.c_str());
    ImGui::PopStyleVar();
    ImGui::PopStyleColor(focused ? 3 : 1);
    if (open) {
        if (closeNow) {
            ImGui::CloseCurrentPopup();
        }
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            const std::string item = Label(state.items[i].text) + "##" + std::to_string(i);
            if (ImGui::Selectable(item.c_str(), static_cast<int>(i) == state.selection)) {
                const int index = static_cast<int>(i);
                view.actions->push_back([control, index] { Win32ChooseComboItem(control, index); });
            }
        }
        ImGui::EndCombo();
    }
    // The view made ImGui follow the model; any difference left is ImGui's own doing.
    const bool openAtEnd = ImGui::IsPopupOpen(popup, ImGuiPopupFlags_None);
    if (openAtEnd != state.dropped) {
        view.actions->push_back([control, openAtEnd] {
            if (openAtEnd) {
                SetFocus(control);
            }
            Win32ShowComboList(control, openAtEnd);
        });
    }
    shown = openAtEnd;
}

void Control(const ViewContext& view, HWND control) {
    const ControlState state = ControlSnapshot(control);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    const RECT rect = ClientRectIn(control, view.dialog);
    const ImVec2 at(view.origin.x + static_cast<float>(rect.left),
                    view.origin.y + static_cast<float>(rect.top));
    const ImVec2 size(static_cast<float>(RectWidth(rect)), static_cast<float>(RectHeight(rect)));
    ImGui::SetCursorScreenPos(at);
    ImGui::PushID(control);
    const bool enabled = IsWindowEnabled(control) != FALSE;
    ImGui::BeginDisabled(!enabled);
    DialogView::Actions& actions = *view.actions;
    const std::string sjis = TextOf(control);
    const std::string text = Label(sjis);
    switch (state.kind) {
        case ControlKind::kButton: {
            const DWORD type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX) {
                ImDrawList* draw = ImGui::GetWindowDrawList();
                const float top = at.y + kUiFontPixels / 2;
                draw->AddRect(ImVec2(at.x, top), ImVec2(at.x + size.x, at.y + size.y),
                              ImGui::GetColorU32(ImGuiCol_Border));
                const ImVec2 textSize = ImGui::CalcTextSize(text.c_str());
                draw->AddRectFilled(ImVec2(at.x + 6, at.y), ImVec2(at.x + 10 + textSize.x, top + 2),
                                    ImGui::GetColorU32(ImGuiCol_WindowBg));
                draw->AddText(ImVec2(at.x + 8, at.y), ImGui::GetColorU32(ImGuiCol_Text),
                              text.c_str());
            } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTO3STATE ||
                       type == BS_3STATE || type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
                bool checked = state.check != 0;
                const bool radio = type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
                if (radio ? ImGui::RadioButton(text.c_str(), checked)
                          : ImGui::Checkbox(text.c_str(), &checked)) {
                    actions.push_back([control] { Win32ClickControl(control); });
                }
                FocusOnPress(view, control);
                if (control == view.focus) {
                    // Around the label, right of the box.
                    const ImVec2 min = ImGui::GetItemRectMin();
                    const ImVec2 max = ImGui::GetItemRectMax();
                    DrawFocusCue(ImVec2(min.x + ImGui::GetFrameHeight() +
                                            ImGui::GetStyle().ItemInnerSpacing.x - 2,
                                        min.y),
                                 ImVec2(max.x + 2, max.y));
                }
            } else {
                const bool returnButton = control == view.returnButton;
                if (returnButton) {
                    ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
                }
                if (ImGui::Button(text.c_str(), size)) {
                    actions.push_back([control] { Win32ClickControl(control); });
                }
                if (returnButton) {
                    ImGui::PopStyleVar();
                }
                FocusOnPress(view, control);
                if (control == view.focus) {
                    DrawFocusCue(ImVec2(at.x + 3, at.y + 3),
                                 ImVec2(at.x + size.x - 3, at.y + size.y - 3));
                }
            }
            break;
        }
        case ControlKind::kStatic:
            if ((style & SS_TYPEMASK) == SS_BITMAP) {
                const Win32Bitmap bitmap = Win32BitmapOfText(TextOf(control).c_str());
                if (bitmap.argbPixels != nullptr) {
                    DrawBitmap(bitmap, at, size);
                }
            } else if ((style & SS_TYPEMASK) == SS_ICON) {
                if (ImTextureID texture = (*view.icons)(state.icon)) {
                    ImGui::Image(texture, ImVec2(32, 32));
                }
            } else {
                StaticText(sjis, at, size);
            }
            break;
        case ControlKind::kEdit: {
            const bool readOnly = (style & ES_READONLY) != 0;
            const bool multiLine = (style & ES_MULTILINE) != 0;
            if (readOnly && multiLine) {
                // A read-only text wraps at the field's width and scrolls.
                ImGui::PushStyleColor(ImGuiCol_ChildBg, ImGui::GetColorU32(ImGuiCol_FrameBg));
                ImGui::BeginChild("##text", size, true);
                ImGui::TextUnformatted(Wrapped(sjis, ImGui::GetContentRegionAvail().x).c_str());
                ImGui::EndChild();
                ImGui::PopStyleColor();
                break;
            }
            std::string buffer = text;
            buffer.resize(std::max<std::size_t>(buffer.size() + 256, 512));
            const ImGuiInputTextFlags flags = readOnly ? ImGuiInputTextFlags_ReadOnly : 0;
            // The field with the focus is the one ImGui types into.
            const bool focused = control == view.focus;
            if (focused && ImGui::GetActiveID() != ImGui::GetID("##edit")) {
                ImGui::SetKeyboardFocusHere();
            }
            bool edited = false;
            if (multiLine) {
                edited =
                    ImGui::InputTextMultiline("##edit", buffer.data(), buffer.size(), size, flags);
            } else {
                ImGui::SetNextItemWidth(size.x);
                edited = ImGui::InputText("##edit", buffer.data(), buffer.size(), flags);
            }
            if (!focused && !ImGui::IsItemActivated() && ImGui::IsItemActive()) {
                ImGui::ClearActiveID();
            }
            FocusOnPress(view, control);
            if (edited && !readOnly) {
                const std::string typed = Utf8ToCp932(buffer.c_str()).value_or(std::string());
                actions.push_back([control, typed] { Win32TypeText(control, typed.c_str()); });
            }
            break;
        }
        case ControlKind::kComboBox:
            ComboBox(view, control, state, size);
            break;
        case ControlKind::kTrackbar: {
            int position = state.position;
            ImGui::SetNextItemWidth(size.x);
            // A track bar shows no number: the pages say its value in a label beside it.
            const bool moved = ImGui::SliderInt("##track", &position, state.rangeMin,
                                                state.rangeMax, "", ImGuiSliderFlags_NoInput);
            const bool released = ImGui::IsItemDeactivatedAfterEdit();
            if (moved || released) {
                actions.push_back([control, position, released] {
                    Win32DragTrackbar(control, position, released);
                });
            }
            FocusOnPress(view, control);
            if (control == view.focus) {
                DrawFocusCue(at, ImVec2(at.x + size.x, at.y + size.y));
            }
            break;
        }
        case ControlKind::kTab:
            for (std::size_t i = 0; i < state.items.size(); ++i) {
                if (i > 0) {
                    ImGui::SameLine();
                }
                const bool selected = static_cast<int>(i) == state.selection;
                if (selected) {
                    ImGui::PushStyleColor(ImGuiCol_Button, ImGui::GetColorU32(ImGuiCol_WindowBg));
                }
                const std::string tab = Label(state.items[i].text) + "##" + std::to_string(i);
                if (ImGui::Button(tab.c_str())) {
                    const int index = static_cast<int>(i);
                    actions.push_back([control, index] { Win32ChooseTab(control, index); });
                }
                FocusOnPress(view, control);
                if (selected) {
                    ImGui::PopStyleColor();
                    if (control == view.focus) {
                        // Round the tab: its text fills it.
                        const ImVec2 min = ImGui::GetItemRectMin();
                        const ImVec2 max = ImGui::GetItemRectMax();
                        DrawFocusCue(ImVec2(min.x - 2, min.y - 2), ImVec2(max.x + 2, max.y + 2));
                    }
                }
            }
            ImGui::GetWindowDrawList()->AddRect(
                ImVec2(at.x, at.y + win32_internal::kTabRowHeight - 2),
                ImVec2(at.x + size.x, at.y + size.y), ImGui::GetColorU32(ImGuiCol_Border));
            break;
        case ControlKind::kListView:
            ListView(control, state, size, control == view.focus, view.actions);
            break;
        default:
            break;
    }
    ImGui::EndDisabled();
    ImGui::PopID();
}

// The dialog's controls and, inside them, the child dialogs (pages) with theirs.
void Children(const ViewContext& view, HWND parent) {
    for (HWND child : win32_internal::ChildWindowsOf(parent)) {
        if (IsWindowVisible(child) == FALSE) {
            continue;
        }
        if (ControlSnapshot(child).kind != ControlKind::kNone) {
            Control(view, child);
        }
        Children(view, child);
    }
}

}  // namespace

void DialogView::Build(HWND dialog, ImVec2 origin, bool withTitle, const IconLookup& icons,
                       Actions* actions) {
    RECT client{};
    GetClientRect(dialog, &client);
    const std::string caption = Label(TextOf(dialog));
    const float title = withTitle ? ImGui::GetFrameHeight() : 0.0f;
    ImGui::SetNextWindowPos(ImVec2(origin.x, origin.y - title));
    ImGui::SetNextWindowSize(
        ImVec2(static_cast<float>(client.right), static_cast<float>(client.bottom) + title));
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                             ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoScrollbar |
                             ImGuiWindowFlags_NoSavedSettings;
    if (!withTitle) {
        flags |= ImGuiWindowFlags_NoTitleBar;
    }
    const std::string name =
        caption + "##dialog" + std::to_string(reinterpret_cast<std::uintptr_t>(dialog));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    std::erase_if(comboListsShown,
                  [](const auto& entry) { return IsWindow(entry.first) == FALSE; });
    if (ImGui::Begin(name.c_str(), nullptr, flags)) {
        ViewContext view{dialog, origin, actions, &icons, GetFocus(), Win32ReturnButton(dialog)};
        Children(view, dialog);
    }
    ImGui::End();
    ImGui::PopStyleVar();
}

}  // namespace ui_internal
