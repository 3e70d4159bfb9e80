#include "shell/startup_dialog.h"

#include <cstdio>
#include <iterator>

#include "foundation/app_settings.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/format_names.h"
#include "platform/win32/window_placement.h"
#include "shell/display_modes.h"
#include "shell/hover_help.h"
#include "shell/program.h"
#include "shell/shell_texts.h"
#include "shell/startup_dialog_texts.h"
#include "shell/startup_settings.h"

namespace {

enum Control : int {
    kStart = 1,
    kQuit = 2,
    kAdvanced = 3,
    kFullScreen = 1001,
    kFullColor = 1002,
    kVsync = 1003,
    kDrawModeCombo = 1201,
    kHardwareCursor = 1216,
    kDepthCombo = 1242,
    kFieldCombo = 1243,
    kCharCombo = 1244,
    kSimple = 1246,
    kDepthLabel = 1253,
    kModeCombo = 1264,
    kDesktopMode = 1265,
    kDefaultMode = 1266,
};

constexpr DWORD kCapCanRunWindowed = 2;
constexpr DWORD kCapFullScreen32 = 1;
constexpr DWORD kColourCursorCap = 1;  // D3DCURSORCAPS_COLOR
constexpr DWORD kCustomDrawMode = 4;

struct HelpEntry {
    int id;
    const char* text;
};
constexpr HelpEntry kHelp[] = {
    {kFullScreen, kHelpFullScreen},
    {kFullColor, kHelpFullColor},
    {kStart, kHelpStart},
    {kQuit, kHelpQuit},
    {kAdvanced, kHelpAdvanced},
    {kSimple, kHelpSimple},
    {kDrawModeCombo, kHelpDrawMode},
    {kDepthCombo, kHelpDepth},
    {kFieldCombo, kHelpFieldReduce},
    {kCharCombo, kHelpCharReduce},
    {kVsync, kHelpVsync},
    {kHardwareCursor, kHelpHardwareCursor},
    {kModeCombo, kHelpScreenMode},
    {kDefaultMode, kHelpDefaultMode},
    {kDesktopMode, kHelpDesktopMode},
};

// Draw-mode presets 0..3: "Fullcolor", "DepthFormat", "FieldReduce", "CharReduce".
struct Preset {
    DWORD fullColor;
    DWORD depthFormat;
    DWORD fieldReduce;
    DWORD charReduce;
};
constexpr Preset kPresets[] = {{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 80, 1, 0}, {0, 80, 2, 1}};

// Where the last page of this run stood: the next page is centred there. Pages differ in size,
// so a shared centre (not a shared corner) keeps a page that the player never moved centred on
// the screen, and one the player moved where the player put it.
bool centreKnown = false;
POINT rememberedCentre{};

void Store(const char* name, DWORD value) {
    WriteRegistryDword(kSettingsMain, name, value);
}

UINT BitsOf(D3DFORMAT format) {
    UINT bits = 0;
    D3D_GetFormatName(format, &bits);
    return bits;
}

D3DDISPLAYMODE DesktopMode() {
    D3DDISPLAYMODE desktop{};
    if (D3DApp != nullptr && D3DApp->direct3D != nullptr) {
        D3DApp->direct3D->GetAdapterDisplayMode(D3DApp->adapter, &desktop);
    }
    return desktop;
}

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

void SetCheck(HWND dialog, int id, bool checked, bool enabled) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
    if (HWND control = GetDlgItem(dialog, id)) {
        EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

void FillCombo(HWND dialog, int id, std::initializer_list<const char*> texts, DWORD selected) {
    Send(dialog, id, CB_RESETCONTENT);
    for (const char* text : texts) {
        Send(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    Send(dialog, id, CB_SETCURSEL, selected);
}

void ApplyPreset(DWORD preset) {
    if (preset >= std::size(kPresets)) {
        return;
    }
    const Preset& values = kPresets[preset];
    Store("Fullcolor", values.fullColor);
    Store("DepthFormat", values.depthFormat);
    Store("FieldReduce", values.fieldReduce);
    Store("CharReduce", values.charReduce);
}

// "Vsync", the hardware-cursor switch and "Fullcolor" from their check boxes.
void CheckBoxRule(HWND dialog) {
    Store("Vsync", IsDlgButtonChecked(dialog, kVsync) == BST_CHECKED ? 1 : 0);
    HWCursor = IsDlgButtonChecked(dialog, kHardwareCursor) == BST_CHECKED ? 1 : 0;
    Store("HWCursor", HWCursor);
    Store("Fullcolor", IsDlgButtonChecked(dialog, kFullColor) == BST_CHECKED ? 1 : 0);
}

// A window must be smaller than the desktop: a size that is not is reset to 800 x 600.
void FullScreenRule(HWND dialog) {
    const bool fullScreen = IsDlgButtonChecked(dialog, kFullScreen) == BST_CHECKED;
    const D3DDISPLAYMODE desktop = DesktopMode();
    if (!fullScreen && (desktop.Width <= ScreenWidth || desktop.Height <= ScreenHeight)) {
        ScreenWidth = 800;
        ScreenHeight = 600;
        Store("ScreenWidth", ScreenWidth);
        Store("ScreenHeight", ScreenHeight);
    }
    Store("Fullscreen", fullScreen ? 1 : 0);
}

void FillModeCombo(HWND dialog, UINT bits, UINT refreshRate) {
    Send(dialog, kModeCombo, CB_RESETCONTENT);
    int selected = -1;
    for (std::size_t i = 0; i < DisplayModeList.size(); ++i) {
        const DisplayMode& mode = DisplayModeList[i];
        char line[64];
        std::snprintf(line, sizeof line, "%d x %d x %d %dKHz ", static_cast<int>(mode.width),
                      static_cast<int>(mode.height), static_cast<int>(bits),
                      static_cast<int>(mode.refreshRate));
        Send(dialog, kModeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        if (mode.width == ScreenWidth && mode.height == ScreenHeight &&
            mode.format == DisplaySettings.BackBufferFormat && mode.refreshRate == refreshRate) {
            selected = static_cast<int>(i);
        }
    }
    Send(dialog, kModeCombo, CB_SETCURSEL, static_cast<WPARAM>(selected));
}

void FillDepthCombo(HWND dialog) {
    if (!DisplaySettings.EnableAutoDepthStencil) {
        EnableWindow(GetDlgItem(dialog, kDepthLabel), FALSE);
        EnableWindow(GetDlgItem(dialog, kDepthCombo), FALSE);
        return;
    }
    HWND combo = GetDlgItem(dialog, kDepthCombo);
    if (combo == nullptr) {
        return;
    }
    Send(dialog, kDepthCombo, CB_RESETCONTENT);
    const auto selected = static_cast<D3DFORMAT>(DepthFormat);
    AddDepthFormatItem(combo, "AUTO", D3DFMT_UNKNOWN, selected);
    AddDepthFormatItem(combo, "16bit", D3DFMT_D16, selected);
    AddDepthFormatItem(combo, "24bit", D3DFMT_D24X8, selected);
    AddDepthFormatItem(combo, "32bit", D3DFMT_D32, selected);
}

// The first page stands where its template puts it (centred on the screen); every later page
// is centred where the page before it ended.
void PlacePage(HWND dialog) {
    if (!centreKnown) {
        return;
    }
    RECT rect{};
    GetWindowRect(dialog, &rect);
    SetWindowPos(dialog, nullptr, rememberedCentre.x - RectWidth(rect) / 2,
                 rememberedCentre.y - RectHeight(rect) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void RememberCentre(HWND dialog) {
    RECT rect{};
    GetWindowRect(dialog, &rect);
    rememberedCentre = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    centreKnown = true;
}

void InitDialog(HWND dialog) {
    char caption[128];
    std::snprintf(caption, sizeof caption, "%s Ver.%d.%02d", kWindowTitle, kProductVersionMajor,
                  kProductVersionMinor);
    SetWindowTextA(dialog, caption);
    PlacePage(dialog);
    for (const HelpEntry& entry : kHelp) {
        InstallHoverHelp(GetDlgItem(dialog, entry.id), entry.text);
    }
    StartupAdvancedInit(dialog);
}

int SelectionOf(HWND dialog, int id) {
    return static_cast<int>(Send(dialog, id, CB_GETCURSEL));
}

// WM_COMMAND; true when the page is to be rebuilt from the stored values.
bool Command(HWND dialog, int id, WORD code) {
    const bool comboChange = code == CBN_SELCHANGE;
    switch (id) {
        case kStart:
        case kQuit:
        case kAdvanced:
        case kSimple:
            RememberCentre(dialog);
            EndDialog(dialog, id);
            return false;
        case kFullScreen:
            FullScreenRule(dialog);
            return true;
        case kFullColor:
            Store("DrawMode", kCustomDrawMode);
            CheckBoxRule(dialog);
            FullScreenRule(dialog);
            return true;
        case kVsync:
        case kHardwareCursor:
            CheckBoxRule(dialog);
            FullScreenRule(dialog);
            return true;
        case kDrawModeCombo: {
            const int selection = SelectionOf(dialog, kDrawModeCombo);
            if (!comboChange || selection < 0) {
                return false;
            }
            Store("DrawMode", static_cast<DWORD>(selection));
            if (selection == static_cast<int>(kCustomDrawMode)) {
                return false;
            }
            ApplyPreset(static_cast<DWORD>(selection));
            return true;
        }
        case kDepthCombo: {
            const int selection = SelectionOf(dialog, kDepthCombo);
            if (!comboChange || selection < 0) {
                return false;
            }
            Store("DepthFormat", static_cast<DWORD>(Send(dialog, kDepthCombo, CB_GETITEMDATA,
                                                         static_cast<WPARAM>(selection))));
            Store("DrawMode", kCustomDrawMode);
            return true;
        }
        case kFieldCombo:
        case kCharCombo: {
            const int selection = SelectionOf(dialog, id);
            if (!comboChange || selection < 0) {
                return false;
            }
            Store(id == kFieldCombo ? "FieldReduce" : "CharReduce", static_cast<DWORD>(selection));
            Store("DrawMode", kCustomDrawMode);
            return true;
        }
        case kModeCombo: {
            const int selection = SelectionOf(dialog, kModeCombo);
            if (!comboChange || selection < 0 ||
                static_cast<std::size_t>(selection) >= DisplayModeList.size()) {
                return false;
            }
            const DisplayMode& mode = DisplayModeList[static_cast<std::size_t>(selection)];
            ScreenWidth = mode.width;
            ScreenHeight = mode.height;
            Store("ScreenWidth", ScreenWidth);
            Store("ScreenHeight", ScreenHeight);
            Store("RefreshRate", mode.refreshRate);
            return true;
        }
        case kDesktopMode: {
            const D3DDISPLAYMODE desktop = DesktopMode();
            Store("Fullscreen", 1);
            ScreenWidth = desktop.Width;
            ScreenHeight = desktop.Height;
            Store("ScreenWidth", ScreenWidth);
            Store("ScreenHeight", ScreenHeight);
            Store("RefreshRate", desktop.RefreshRate);
            Store("DrawMode", kCustomDrawMode);
            if (BitsOf(desktop.Format) > 16) {
                Store("Fullcolor", 1);
            }
            return true;
        }
        case kDefaultMode:
            ScreenWidth = 800;
            ScreenHeight = 600;
            Store("ScreenWidth", ScreenWidth);
            Store("ScreenHeight", ScreenHeight);
            Store("RefreshRate", 0);
            Send(dialog, kDrawModeCombo, CB_SETCURSEL, 0);
            Store("DrawMode", 0);
            ApplyPreset(0);
            return true;
        default:
            return false;
    }
}

}  // namespace

void ForgetStartupDialogPosition() {
    centreKnown = false;
}

int AddDepthFormatItem(HWND combo, const char* text, D3DFORMAT format, D3DFORMAT selected) {
    if (format != D3DFMT_UNKNOWN) {
        if (D3DApp == nullptr || D3DApp->direct3D == nullptr ||
            FAILED(D3DApp->direct3D->CheckDepthStencilMatch(
                D3DApp->adapter, D3DApp->deviceType, DisplaySettings.BackBufferFormat,
                DisplaySettings.BackBufferFormat, format))) {
            return 0;
        }
    }
    const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), format);
    if (format == selected) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    return 1;
}

void StartupAdvancedInit(HWND dialog) {
    if (D3DApp == nullptr || D3DApp->direct3D == nullptr) {
        return;
    }
    ReadDisplaySettings();
    D3DApp->CheckDevice(0, static_cast<D3DDEVTYPE>(DevType));
    const bool canRunWindowed = (D3DApp->modeFlags & kCapCanRunWindowed) != 0;
    const bool fullScreen = Fullscreen != 0 || !canRunWindowed;
    WindowedFlag = fullScreen ? FALSE : TRUE;
    DisplaySettings.PresentationInterval =
        fullScreen && Vsync != 0 ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    if ((D3DApp->caps.CursorCaps & kColourCursorCap) == 0) {
        HWCursor = 0;
    }
    ChooseSurfaceFormats();
    const UINT bits = BitsOf(DisplaySettings.BackBufferFormat);

    SetCheck(dialog, kFullScreen, fullScreen, canRunWindowed);
    SetCheck(dialog, kFullColor, bits > 16,
             fullScreen && (D3DApp->modeFlags & kCapFullScreen32) != 0);
    SetCheck(dialog, kVsync, DisplaySettings.PresentationInterval == D3DPRESENT_INTERVAL_DEFAULT,
             fullScreen);
    SetCheck(dialog, kHardwareCursor, HWCursor != 0,
             (D3DApp->caps.CursorCaps & kColourCursorCap) != 0);
    FillCombo(
        dialog, kDrawModeCombo,
        {kDrawModeHigh, kDrawModeStandard, kDrawModeLight, kDrawModeLightest, kDrawModeCustom},
        DrawMode);

    const D3DDISPLAYMODE desktop = DesktopMode();
    const UINT refreshRate = !fullScreen || RefreshRate == 0 ? desktop.RefreshRate : RefreshRate;
    BuildDisplayModeList(DisplaySettings.BackBufferFormat, WindowedFlag, desktop);
    // A stored size that no listed mode offers is replaced first, so that the list shows the
    // mode in use.
    ApplyBackBufferSize();
    FillModeCombo(dialog, bits, refreshRate);
    DisplaySettings.FullScreen_RefreshRateInHz = fullScreen ? refreshRate : 0;

    FillCombo(dialog, kFieldCombo, {kReduceNone, kReduceHalf, kReduceQuarter}, FieldReduce);
    FillCombo(dialog, kCharCombo, {kReduceNone, kReduceHalf}, CharReduce);
    FillDepthCombo(dialog);
}

INT_PTR StartupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog);
            return TRUE;
        case WM_COMMAND:
            if (Command(dialog, LOWORD(wParam), HIWORD(wParam))) {
                StartupAdvancedInit(dialog);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

DWORD GetTextureFilterMinChoice() {
    return TextureFilterMin;
}

DWORD GetTextureFilterMagChoice() {
    return TextureFilterMag;
}

DWORD GetFieldReduce() {
    return FieldReduce;
}

DWORD GetCharReduce() {
    return CharReduce;
}
