// What the preference pages share: hover help, sliders, check boxes and the script's globals.

#include "platform/win32/window_api.h"
#include "script/script_variables.h"
#include "shell/hover_help.h"
#include "shell/preference_pages.h"

namespace preference_page {

void InstallHelp(HWND page, std::initializer_list<HelpEntry> entries) {
    for (const HelpEntry& entry : entries) {
        InstallHoverHelp(GetDlgItem(page, entry.id), entry.text);
    }
}

void SetupSlider(HWND page, int id, int minimum, int maximum, int tick, int position) {
    SendDlgItemMessageA(page, id, TBM_SETRANGEMIN, FALSE, minimum);
    SendDlgItemMessageA(page, id, TBM_SETRANGEMAX, FALSE, maximum);
    if (tick > 0) {
        SendDlgItemMessageA(page, id, TBM_SETTICFREQ, static_cast<WPARAM>(tick), 0);
    }
    SendDlgItemMessageA(page, id, TBM_SETPOS, TRUE, position);
}

int SliderPosition(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0));
}

void SetChecked(HWND page, int id, bool checked) {
    CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void Enable(HWND page, int id, bool enabled) {
    if (HWND control = GetDlgItem(page, id)) {
        EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

int ScriptGlobal(unsigned index) {
    return index < ScriptVariables.size() ? static_cast<int>(ScriptVariables[index]) : 0;
}

}  // namespace preference_page
