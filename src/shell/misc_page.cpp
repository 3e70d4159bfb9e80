// Page 3 of the preferences: explanation balloons and their delay, the cursor's glide to menus
// and its speed, adventure effects, and the texture-filter choices (stored at once).

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "foundation/app_settings.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/window_api.h"
#include "shell/frame_control.h"
#include "shell/preference_pages.h"
#include "shell/preferences_texts.h"
#include "shell/texture_filter.h"

using namespace preference_page;

namespace {

enum Control : int {
    kBaloonBox = 1209,
    kBaloonSlider = 1210,
    kCursorBox = 1211,
    kBaloonLabel = 1212,
    kSpeedSlider = 1213,
    kSpeedLabel = 1219,
    kEffectsBox = 1241,
    kMinFilterCombo = 1255,
    kMagFilterCombo = 1258,
};

constexpr DWORD kMillisecondsPerSecond = 1000;
constexpr int kBaloonMaximum = 3;  // seconds
// The speed slider runs 1..4, the reverse of CursorSpeed (position = 5 - speed).
constexpr int kSpeedMinimum = 1;
constexpr int kSpeedMaximum = 4;
constexpr int kSpeedMirror = 5;

constexpr const char* kSpeedWords[] = {kCursorSpeedInstant, kCursorSpeedFast, kCursorSpeedMedium,
                                       kCursorSpeedSlow};
constexpr const char* kFilterNames[kTextureFilterChoiceCount] = {
    kFilterNone,         kFilterLinear,       kFilterAnisotropic2,
    kFilterAnisotropic4, kFilterAnisotropic8, kFilterAnisotropic16};

void ShowBaloonTime(HWND page) {
    char text[64];
    std::snprintf(text, sizeof text, kBaloonTimeFormat, SliderPosition(page, kBaloonSlider));
    SetDlgItemTextA(page, kBaloonLabel, text);
}

// The word of CursorSpeed 1..4; a stored speed beyond them shows the nearest word.
void ShowSpeed(HWND page) {
    const DWORD speed = std::clamp<DWORD>(CursorSpeed, kSpeedMinimum, kSpeedMaximum);
    char text[64];
    std::snprintf(text, sizeof text, kCursorSpeedFormat, kSpeedWords[speed - 1]);
    SetDlgItemTextA(page, kSpeedLabel, text);
}

void EnableBaloonTime(HWND page) {
    Enable(page, kBaloonLabel, BaloonEnable != 0);
    Enable(page, kBaloonSlider, BaloonEnable != 0);
}

void EnableCursorSpeed(HWND page) {
    Enable(page, kSpeedLabel, CursorAutoMove != 0);
    Enable(page, kSpeedSlider, CursorAutoMove != 0);
}

// The choices the device can filter by, each item's data its number; the stored one selected.
void FillFilterCombo(HWND page, int id, DWORD selected, bool magnification) {
    HWND combo = GetDlgItem(page, id);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    if (D3DApp == nullptr) {
        return;
    }
    for (DWORD choice = 0; choice < kTextureFilterChoiceCount; ++choice) {
        if (!DeviceCanFilter(D3DApp->caps, choice, magnification)) {
            continue;
        }
        const LRESULT index =
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFilterNames[choice]));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), choice);
        if (choice == selected) {
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
}

void Init(HWND page) {
    SetChecked(page, kEffectsBox, AdvEffectEnable != 0);
    SetChecked(page, kBaloonBox, BaloonEnable != 0);
    SetupSlider(page, kBaloonSlider, 0, kBaloonMaximum, 1,
                static_cast<int>(BaloonTime / kMillisecondsPerSecond));
    ShowBaloonTime(page);
    EnableBaloonTime(page);
    SetChecked(page, kCursorBox, CursorAutoMove != 0);
    SetupSlider(page, kSpeedSlider, kSpeedMinimum, kSpeedMaximum, 1,
                kSpeedMirror - static_cast<int>(std::min<DWORD>(CursorSpeed, kSpeedMirror)));
    ShowSpeed(page);
    EnableCursorSpeed(page);
    ReadTextureFilterSettings();
    FillFilterCombo(page, kMinFilterCombo, TextureFilterMin, false);
    FillFilterCombo(page, kMagFilterCombo, TextureFilterMag, true);
    InstallHelp(page, {{kBaloonBox, kHelpBaloon},
                       {kBaloonSlider, kHelpBaloonTime},
                       {kCursorBox, kHelpCursorAutoMove},
                       {kSpeedSlider, kHelpCursorSpeed},
                       {kEffectsBox, kHelpEffects},
                       {kMinFilterCombo, kHelpTextureFilter},
                       {kMagFilterCombo, kHelpTextureFilter}});
}

void ChooseFilter(HWND page, int id) {
    const LRESULT selection = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
    if (selection < 0) {
        return;
    }
    const auto choice = static_cast<DWORD>(
        SendDlgItemMessageA(page, id, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0));
    if (id == kMinFilterCombo) {
        TextureFilterMin = choice;
        WriteRegistryDword(kSettingsMain, "TextureFilterMin", choice);
    } else {
        TextureFilterMag = choice;
        WriteRegistryDword(kSettingsMain, "TextureFilterMag", choice);
    }
    UpdateFrame(0);
}

bool Command(HWND page, int id, WORD code) {
    switch (id) {
        case kBaloonBox:
            BaloonEnable = IsChecked(page, kBaloonBox) ? 1 : 0;
            EnableBaloonTime(page);
            return true;
        case kCursorBox:
            CursorAutoMove = IsChecked(page, kCursorBox) ? 1 : 0;
            EnableCursorSpeed(page);
            return true;
        case kMinFilterCombo:
        case kMagFilterCombo:
            if (code == CBN_SELCHANGE) {
                ChooseFilter(page, id);
            }
            return true;
        default:
            return false;
    }
}

void Scroll(HWND page, HWND slider) {
    switch (GetDlgCtrlID(slider)) {
        case kBaloonSlider:
            BaloonTime =
                static_cast<DWORD>(SliderPosition(page, kBaloonSlider)) * kMillisecondsPerSecond;
            ShowBaloonTime(page);
            break;
        case kSpeedSlider:
            CursorSpeed = static_cast<DWORD>(kSpeedMirror - SliderPosition(page, kSpeedSlider));
            ShowSpeed(page);
            break;
        default:
            break;
    }
}

}  // namespace

INT_PTR MiscPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Init(page);
            return TRUE;
        case WM_COMMAND:
            return Command(page, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_HSCROLL:
            Scroll(page, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_DESTROY:
            AdvEffectEnable = IsChecked(page, kEffectsBox) ? 1 : 0;
            WriteOtherSettings();
            return TRUE;
        default:
            return FALSE;
    }
}
