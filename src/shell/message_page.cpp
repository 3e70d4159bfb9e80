// Page 1 of the preferences: the message window's colour (hue, saturation, value and alpha,
// redrawn behind the dialog while a slider moves), ruby, the two skip switches and the
// auto-advance interval.

#include <cstdio>

#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/window_api.h"
#include "shell/frame_control.h"
#include "shell/hsv_colour.h"
#include "shell/preference_pages.h"
#include "shell/preferences_texts.h"

using namespace preference_page;

namespace {

enum Control : int {
    kHueSlider = 1006,
    kValueSlider = 1009,
    kSaturationSlider = 1108,
    kVoiceSkipBox = 1149,
    kSkipUnseenBox = 1188,
    kRubyBox = 1190,
    kIntervalSlider = 1196,
    kIntervalLabel = 1213,
    kAlphaSlider = 1256,
};

constexpr int kHueMaximum = 359;
constexpr int kChannelMaximum = 255;
constexpr int kIntervalMaximum = 3;  // seconds
constexpr DWORD kMillisecondsPerSecond = 1000;

void ShowInterval(HWND page) {
    char text[32];
    std::snprintf(text, sizeof text, kAutoIntervalFormat, SliderPosition(page, kIntervalSlider));
    SetDlgItemTextA(page, kIntervalLabel, text);
}

void Init(HWND page) {
    const HsvColour colour = ArgbToHsv(WndColor);
    SetupSlider(page, kHueSlider, 0, kHueMaximum, 0, colour.hue);
    SetupSlider(page, kSaturationSlider, 0, kChannelMaximum, 0, colour.saturation);
    SetupSlider(page, kValueSlider, 0, kChannelMaximum, 0, colour.value);
    SetupSlider(page, kAlphaSlider, 0, kChannelMaximum, 0, colour.alpha);
    SetChecked(page, kSkipUnseenBox, MsgSkipUnseen != 0);
    SetChecked(page, kVoiceSkipBox, VoiceSkip != 0);
    SetChecked(page, kRubyBox, MsgUseRuby != 0);
    SetupSlider(page, kIntervalSlider, 0, kIntervalMaximum, 1,
                static_cast<int>(MsgAutoInterval / kMillisecondsPerSecond));
    ShowInterval(page);
    InstallHelp(page, {{kSkipUnseenBox, kHelpSkipUnseen},
                       {kRubyBox, kHelpRuby},
                       {kIntervalSlider, kHelpAutoInterval},
                       {kVoiceSkipBox, kHelpVoiceSkip},
                       {kHueSlider, kHelpColourHue},
                       {kSaturationSlider, kHelpColourSaturation},
                       {kValueSlider, kHelpColourValue},
                       {kAlphaSlider, kHelpColourAlpha}});
}

void Scroll(HWND page, HWND slider) {
    switch (GetDlgCtrlID(slider)) {
        case kIntervalSlider:
            MsgAutoInterval =
                static_cast<DWORD>(SliderPosition(page, kIntervalSlider)) * kMillisecondsPerSecond;
            ShowInterval(page);
            break;
        case kHueSlider:
        case kSaturationSlider:
        case kValueSlider:
        case kAlphaSlider:
            WndColor =
                HsvToArgb(SliderPosition(page, kHueSlider), SliderPosition(page, kSaturationSlider),
                          SliderPosition(page, kValueSlider), SliderPosition(page, kAlphaSlider));
            // The window's back is made again in the new colour by the redraw.
            ReleaseMessageBackPlane();
            UpdateFrame(0);
            InvalidateRect(page, nullptr, TRUE);
            break;
        default:
            break;
    }
}

}  // namespace

INT_PTR MessagePageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Init(page);
            return TRUE;
        case WM_HSCROLL:
            Scroll(page, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_DESTROY:
            MsgSkipUnseen = IsChecked(page, kSkipUnseenBox) ? 1 : 0;
            MsgUseRuby = IsChecked(page, kRubyBox) ? 1 : 0;
            VoiceSkip = IsChecked(page, kVoiceSkipBox) ? 1 : 0;
            WriteMessageSettings(MsgUseRuby);
            return TRUE;
        default:
            return FALSE;
    }
}
