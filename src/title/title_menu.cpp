#include "title/title_menu.h"

#include <cmath>

#include "adventure/game_mode.h"
#include "adventure/pad_buttons.h"
#include "adventure/save_slot_table.h"
#include "adventure/scene.h"
#include "adventure/system_functions.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/sound/direct_sound.h"
#include "platform/d3dx/matrix.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "script/script_variables.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_window.h"
#include "title/title_popup.h"

TitleMenu* gTitleMenu = nullptr;
Baloon* TitleHoverBaloon = nullptr;

namespace {

constexpr const char* kDecideSound = "se001";
constexpr const char* kCancelSound = "se002";
constexpr DWORD kSoundFlags = 128;  // DSBCAPS_CTRLVOLUME

void PlaySound(const char* name) {
    PlaySE(GetPath(PathKind::Sound, name), static_cast<LONG>(SoundVolume) - 10000, nullptr,
           kSoundFlags);
}

void SetDrawStates(IDirect3DDevice9* device) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    D3DApp->SetTransform(D3DTS_WORLD, &identity);
    const DWORD filter = LetterboxScale == 1.0 ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
}

void WriteResult(std::int32_t value) {
    const auto word = static_cast<std::uint32_t>(value);
    SetVar(kResultVariable, &word);
}

bool Contains(const TitleItem& item, POINT point) {
    return MenuRectContains(item.dest, point);
}

// Opens the game window's load sub-menu at the pointer; the chosen command reaches the window.
void TrackLoadMenu(HWND window) {
    ScanSaveSlots(MainMenu);
    HMENU load = GetSubMenu(GetSubMenu(MainMenu, 0), 0);
    if (load == nullptr) {
        return;
    }
    POINT screen{};
    GetCursorPos(&screen);
    if (IDirect3DDevice9* device = CurrentDevice()) {
        device->ShowCursor(FALSE);
    }
    SetDialogMode(1);
    TrackPopupMenuEx(load, TPM_CENTERALIGN, screen.x, screen.y, window, nullptr);
    SetDialogMode(0);
}

}  // namespace

TitleMenu::TitleMenu() : savedMode(GameMode) {}

TitleMenu::~TitleMenu() {
    items.clear();
    if (GameMode == kGameModeTitleMenu) {
        GameMode = savedMode;
    }
}

std::int32_t TitleMenu::ItemAt(POINT point, std::int32_t TitleItem::*value) const {
    for (std::size_t i = items.size(); i-- > 0;) {
        const TitleItem& item = *items[i];
        if (Contains(item, point) && (value == nullptr || item.*value != kTitleNoValue)) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

void TitleMenu::OnMouseMove(POINT point) {
    const std::int32_t before = hovered;
    if (pressed == -1) {
        hovered = ItemAt(point, nullptr);
    } else {
        const bool inside = static_cast<std::size_t>(pressed) < items.size() &&
                            Contains(*items[static_cast<std::size_t>(pressed)], point);
        hovered = inside ? pressed : -1;
    }
    if (hovered != before) {
        hoverClock = 0.0;
        Title::DeleteHoverBaloon();
    }
}

void TitleMenu::OnButtonDown(POINT point) {
    const std::int32_t hit = ItemAt(point, nullptr);
    if (hit == -1) {
        pressed = -1;
        return;
    }
    if (hovered != hit) {
        hoverClock = 0.0;
        Title::DeleteHoverBaloon();
    }
    hovered = hit;
    pressed = hit;
}

bool TitleMenu::OnLeftButtonUp(POINT point) {
    const std::int32_t hit = ItemAt(point, &TitleItem::leftValue);
    if (hit == -1) {
        pressed = -1;
        OnMouseMove(point);
        return false;
    }
    const bool clickedHere = pressed == hit;
    if (clickedHere) {
        clicked = hit;
    }
    if (hovered != hit) {
        hoverClock = 0.0;
        Title::DeleteHoverBaloon();
    }
    hovered = hit;
    pressed = -1;
    if (!clickedHere) {
        return false;
    }
    chosen = clicked;
    WriteResult(items[static_cast<std::size_t>(clicked)]->leftValue);
    return true;
}

bool TitleMenu::OnRightButtonUp(POINT point) {
    const std::int32_t hit = ItemAt(point, &TitleItem::rightValue);
    if (hit == -1) {
        return false;
    }
    chosen = hit;
    WriteResult(items[static_cast<std::size_t>(hit)]->rightValue);
    return true;
}

void TitleMenu::RunChosenItem() {
    if (chosen == -1) {
        return;
    }
    const auto index = static_cast<std::size_t>(chosen);
    chosen = -1;
    if (index < items.size() && items[index]->RunScript()) {
        CaptureBasePlane(nullptr);
    }
}

namespace Title {

void DeleteHoverBaloon() {
    TitleHoverBaloon = DeleteBaloon(TitleHoverBaloon);
}

void DrawItems() {
    IDirect3DDevice9* device = CurrentDevice();
    if (gTitleMenu == nullptr || device == nullptr) {
        return;
    }
    SetDrawStates(device);
    if (LetterboxRect.left != 0 || LetterboxRect.top != 0) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    }
    const TitleMenu& menu = *gTitleMenu;
    const auto at = [&](std::int32_t index) -> const TitleItem* {
        return index >= 0 && static_cast<std::size_t>(index) < menu.items.size()
                   ? menu.items[static_cast<std::size_t>(index)].get()
                   : nullptr;
    };
    const TitleItem* hovered = at(menu.hovered);
    const TitleItem* clicked = at(menu.clicked);
    const bool hoverShown = hovered != nullptr && hovered->HasImage(1);
    const bool pressShown = clicked != nullptr && clicked->HasImage(2);
    for (const auto& item : menu.items) {
        if ((hoverShown && item.get() == hovered) || (pressShown && item.get() == clicked)) {
            continue;
        }
        item->Draw(0, 0);
    }
    if (hoverShown) {
        const double pulse = std::fabs(std::cos(kTitlePulseRate * menu.hoverClock));
        hovered->Draw(1, static_cast<int>(pulse * kTitleFullPulse));
    }
    if (pressShown) {
        clicked->Draw(2, kTitleFullPulse);
    }
}

int Update(float seconds) {
    if (gTitleMenu == nullptr) {
        // The menu went while a script of its own ran: the script underneath goes on.
        GameMode = kGameModeAdventure;
        return 1;
    }
    PadToKeys(seconds);
    gTitleMenu->hoverClock += seconds;
    DrawItems();
    if (TitleHoverBaloon != nullptr) {
        TitleHoverBaloon->Draw();
    }
    if (gTitleMenu->closeRequest != 0) {
        Close();
        return 1;
    }
    gTitleMenu->RunChosenItem();
    GetRecollectionPopup().RunRecollection();
    GetCommandPopup().PostCommand();
    return 1;
}

LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (GetFocusWindow() != nullptr || gTitleMenu == nullptr) {
        return 1;
    }
    TitleMenu& menu = *gTitleMenu;
    switch (message) {
        case WM_KEYDOWN: {
            const DWORD key = wParam == VK_APPS ? VK_ESCAPE : static_cast<DWORD>(wParam);
            menu.navigator.OnKeyDown(window, MenuCursorPosition(), key);
            return 1;
        }
        case WM_MOUSEMOVE: {
            menu.OnMouseMove(MenuCursorPosition());
            const bool hand =
                menu.hovered >= 0 &&
                menu.items[static_cast<std::size_t>(menu.hovered)]->leftValue != kTitleNoValue;
            SetCursorShape(hand ? kTitleCursorHand : kTitleCursorArrow);
            return 0;
        }
        case WM_LBUTTONDOWN:
            menu.OnButtonDown(MenuCursorPosition());
            return 0;
        case WM_LBUTTONUP:
            if (menu.OnLeftButtonUp(MenuCursorPosition())) {
                PlaySound(kDecideSound);
            }
            return 0;
        case WM_RBUTTONUP:
            if (menu.OnRightButtonUp(MenuCursorPosition())) {
                PlaySound(kCancelSound);
            }
            return 0;
        case WM_USER:
            TrackLoadMenu(window);
            return 0;
        default:
            return 1;
    }
}

void Close() {
    DeleteHoverBaloon();
    GetRecollectionPopup().Clear();
    GetCommandPopup().CloseWindow();
    TitleMenu* menu = gTitleMenu;
    gTitleMenu = nullptr;
    delete menu;
}

}  // namespace Title
