#include "shell/notice_dialogs.h"

#include <cstdio>

#include "foundation/app_settings.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/win32/icon_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/shell_api.h"
#include "platform/win32/window_api.h"
#include "resources/game_resources.h"
#include "shell/frame_control.h"
#include "shell/log_text.h"
#include "shell/program.h"
#include "shell/shell_texts.h"

namespace {

constexpr int kNoticeText = 1152;
constexpr int kVersionText = 1000;
constexpr int kVersionIcon = 1228;
constexpr int kMailButton = 3;
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

std::string previousLog;
bool previousLogKept = false;
HICON versionIcon = nullptr;

void ShowEmergencyText(HWND dialog) {
    std::string text;
    if (LoadTextFile(GetPath(PathKind::Data, "emergency.txt"), &text)) {
        SetDlgItemTextA(dialog, kNoticeText, text.c_str());
    }
}

// The log (the one kept from before this run's first line, when there is one) followed by
// "support.txt", onto the clipboard; the clipboard is left empty without a log.
void CopyLogForSupport(HWND dialog) {
    if (OpenClipboard(dialog) == FALSE) {
        return;
    }
    EmptyClipboard();
    std::string text;
    const bool haveLog =
        previousLogKept ? (text = previousLog, true) : LoadTextFile(LogFilePath(), &text);
    if (haveLog) {
        std::string support;
        if (LoadTextFile(GetPath(PathKind::Data, "support.txt"), &support)) {
            text += support;
        }
        PutClipboardText(text);
    }
    CloseClipboard();
}

}  // namespace

void KeepPreviousLog() {
    previousLog.clear();
    previousLogKept = false;
    const std::string path = LogFilePath();
    if (FileExists(path.c_str()) != 0) {
        previousLogKept = LoadTextFile(path, &previousLog);
    }
}

void ForgetPreviousLog() {
    previousLog.clear();
    previousLogKept = false;
}

const std::string& PreviousLog() {
    return previousLog;
}

INT_PTR NoticeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowEmergencyText(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case 1:
                case 2:
                    WriteSafetyQuit(0);
                    EndDialog(dialog, LOWORD(wParam));
                    return TRUE;
                case kMailButton:
                    ShowEmergencyText(dialog);
                    CopyLogForSupport(dialog);
                    ShellExecuteA(dialog, "open", kSupportMailAddress, nullptr, nullptr,
                                  kShowNormal);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

INT_PTR VersionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            char title[128] = {};
            GetWindowTextA(GetParent(dialog), title, sizeof title);
            if (title[0] == '\0') {
                std::snprintf(title, sizeof title, "%s", kWindowTitle);
            }
            char text[256];
            std::snprintf(text, sizeof text, "%s Ver.%d.%02d\r\n%s", title, kProductVersionMajor,
                          kProductVersionMinor, kRightsLine);
            SetDlgItemTextA(dialog, kVersionText, text);
            versionIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(kGameIconResource));
            SendDlgItemMessageA(dialog, kVersionIcon, STM_SETICON,
                                reinterpret_cast<WPARAM>(versionIcon), 0);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == 1 || LOWORD(wParam) == 2) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            if (versionIcon != nullptr) {
                DestroyIcon(versionIcon);
                versionIcon = nullptr;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

int RunNoticeDialog() {
    return static_cast<int>(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kNoticeDialogResource),
                                            nullptr, NoticeDialogProc, 0));
}

void ShowVersionDialog(HWND owner) {
    SetDialogMode(1);
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kVersionDialogResource), owner, VersionDialogProc, 0);
    SetDialogMode(0);
}
