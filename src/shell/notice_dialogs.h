#pragma once
// The notice dialog 144 (after a run that did not end normally) and the version dialog 105.

#include <string>

#include "platform/win32/dialog_api.h"

constexpr WORD kNoticeDialogResource = 144;
constexpr WORD kVersionDialogResource = 105;

// The maker's help-desk mail link and web site, opened with the desktop's default action.
inline constexpr const char kSupportMailAddress[] = "mailto:support@velkaro.example";
inline constexpr const char kMakerWebSite[] = "https://velkaro.example/";

// End code: the button's id (1 start the game, 2 back to the desktop).
INT_PTR NoticeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR VersionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The log of the run that did not end normally, read before this run writes its first line (which
// empties the file); the notice dialog's copy button copies it. Empty when there was none.
void KeepPreviousLog();
void ForgetPreviousLog();
const std::string& PreviousLog();

// Shows the notice dialog with no owner: its end code, -1 when it cannot be shown.
int RunNoticeDialog();
// Command 40005: the version dialog over `owner`, modal, inside dialog mode.
void ShowVersionDialog(HWND owner);
