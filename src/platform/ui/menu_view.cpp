// Menus drawn from the menu model: a window's bar and the popups of its open menu loop, as the
// menu tracker lays them out, in one draw list in window coordinates.

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/drawn_windows.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/code_page.h"

namespace ui_internal {
namespace {

using win32_internal::MenuItemText;
using win32_internal::MenuLevel;
using win32_internal::MenuTracker;

constexpr ImU32 kBarColour = IM_COL32(0xF0, 0xF0, 0xF0, 0xFF);
constexpr ImU32 kBarLineColour = IM_COL32(0xC8, 0xC8, 0xC8, 0xFF);
constexpr ImU32 kPopupColour = IM_COL32(0xF8, 0xF8, 0xF8, 0xFF);
constexpr ImU32 kBorderColour = IM_COL32(0x80, 0x80, 0x80, 0xFF);
constexpr ImU32 kSeparatorColour = IM_COL32(0xC8, 0xC8, 0xC8, 0xFF);
constexpr ImU32 kHighlightColour = IM_COL32(0x33, 0x66, 0xCC, 0xFF);
constexpr ImU32 kTextColour = IM_COL32(0x00, 0x00, 0x00, 0xFF);
constexpr ImU32 kHighlightTextColour = IM_COL32(0xFF, 0xFF, 0xFF, 0xFF);
constexpr ImU32 kGreyTextColour = IM_COL32(0x8C, 0x8C, 0x8C, 0xFF);

std::string ItemTextOf(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string Utf8(const std::string& sjis) {
    return Cp932ToUtf8(sjis).value_or(std::string());
}

ImVec2 At(LONG x, LONG y) {
    return ImVec2(static_cast<float>(x), static_cast<float>(y));
}

class MenuPainter {
public:
    MenuPainter(ImDrawList* list, ImFont* font) : list_(list), font_(font) {}

    void Text(LONG x, LONG top, LONG rowHeight, const std::string& sjis, ImU32 colour) {
        const std::string text = Utf8(sjis);
        const float y = static_cast<float>(top) +
                        static_cast<float>(static_cast<int>((rowHeight - kUiFontPixels) / 2));
        list_->AddText(font_, kUiFontPixels, ImVec2(static_cast<float>(x), y), colour,
                       text.c_str());
    }

    void Bar(const MenuLevel& bar, LONG width, bool open) {
        list_->AddRectFilled(At(0, 0), At(width, kMenuBarHeight), kBarColour);
        list_->AddLine(At(0, kMenuBarHeight - 1), At(width, kMenuBarHeight - 1), kBarLineColour);
        for (std::size_t i = 0; i < bar.items.size(); ++i) {
            const RECT& item = bar.items[i];
            const bool hot = static_cast<int>(i) == bar.highlighted;
            if (hot) {
                list_->AddRectFilled(At(item.left, item.top), At(item.right, item.bottom - 1),
                                     open ? kHighlightColour : kBarLineColour);
            }
            const int position = static_cast<int>(i);
            const UINT state = GetMenuState(bar.menu, static_cast<UINT>(position), MF_BYPOSITION);
            const bool grey = (state & (MF_GRAYED | MF_DISABLED)) != 0;
            Text(item.left + win32_internal::kMenuBarItemPadding, item.top, kMenuBarHeight,
                 win32_internal::SplitMenuItemText(ItemTextOf(bar.menu, position)).name,
                 grey ? kGreyTextColour : (hot && open ? kHighlightTextColour : kTextColour));
        }
    }

    void Popup(const MenuLevel& level) {
        const RECT& r = level.rect;
        list_->AddRectFilled(At(r.left, r.top), At(r.right, r.bottom), kPopupColour);
        list_->AddRect(At(r.left, r.top), At(r.right, r.bottom), kBorderColour);
        LONG shortcutLeft = 0;
        for (std::size_t i = 0; i < level.items.size(); ++i) {
            const MenuItemText text =
                win32_internal::SplitMenuItemText(ItemTextOf(level.menu, static_cast<int>(i)));
            shortcutLeft = std::max(shortcutLeft, win32_internal::MeasureMenuText(text.name));
        }
        shortcutLeft += win32_internal::kMenuCheckColumn + win32_internal::kMenuShortcutGap;
        for (std::size_t i = 0; i < level.items.size(); ++i) {
            Item(level, static_cast<int>(i), shortcutLeft);
        }
    }

private:
    void Item(const MenuLevel& level, int position, LONG shortcutLeft) {
        const RECT& item = level.items[static_cast<std::size_t>(position)];
        const UINT state = GetMenuState(level.menu, static_cast<UINT>(position), MF_BYPOSITION);
        if ((state & MF_SEPARATOR) != 0) {
            const float y = static_cast<float>(item.top + win32_internal::kMenuSeparatorHeight / 2);
            list_->AddLine(ImVec2(static_cast<float>(item.left + 2), y),
                           ImVec2(static_cast<float>(item.right - 2), y), kSeparatorColour);
            return;
        }
        const bool hot = position == level.highlighted;
        const bool grey = (state & (MF_GRAYED | MF_DISABLED)) != 0;
        if (hot) {
            list_->AddRectFilled(At(item.left, item.top), At(item.right, item.bottom),
                                 kHighlightColour);
        }
        const ImU32 colour = grey ? kGreyTextColour : (hot ? kHighlightTextColour : kTextColour);
        const LONG height = RectHeight(item);
        if ((state & MF_CHECKED) != 0) {
            const float x = static_cast<float>(item.left + 5);
            const float y = static_cast<float>(item.top + height / 2);
            list_->AddLine(ImVec2(x, y), ImVec2(x + 3, y + 3), colour, 2.0f);
            list_->AddLine(ImVec2(x + 3, y + 3), ImVec2(x + 9, y - 4), colour, 2.0f);
        }
        const MenuItemText text =
            win32_internal::SplitMenuItemText(ItemTextOf(level.menu, position));
        Text(item.left + win32_internal::kMenuCheckColumn, item.top, height, text.name, colour);
        if (!text.shortcut.empty()) {
            Text(item.left + shortcutLeft, item.top, height, text.shortcut, colour);
        }
        if (GetSubMenu(level.menu, position) != nullptr) {
            const float x = static_cast<float>(item.right - 11);
            const float y = static_cast<float>(item.top + height / 2);
            list_->AddTriangleFilled(ImVec2(x, y - 4), ImVec2(x + 4, y), ImVec2(x, y + 4), colour);
        }
    }

    ImDrawList* list_;
    ImFont* font_;
};

}  // namespace

DrawnFrame BuildMenuFrame(HWND window) {
    HMENU bar = GetMenu(window);
    const MenuTracker* tracker = win32_internal::ActiveMenuTracker(window);
    if ((bar == nullptr || (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0) &&
        tracker == nullptr) {
        return DrawnFrame{};
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    const LONG width = RectWidth(rect);
    const bool barTracked = tracker != nullptr && tracker->isBar();
    // The layout measures texts first, so that the atlas holds their glyphs before drawing.
    std::optional<MenuTracker> barLayout;
    if (bar != nullptr && !barTracked) {
        barLayout.emplace(MenuTracker::ForBar(window, SIZE{width, RectHeight(rect)}));
    }
    ImFont* font = UiFont();
    ImDrawListSharedData shared;
    shared.Font = font;
    shared.FontSize = kUiFontPixels;
    shared.TexUvWhitePixel = font->ContainerAtlas->TexUvWhitePixel;
    shared.ClipRectFullscreen =
        ImVec4(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(RectHeight(rect)));
    shared.InitialFlags = ImDrawListFlags_None;
    ImDrawList list(&shared);
    list._ResetForNewFrame();
    list.PushClipRectFullScreen();
    list.PushTextureID(font->ContainerAtlas->TexID);
    MenuPainter painter(&list, font);
    if (barLayout) {
        painter.Bar(barLayout->levels()[0], width, false);
    }
    if (tracker != nullptr) {
        const auto& levels = tracker->levels();
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (barTracked && i == 0) {
                painter.Bar(levels[0], width, levels.size() > 1);
            } else {
                painter.Popup(levels[i]);
            }
        }
    }
    return CopyDrawList(&list);
}

}  // namespace ui_internal
