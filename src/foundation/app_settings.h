#pragma once
// The application settings: one process-wide variable per stored value, holding its built-in
// default until start-up reads the settings store. Every value is read with its destination's
// size and checked: a value of another type or size counts as missing, numbers are clamped to
// their range, and a choice outside its list counts as missing, so the default holds.

#include "platform/winbase/win_types.h"

// Section names of the settings store.
constexpr const char* kSettingsMain = "main";
constexpr const char* kSettingsVoice = "voice";
constexpr const char* kSettingsCustom = "custom";

// Section "main": sound.
extern DWORD MusicDevice;  // 1 BGM as a PCM stream, 2 BGM from CD audio
extern DWORD SoundVolume;  // 0..10000
extern DWORD MusicVolume;  // 0..10000
extern DWORD VoiceVolume;  // 0..10000
// Messages.
extern DWORD MsgSkipUnseen;    // 1: skip also passes unread text
extern DWORD MsgAutoInterval;  // milliseconds added to the auto page delay, 0..60000
extern DWORD VoiceSkip;        // 1: a page turn stops the playing voice
// 1: ruby over message text; the message page keeps it and stores it, start-up never reads it.
extern DWORD MsgUseRuby;
extern DWORD WndColor;  // packed ARGB of the message window background
// Other.
extern DWORD AdvEffectEnable;   // 1: adventure effects on
extern DWORD BaloonEnable;      // 1: explanation balloons open on menus
extern DWORD BaloonTime;        // milliseconds before a balloon opens, 0..60000
extern DWORD CursorAutoMove;    // 1: the pointer moves to a menu when it opens
extern DWORD CursorSpeed;       // speed step of the auto-move, at least 1
extern DWORD TextureFilterMin;  // filter choice 0..5 (stored only)
extern DWORD TextureFilterMag;  // filter choice 0..5 (stored only)
// Display (the start-up settings dialog).
extern DWORD DevType;       // device type given to the capability check (1 = hardware)
extern DWORD Fullscreen;    // 1 full screen, 0 windowed
extern DWORD Vsync;         // 1: wait for vertical sync (full screen only)
extern DWORD HWCursor;      // 1: hardware colour cursor
extern DWORD Fullcolor;     // 1: 32-bit back buffer in full screen, 0: 16-bit
extern DWORD DepthFormat;   // 0 automatic, or 80 (16 bit), 77 (24 bit), 71 (32 bit)
extern DWORD DrawMode;      // draw-mode preset 0..4
extern DWORD ScreenWidth;   // back-buffer width in pixels, 1..16384
extern DWORD ScreenHeight;  // back-buffer height in pixels, 1..16384
extern DWORD RefreshRate;   // hertz; 0: the desktop's rate
extern DWORD FieldReduce;   // 0 full size, 1 half, 2 quarter (stored only)
extern DWORD CharReduce;    // 0 full size, 1 half (stored only)

// Every variable back to its default.
void ResetAppSettingsToDefaults();

// Reads one DWORD into `variable` when it is stored as a 4-byte REG_DWORD, clamped to
// [minimum, maximum]; otherwise `variable` keeps its value. True when a value was taken.
bool ReadSettingDword(const char* section, const char* name, DWORD* variable, DWORD minimum,
                      DWORD maximum);

// "MusicDevice", read at start-up just before the music window is made.
void ReadMusicDeviceSetting();
// Volumes, message, balloon, effect and cursor settings, read at start-up once input is set up.
void ReadGeneralSettings();
// The two texture-filter choices, read at start-up once the cursor is made.
void ReadTextureFilterSettings();
// The start-up settings dialog: the display settings.
void ReadDisplaySettings();
// The surface format choice: "Fullcolor" and "DepthFormat".
void ReadSurfaceFormatSettings();

// "SafetyQuit": 1 while a run is in progress.
DWORD ReadSafetyQuit();
void WriteSafetyQuit(DWORD value);
// "WindowRect" (16 bytes); false (and `rect` untouched) when missing or of another size.
bool ReadWindowRect(RECT* rect);
void WriteWindowRect(const RECT& rect);
// "PadGUID" of section "custom"; false (and `guid` untouched) when missing or of another size.
bool ReadPadGuid(GUID* guid);

// The sound page closing: the three volumes and "MusicDevice".
void WriteSoundSettings();
// The message page closing; `useRuby` is the ruby check box, stored only.
void WriteMessageSettings(DWORD useRuby);
// The other page closing: balloon, effect and cursor settings.
void WriteOtherSettings();
// The other page's filter choices changing.
void WriteTextureFilterSettings();
// A control of the start-up dialog changing: every display setting it owns.
void WriteDisplaySettings();
