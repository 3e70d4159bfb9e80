// Page 4 of the preferences: the machine as the start-up report found it (processor, clock,
// system, memory, the drive of the system folder, the display adapter and the sound driver),
// the log in a view that the "詳細表示" box shows, and the copy button that puts the log on the
// clipboard.

#include <cstdio>
#include <string>

#include "foundation/text.h"
#include "media/graphics/d3d_application.h"
#include "media/sound/direct_sound.h"
#include "platform/win32/shell_api.h"
#include "platform/win32/window_api.h"
#include "shell/log_text.h"
#include "shell/preference_pages.h"
#include "shell/preferences_texts.h"
#include "shell/system_info.h"

using namespace preference_page;

namespace {

enum Control : int {
    kCopyButton = 1206,
    kLogView = 1207,
    kCpuName = 1225,
    kMemory = 1226,
    kShowLogBox = 1227,
    kDriveLetter = 1228,
    kOsName = 1229,
    kDriveTotal = 1230,
    kDriveFree = 1231,
    kAdapter = 1232,
    kAdapterVersion = 1233,
    kSoundDriver = 1234,
    kSoundVersion = 1235,
    kCpuClock = 1236,
};

// The system folder lies on C:, the file system that holds the program directory (the only
// fixed drive there is).
constexpr int kSystemDrive = 'C' - 'A';

// "%d.%02d.%02d.%04d" from the four 16-bit parts, most significant first.
std::string VersionText(DWORD high, DWORD low) {
    char text[48];
    std::snprintf(text, sizeof text, "%d.%02d.%02d.%04d", static_cast<int>(high >> 16),
                  static_cast<int>(high & 0xFFFF), static_cast<int>(low >> 16),
                  static_cast<int>(low & 0xFFFF));
    return text;
}

void SetText(HWND page, int id, const std::string& text) {
    SetDlgItemTextA(page, id, text.c_str());
}

void ShowMachine(HWND page) {
    if (SystemInfo != nullptr) {
        const SystemInfoRecord& info = *SystemInfo;
        SetText(page, kCpuName, info.cpuName);
        SetText(page, kCpuClock, CpuClockText(info.cpuClock));
        SetText(page, kOsName, info.osName);
        SetText(page, kMemory, FormatByteSize(info.totalMemory));
        const SystemInfoDrive& drive = info.drives[kSystemDrive];
        SetText(page, kDriveLetter, std::string(1, static_cast<char>('A' + kSystemDrive)));
        SetText(page, kDriveTotal, FormatByteSize(static_cast<std::int64_t>(drive.totalBytes)));
        SetText(page, kDriveFree, FormatByteSize(static_cast<std::int64_t>(drive.freeBytes)));
    }
    if (D3DApp != nullptr) {
        const D3DADAPTER_IDENTIFIER9& adapter = D3DApp->identifier;
        SetText(page, kAdapter, adapter.Description);
        SetText(page, kAdapterVersion,
                VersionText(static_cast<DWORD>(adapter.DriverVersion.u.HighPart),
                            adapter.DriverVersion.u.LowPart));
    }
    const SoundDriverInfo* sound = GetSoundDriverCount() > 0 ? GetSoundDriverInfo(0) : nullptr;
    SetText(page, kSoundDriver, sound != nullptr ? sound->description : std::string());
    SetText(page, kSoundVersion,
            sound != nullptr ? VersionText(sound->productVersionMS, sound->productVersionLS)
                             : VersionText(0, 0));
}

void Init(HWND page) {
    HWND logView = GetDlgItem(page, kLogView);
    ShowWindow(logView, SW_HIDE);
    std::string log;
    LoadTextFile(LogFilePath(), &log);
    SetWindowTextA(logView, log.c_str());
    ShowMachine(page);
    InstallHelp(page, {{kShowLogBox, kHelpShowLog}, {kCopyButton, kHelpCopyLog}});
}

// The log as it stands now; nothing happens when it cannot be read.
void CopyLog(HWND page) {
    std::string log;
    if (!LoadTextFile(LogFilePath(), &log) || OpenClipboard(page) == FALSE) {
        return;
    }
    EmptyClipboard();
    PutClipboardText(log);
    CloseClipboard();
}

}  // namespace

INT_PTR SystemInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            Init(page);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kShowLogBox:
                    ShowWindow(GetDlgItem(page, kLogView),
                               IsChecked(page, kShowLogBox) ? SW_SHOW : SW_HIDE);
                    return TRUE;
                case kCopyButton:
                    CopyLog(page);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}
