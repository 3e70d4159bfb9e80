// MenuWindow: the window list, creation and destruction, items, fonts and the focus.
#include "sprite_ui/menu_window.h"

#include <algorithm>
#include <cstring>

#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_placement.h"
#include "shell/game_window.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_input.h"
#include "sprite_ui/text_measure.h"
#include "sprite_ui/ui_font.h"

namespace {

std::vector<MenuWindow*> windows;
MenuWindow* focus = nullptr;
std::uint64_t nextSerial = 1;

constexpr UINT kFontCacheSize = 256;

void FreeItem(MenuItem* item) {
    delete[] item->text;
    delete[] item->helpText;
    delete item;
}

void ReleaseFont(D3DFont*& font) {
    if (font != nullptr) {
        font->Release();
        font = nullptr;
    }
}

}  // namespace

void MenuItem::SetText(const char* newText) {
    delete[] text;
    text = DuplicateString(newText);
}

MenuWindowWatch::MenuWindowWatch(MenuWindow* window)
    : window_(window), serial_(window != nullptr ? window->serial : 0) {}

bool MenuRectContains(const RECT& rect, POINT p) {
    return p.x >= rect.left && p.x < rect.right && p.y >= rect.top && p.y < rect.bottom;
}

bool MenuWindowWatch::Alive() const {
    return IsMenuWindow(window_) && window_->serial == serial_;
}

MenuWindow::MenuWindow() : serial(nextSerial++) {
    windows.push_back(this);
}

int MenuWindow::Init(int left, int top, int areaWidth, int areaHeight, int line,
                     MenuWindowHandler eventHandler, void* eventContext, DWORD windowFlags) {
    x = left;
    y = top;
    width = areaWidth;
    height = areaHeight;
    lineHeight = line;
    handler = eventHandler;
    context = eventContext;
    flags = windowFlags | kMenuJustFocused;
    MenuKeyLock = 1;
    return DispatchWindowEvent(this, kMenuEventCreate, 0) == 0 ? 1 : 0;
}

int MenuWindow::AddItem(const MenuItem& item) {
    auto* copy = new MenuItem(item);
    copy->text = DuplicateString(item.text);
    copy->helpText = DuplicateString(item.helpText);
    items.push_back(copy);
    itemFonts.push_back(nullptr);
    const int index = static_cast<int>(items.size()) - 1;
    if (fontDescription.lfHeight != 0) {
        SIZE size{};
        if (!MeasureGdiText(fontDescription, {copy->text != nullptr ? copy->text : ""}, &size)) {
            LogPrintf("MenuWindow::AddItem: error. font(%d)", index);
            return -1;
        }
        copy->extent = RECT{0, 0, size.cx, lineHeight};
        contentWidth = std::max(contentWidth, static_cast<int>(size.cx));
    }
    contentHeight += lineHeight;
    return index;
}

MenuItem* MenuWindow::GetItem(int index) {
    if (index < 0) {
        index = current;
    }
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return nullptr;
    }
    return items[static_cast<std::size_t>(index)];
}

void MenuWindow::SetFont(const LOGFONTA& logFont) {
    fontDescription = logFont;
    ReleaseFont(font);
    if (FAILED(D3D_CreateFont(&font, &fontDescription, kFontCacheSize))) {
        ReleaseFont(font);
    }
}

void MenuWindow::FreeItems() {
    for (MenuItem* item : items) {
        FreeItem(item);
    }
    items.clear();
    for (D3DFont*& itemFont : itemFonts) {
        ReleaseFont(itemFont);
    }
    itemFonts.clear();
}

void MenuWindow::ClearItems() {
    FreeItems();
    ReleaseFont(font);
    contentHeight = 0;
}

void MenuWindow::RemoveItems() {
    // A shrunk font belongs to the text it was made for, not to the next item at its index.
    FreeItems();
    contentWidth = 0;
    contentHeight = 0;
}

void MenuWindow::LoadFrameTextures(const char* path) {
    LoadFrameTextureSet(frameTextures, path);
}

int MenuWindow::GetLinesPerPage() const {
    return lineHeight > 0 ? (itemArea.bottom - itemArea.top) / lineHeight : 0;
}

void MenuWindow::GetItemArea(RECT* area) const {
    if (area != nullptr) {
        *area = itemArea;
    }
}

int MenuWindow::DrawnScroll() const {
    if ((flags & kMenuFreeScroll) != 0 || lineHeight <= 0) {
        return scroll;
    }
    return scroll - scroll % lineHeight;
}

MenuWindow* CreateMenuWindow(int x, int y, int width, int height, int lineHeight,
                             MenuWindowHandler handler, void* context, DWORD flags) {
    if (lineHeight <= 0) {
        LogPrintf("MenuWindow: error. line height(%d)", lineHeight);
        return nullptr;
    }
    auto* window = new MenuWindow;
    const MenuWindowWatch watch(window);
    if (window->Init(x, y, width, height, lineHeight, handler, context, flags) == 0) {
        if (watch.Alive()) {
            DeleteMenuWindow(window);
        }
        return nullptr;
    }
    if (!watch.Alive()) {
        return nullptr;
    }
    const FrameTextures& defaults = DefaultFrameTextures();
    if (defaults[kFrameBackground] != nullptr) {
        for (std::size_t i = 0; i < defaults.size(); ++i) {
            window->frameTextures[i] = defaults[i];
            if (defaults[i] != nullptr) {
                defaults[i]->AddRef();
            }
        }
    }
    window->SetFont(GetUiFont());
    return window;
}

void DestroyMenuWindow(MenuWindow* window) {
    if (!IsMenuWindow(window) || window->closing) {
        return;
    }
    window->closing = true;
    DispatchWindowEvent(window, kMenuEventClose, 0);
    ReleaseFrameTextureSet(window->frameTextures);
    window->ClearItems();
    const auto listed = std::find(windows.begin(), windows.end(), window);
    if (listed != windows.end()) {
        windows.erase(listed);
    }
    if (focus != window) {
        return;
    }
    focus = nullptr;
    // Every candidate from the last to the first takes the focus in turn, so the first one in
    // list order keeps it.
    std::vector<MenuWindowWatch> candidates;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        candidates.emplace_back(*it);
    }
    for (const MenuWindowWatch& candidate : candidates) {
        MenuWindow* other = candidate.get();
        if (candidate.Alive() && !other->items.empty() &&
            (other->flags & (kMenuPassive | kMenuHidden)) == 0) {
            SetFocusWindow(other);
        }
    }
    ResetBaloonTimer();
}

MenuWindow* DeleteMenuWindow(MenuWindow* window) {
    if (!IsMenuWindow(window) || window->closing) {
        return nullptr;
    }
    DestroyMenuWindow(window);
    delete window;
    return nullptr;
}

void DestroyAllMenuWindows() {
    while (!windows.empty()) {
        MenuWindow* first = windows.front();
        if (first->closing) {
            // Its own close handler is running; nothing else can remove it.
            windows.erase(windows.begin());
            continue;
        }
        DeleteMenuWindow(first);
    }
}

bool IsMenuWindow(const MenuWindow* window) {
    return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

const std::vector<MenuWindow*>& MenuWindowList() {
    return windows;
}

MenuWindow* GetFocusWindow() {
    return focus;
}

void SetFocusWindow(MenuWindow* window) {
    if (window == focus) {
        return;
    }
    const MenuWindowWatch watch(window);
    if (focus != nullptr) {
        DispatchWindowEvent(focus, kMenuEventFocus, -1);
        if (window != nullptr && !watch.Alive()) {
            return;
        }
    }
    focus = window;
    if (window != nullptr) {
        DispatchWindowEvent(window, kMenuEventFocus, window->current);
    }
    ResetBaloonTimer();
    if (watch.Alive()) {
        window->flags |= kMenuJustFocused;
    }
}

void FocusMenuWindow(MenuWindow* window) {
    if (IsMenuWindow(window)) {
        SetFocusWindow(window);
        ResetBaloonTimer();
    }
}

MenuWindow* GetNextMenuWindow(MenuWindow* window) {
    if (windows.empty()) {
        return focus;
    }
    const auto it = std::find(windows.begin(), windows.end(), window);
    if (window == nullptr || it == windows.end() || it + 1 == windows.end()) {
        return windows.front();
    }
    return *(it + 1);
}

MenuWindow* GetPrevMenuWindow(MenuWindow* window) {
    if (windows.empty()) {
        return focus;
    }
    const auto it = std::find(windows.begin(), windows.end(), window);
    if (window == nullptr || it == windows.end() || it == windows.begin()) {
        return windows.back();
    }
    return *(it - 1);
}

int CountMenuWindows(DWORD mask) {
    return static_cast<int>(std::count_if(
        windows.begin(), windows.end(), [mask](MenuWindow* w) { return (w->flags & mask) == 0; }));
}

int DispatchWindowEvent(MenuWindow* window, int event, std::intptr_t argument) {
    if (window == nullptr || window->handler == nullptr) {
        return 0;
    }
    return window->handler(window, event, argument, window->context);
}

LRESULT MenuWindowHook(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) {
        DestroyAllMenuWindows();
        ReleaseDefaultFrameTextures();
    } else if (message == WM_MOUSEMOVE && !windows.empty()) {
        MenuWindow::TrackPointer();
    }
    return 0;
}

POINT MenuCursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    if ((WindowedFlag || CurrentDevice() == nullptr) && MainWindow != nullptr) {
        ScreenToClient(MainWindow, &p);
    }
    return p;
}
