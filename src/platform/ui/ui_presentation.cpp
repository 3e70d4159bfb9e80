// The presentation plugged into the Windows layer and into presentation of frames.

#include "platform/ui/ui_presentation.h"

#include <vector>

#include "platform/d3d9/present_overlay.h"
#include "platform/ui/drawn_windows.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/ui_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/code_page.h"

namespace ui_internal {

bool RunDialog(HWND dialog, const bool* ended);
bool ShowModeless(HWND dialog);

namespace {

// Tests draw on a headless display (golden images).
bool drawHeadless = false;

// What was last drawn of a window's open menu: its popups and highlights.
struct MenuPicture {
    HWND window = nullptr;
    std::vector<LONG> signature;
};
std::vector<MenuPicture> menuPictures;

std::vector<LONG> SignatureOf(const win32_internal::MenuTracker* tracker) {
    std::vector<LONG> signature;
    if (tracker != nullptr) {
        for (const win32_internal::MenuLevel& level : tracker->levels()) {
            signature.insert(signature.end(),
                             {static_cast<LONG>(reinterpret_cast<std::uintptr_t>(level.menu)),
                              level.highlighted, level.rect.left, level.rect.top});
        }
    }
    return signature;
}

MenuPicture* PictureOf(HWND window) {
    for (MenuPicture& picture : menuPictures) {
        if (picture.window == window) {
            return &picture;
        }
    }
    return nullptr;
}

bool BeginMenu(HWND window, win32_internal::ModalPresenter* presenter) {
    if (!DrawsOver(window)) {
        return false;
    }
    menuPictures.push_back(MenuPicture{window, {}});
    presenter->context = window;
    // The window is repainted (its frame carries the menu) whenever the menu changed.
    presenter->refresh = [](bool, void* context) {
        HWND menuWindow = static_cast<HWND>(context);
        MenuPicture* picture = PictureOf(menuWindow);
        std::vector<LONG> now = SignatureOf(win32_internal::ActiveMenuTracker(menuWindow));
        if (picture != nullptr && picture->signature != now) {
            picture->signature = std::move(now);
            InvalidateRect(menuWindow, nullptr, FALSE);
        }
    };
    presenter->userPresent = [](void* context) {
        return Win32GetSdlWindow(static_cast<HWND>(context)) != nullptr && !DrawingUnseen();
    };
    return true;
}

void EndMenu(HWND window) {
    std::erase_if(menuPictures, [window](const MenuPicture& p) { return p.window == window; });
    InvalidateRect(window, nullptr, FALSE);
}

LONG MeasureText(const char* sjis) {
    const std::string utf8 = Cp932ToUtf8(sjis != nullptr ? sjis : "").value_or(std::string());
    return static_cast<LONG>(MeasureUtf8(utf8) + 0.5f);
}

bool DrawsOverHook(HWND owner) {
    return DrawsOver(owner);
}

const win32_internal::UiHooks kHooks = [] {
    win32_internal::UiHooks hooks;
    hooks.runDialog = RunDialog;
    hooks.showModeless = ShowModeless;
    hooks.drawsOver = DrawsOverHook;
    hooks.beginMenu = BeginMenu;
    hooks.endMenu = EndMenu;
    hooks.measureText = MeasureText;
    return hooks;
}();

}  // namespace

bool DrawingUnseen() {
    return win32_internal::SdlVideoIsHeadless() && !drawHeadless;
}

bool DrawsOver(HWND owner) {
    return owner != nullptr && !DrawingUnseen() &&
           d3d9_internal::FindDeviceOfWindow(owner) != nullptr;
}

}  // namespace ui_internal

namespace ui {

void InstallUiPresentation() {
    ui_internal::EnsureUiContext();
    win32_internal::SetUiHooks(&ui_internal::kHooks);
    d3d9_internal::SetPresentOverlay(ui_internal::Overlay);
}

void DrawOnHeadlessDisplay(bool draw) {
    ui_internal::drawHeadless = draw;
}

void RemoveUiPresentation() {
    win32_internal::SetUiHooks(nullptr);
    d3d9_internal::SetPresentOverlay(nullptr);
}

}  // namespace ui
