#pragma once
// The five pages of the preferences dialog (templates 137, 166, 165, 145, 167) and what their
// procedures share.

#include <initializer_list>

#include "platform/win32/dialog_api.h"

class DSSound;

constexpr WORD kSoundPageResource = 137;
constexpr WORD kMessagePageResource = 166;
constexpr WORD kVoicePageResource = 165;
constexpr WORD kOtherPageResource = 145;
constexpr WORD kSystemPageResource = 167;

// Page 0: the music, sound-effect and voice volumes and the music device.
INT_PTR VolumePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Page 1: the message colour, ruby, skipping and the auto-advance interval.
INT_PTR MessagePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Page 2: the voice switches of the two groups and of each speaking character.
INT_PTR VoicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Page 3: balloons, the cursor's glide, effects and the texture filters.
INT_PTR MiscPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Page 4: the machine report, the log and its copy button.
INT_PTR SystemInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The sound page's looping sample while a volume slider is dragged; null when none.
DSSound* PreferenceSampleSound();

namespace preference_page {

struct HelpEntry {
    int id;
    const char* text;  // Shift-JIS, kept by pointer
};

// The hover help of each listed control of `page`.
void InstallHelp(HWND page, std::initializer_list<HelpEntry> entries);
// Track bar `id`: range, tick frequency and position (held to the range).
void SetupSlider(HWND page, int id, int minimum, int maximum, int tick, int position);
int SliderPosition(HWND page, int id);
void SetChecked(HWND page, int id, bool checked);
bool IsChecked(HWND page, int id);
void Enable(HWND page, int id, bool enabled);
// Global variable `index` of the script as a signed number; 0 while the variable array does
// not reach it (it is not grown by asking).
int ScriptGlobal(unsigned index);

}  // namespace preference_page
