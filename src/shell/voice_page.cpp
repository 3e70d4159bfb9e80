// Page 2 of the preferences: the voice switches. "male" and "female" switch a whole group; each
// speaking character of the voice table has its own box, stored at once in section "voice".
// A secret character the player has not heard yet shows "？？？" and cannot be switched.

#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/registry_settings.h"
#include "platform/win32/window_api.h"
#include "shell/preference_pages.h"
#include "shell/preferences_texts.h"

using namespace preference_page;

namespace {

constexpr int kMaleBox = 1214;
constexpr int kFemaleBox = 1217;
constexpr const char kMaleSwitch[] = "male";
constexpr const char kFemaleSwitch[] = "female";

// A value of section "voice", or 1 when it is not stored; *stored tells which.
DWORD VoiceValue(const char* name, bool* stored) {
    DWORD value = 0;
    DWORD size = 0;
    *stored = ReadRegistryValue(kSettingsVoice, name, &value, sizeof value, &size) == 1 &&
              size == sizeof value;
    return *stored ? value : 1;
}

int GroupBox(std::uint32_t group) {
    return group == kVoiceGroupMale ? kMaleBox : kFemaleBox;
}

// A secret character still unknown stays disabled; the others follow their group's switch.
void EnableCharacter(HWND page, const VoiceCharacter& character, bool known) {
    const bool secretAndUnknown = character.hidden != 0 && !known;
    Enable(page, static_cast<int>(character.controlId),
           !secretAndUnknown && IsChecked(page, GroupBox(character.group)));
}

void Init(HWND page) {
    bool stored = false;
    SetChecked(page, kMaleBox, VoiceValue(kMaleSwitch, &stored) != 0);
    SetChecked(page, kFemaleBox, VoiceValue(kFemaleSwitch, &stored) != 0);
    for (const VoiceCharacter* c = VoiceCharacterTable; c->controlId != 0; ++c) {
        bool known = false;
        SetChecked(page, static_cast<int>(c->controlId), VoiceValue(c->valueName, &known) != 0);
        if (c->hidden != 0 && !known) {
            SetDlgItemTextA(page, static_cast<int>(c->controlId), kUnknownCharacter);
        }
        EnableCharacter(page, *c, known);
    }
    InstallHelp(page, {{kMaleBox, kHelpMaleVoices}, {kFemaleBox, kHelpFemaleVoices}});
}

void SwitchGroup(HWND page, int box) {
    WriteRegistryDword(kSettingsVoice, kMaleSwitch, IsChecked(page, kMaleBox) ? 1 : 0);
    WriteRegistryDword(kSettingsVoice, kFemaleSwitch, IsChecked(page, kFemaleBox) ? 1 : 0);
    const bool groupOn = IsChecked(page, box);
    for (const VoiceCharacter* c = VoiceCharacterTable; c->controlId != 0; ++c) {
        if (GroupBox(c->group) != box) {
            continue;
        }
        bool known = false;
        const DWORD value = VoiceValue(c->valueName, &known);
        EnableCharacter(page, *c, known);
        SetVoiceFlag(c->controlId, groupOn && value != 0 ? 1 : 0);
    }
}

void SwitchCharacter(HWND page, int box) {
    StoreVoiceFlag(static_cast<std::uint32_t>(box), IsChecked(page, box) ? 1 : 0);
}

}  // namespace

INT_PTR VoicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            Init(page);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) {
                return FALSE;
            }
            if (LOWORD(wParam) == kMaleBox || LOWORD(wParam) == kFemaleBox) {
                SwitchGroup(page, LOWORD(wParam));
            } else {
                SwitchCharacter(page, LOWORD(wParam));
            }
            return TRUE;
        default:
            return FALSE;
    }
}
