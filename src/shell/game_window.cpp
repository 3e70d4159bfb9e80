#include "shell/game_window.h"

#include <algorithm>
#include <cstring>

#include <strings.h>

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/icon_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/file_api.h"
#include "resources/game_resources.h"
#include "shell/shell_texts.h"
#include "shell/startup_settings.h"

HWND MainWindow = nullptr;
HMENU MainMenu = nullptr;
char TypedCharBuffer[kTypedCharBufferSize] = {};
int ClickActivateFlag = 0;
int LoadMenuEnabled = 1;
int SaveMenuEnabled = 1;
int TitleReturnEnabled = 1;

namespace {

POINT StoredWindowPosition(int width, int height) {
    RECT stored{};
    ReadWindowRect(&stored);
    return ClampWindowPosition(stored, width, height, Win32ScreenMetric(SM_CXSCREEN),
                               Win32ScreenMetric(SM_CYSCREEN));
}

}  // namespace

POINT ClampWindowPosition(const RECT& stored, int width, int height, int screenWidth,
                          int screenHeight) {
    LONG left = std::max<LONG>(stored.left, 0);
    LONG top = std::max<LONG>(stored.top, 0);
    if (left >= screenWidth - width) {
        left = screenWidth - width;
    }
    if (top >= screenHeight - height) {
        top = screenHeight - height;
    }
    // A window larger than the screen keeps its top-left corner, and so its menu bar, on it.
    return POINT{std::max<LONG>(left, 0), std::max<LONG>(top, 0)};
}

bool AnotherCopyRuns() {
    return FindWindowA(kProgramShortName, kWindowTitle) != nullptr;
}

HWND CreateMainWindow() {
    if (AnotherCopyRuns()) {
        return nullptr;
    }
    if (MainMenu == nullptr) {
        MainMenu = LoadMenuA(nullptr, MAKEINTRESOURCEA(kGameMenuResource));
        if (MainMenu == nullptr) {
            LogPrintf("CreateMainWindow: menu %u not found; the window has no menu bar",
                      static_cast<unsigned>(kGameMenuResource));
        }
    }
    // The class icon, once loaded, lives as long as the process, as resources do.
    static HICON classIcon = nullptr;
    if (classIcon == nullptr) {
        classIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(kGameIconResource));
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hIcon = classIcon;
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kProgramShortName;
    HWND window = nullptr;
    if (RegisterClassExA(&windowClass) != 0) {
        RECT rect{0, 0, static_cast<LONG>(ScreenWidth), static_cast<LONG>(ScreenHeight)};
        AdjustWindowRectEx(&rect, kWindowedStyle, FALSE, WS_EX_APPWINDOW);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        const POINT position = StoredWindowPosition(width, height);
        window = CreateWindowExA(WS_EX_APPWINDOW, kProgramShortName, kWindowTitle, kWindowedStyle,
                                 position.x, position.y, width, height, nullptr, nullptr, nullptr,
                                 nullptr);
    }
    if (window == nullptr) {
        // The platform has no message table: the error code stands for its text.
        LogPrintf("CreateMainWindow: error %u", static_cast<unsigned>(GetLastError()));
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);
    SetCursor(nullptr);
    DisplaySettings.hDeviceWindow = window;
    MainWindow = window;
    return window;
}

void ApplyWindowMode() {
    if (MainWindow == nullptr) {
        return;
    }
    const bool windowed = WindowedFlag != 0;
    const DWORD style = windowed ? kWindowedStyle : kFullScreenStyle;
    SetWindowLongA(MainWindow, GWL_STYLE, static_cast<LONG>(style));
    SetMenu(MainWindow, windowed ? MainMenu : nullptr);
    RECT rect{0, 0, static_cast<LONG>(ScreenWidth), static_cast<LONG>(ScreenHeight)};
    AdjustWindowRectEx(&rect, kWindowedStyle, windowed ? TRUE : FALSE, WS_EX_APPWINDOW);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const POINT position = StoredWindowPosition(width, height);
    SetWindowPos(MainWindow, HWND_TOP, position.x, position.y, width, height,
                 SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(MainWindow, SW_SHOW);
    SetForegroundWindow(MainWindow);
    ChooseSurfaceFormats();
}

bool FullScreenWithDevice() {
    return CurrentDevice() != nullptr && !WindowedFlag;
}

void AppendTypedChar(char c) {
    std::size_t length = std::strlen(TypedCharBuffer);
    if (length >= kTypedCharBufferSize - 1) {
        std::memmove(TypedCharBuffer, TypedCharBuffer + 1, length);
        --length;
    }
    TypedCharBuffer[length] = c;
    TypedCharBuffer[length + 1] = '\0';
}

int MatchTypedKeyword(const char* word) {
    if (word == nullptr) {
        std::memset(TypedCharBuffer, 0, sizeof TypedCharBuffer);
        return 0;
    }
    const std::size_t wordLength = std::strlen(word);
    const std::size_t length = std::strlen(TypedCharBuffer);
    if (wordLength > length) {
        return 0;
    }
    if (strncasecmp(TypedCharBuffer + (length - wordLength), word, wordLength) != 0) {
        return 0;
    }
    TypedCharBuffer[0] = '\0';
    return 1;
}

void ReleaseMainMenu() {
    if (MainMenu != nullptr) {
        DestroyMenu(MainMenu);
        MainMenu = nullptr;
    }
}

void ResetGameWindowState() {
    MainWindow = nullptr;
    ReleaseMainMenu();
    std::memset(TypedCharBuffer, 0, sizeof TypedCharBuffer);
    ClickActivateFlag = 0;
    LoadMenuEnabled = 1;
    SaveMenuEnabled = 1;
    TitleReturnEnabled = 1;
}
