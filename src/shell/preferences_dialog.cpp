#include "shell/preferences_dialog.h"

#include <iterator>

#include "platform/win32/menu_api.h"
#include "platform/win32/window_api.h"
#include "shell/frame_control.h"
#include "shell/hover_help.h"
#include "shell/preference_pages.h"
#include "shell/preferences_texts.h"

namespace {

constexpr int kCloseButton = 1;

struct PageKind {
    const char* tab;
    WORD resource;
    DLGPROC procedure;
};
constexpr PageKind kPages[kPreferencePageCount] = {
    {kTabSound, kSoundPageResource, VolumePageProc},
    {kTabMessage, kMessagePageResource, MessagePageProc},
    {kTabVoice, kVoicePageResource, VoicePageProc},
    {kTabOther, kOtherPageResource, MiscPageProc},
    {kTabSystem, kSystemPageResource, SystemInfoPageProc},
};

int currentTab = -1;
HWND currentPage = nullptr;

void ShowPage(HWND tabControl, int index) {
    currentTab = index;
    currentPage = CreatePreferencePage(tabControl, index);
}

// The page goes (storing its values) before its successor comes.
void DestroyCurrentPage() {
    HWND page = currentPage;
    currentPage = nullptr;
    if (page != nullptr && IsWindow(page)) {
        DestroyWindow(page);
    }
}

void InitDialog(HWND dialog, LPARAM command) {
    HWND tabControl = GetDlgItem(dialog, kPreferencesTabControl);
    for (int i = 0; i < kPreferencePageCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPages[i].tab);
        SendMessageA(tabControl, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    // Every page names the close button's help as its own; the button is the dialog's.
    InstallHoverHelp(GetDlgItem(dialog, kCloseButton), kHelpClose);
    const int start = PreferencesStartPage(static_cast<WORD>(command));
    SendMessageA(tabControl, TCM_SETCURSEL, static_cast<WPARAM>(start), 0);
    ShowPage(tabControl, start);
}

}  // namespace

int PreferencesStartPage(WORD command) {
    switch (command) {
        case kCommandPreferencesMessage:
            return kPageMessage;
        case kCommandPreferencesSystem:
            return kPageSystem;
        case kCommandPreferencesOther:
            return kPageOther;
        case kCommandPreferencesVoice:
            return kPageVoice;
        default:
            return kPageSound;
    }
}

HWND CreatePreferencePage(HWND tabControl, int index) {
    if (index < 0 || index >= kPreferencePageCount) {
        return nullptr;
    }
    HWND page = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kPages[index].resource), tabControl,
                                   kPages[index].procedure, 0);
    if (page != nullptr) {
        ShowWindow(page, SW_SHOW);
    }
    return page;
}

int CurrentPreferenceTab() {
    return currentTab;
}

HWND CurrentPreferencePage() {
    return currentPage;
}

INT_PTR PreferencesDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog, lParam);
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header == nullptr || header->idFrom != kPreferencesTabControl ||
                header->code != TCN_SELCHANGE) {
                return FALSE;
            }
            DestroyCurrentPage();
            const auto selection =
                static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
            ShowPage(header->hwndFrom, selection);
            return TRUE;
        }
        case WM_CLOSE:
        case WM_COMMAND:
            EndDialog(dialog, kCloseButton);
            return TRUE;
        case WM_DESTROY:
            DestroyCurrentPage();
            currentTab = -1;
            return TRUE;
        default:
            return FALSE;
    }
}

void ShowPreferencesDialog(HWND owner, WORD command) {
    SetDialogMode(1);
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kPreferencesDialogResource), owner,
                    PreferencesDialogProc, command);
    SetDialogMode(0);
}
