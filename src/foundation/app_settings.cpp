#include "foundation/app_settings.h"

#include <algorithm>
#include <initializer_list>

#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"
#include "foundation/registry_settings.h"
#include "platform/winbase/registry.h"

namespace {

constexpr DWORD kMaxVolume = 10000;
constexpr DWORD kMaxFilterChoice = 5;
constexpr DWORD kMaxScreenSize = 16384;
constexpr DWORD kMaxMilliseconds = 60000;
constexpr DWORD kAnyValue = 0xFFFFFFFFu;
constexpr DWORD kRectBytes = 16;
constexpr DWORD kGuidBytes = 16;

// Reads a DWORD that must be one of `allowed`; any other value counts as missing.
void ReadSettingChoice(const char* name, DWORD* variable, std::initializer_list<DWORD> allowed) {
    DWORD value = *variable;
    if (ReadSettingDword(kSettingsMain, name, &value, 0, kAnyValue) &&
        std::find(allowed.begin(), allowed.end(), value) != allowed.end()) {
        *variable = value;
    }
}

// Reads a binary value of exactly `size` bytes.
bool ReadBinary(const char* section, const char* name, void* destination, DWORD size) {
    DWORD type = 0;
    QueryRegistryType(section, name, &type);
    if (type != REG_BINARY) {
        return false;
    }
    BYTE buffer[(kRectBytes > kGuidBytes ? kRectBytes : kGuidBytes) + 1];
    DWORD read = 0;
    // One byte more than wanted, so that a longer value fails instead of being cut.
    if (!ReadRegistryValue(section, name, buffer, size + 1, &read) || read != size) {
        return false;
    }
    std::copy(buffer, buffer + size, static_cast<BYTE*>(destination));
    return true;
}

void WriteMain(const char* name, DWORD value) {
    WriteRegistryDword(kSettingsMain, name, value);
}

}  // namespace

// Every setting and its default, in one list.
#define QVN_APP_SETTINGS(X)  \
    X(MusicDevice, 1)        \
    X(SoundVolume, 10000)    \
    X(MusicVolume, 10000)    \
    X(VoiceVolume, 10000)    \
    X(MsgSkipUnseen, 0)      \
    X(MsgAutoInterval, 500)  \
    X(VoiceSkip, 0)          \
    X(MsgUseRuby, 1)         \
    X(WndColor, 0x80000000u) \
    X(AdvEffectEnable, 1)    \
    X(BaloonEnable, 1)       \
    X(BaloonTime, 1000)      \
    X(CursorAutoMove, 1)     \
    X(CursorSpeed, 4)        \
    X(TextureFilterMin, 1)   \
    X(TextureFilterMag, 1)   \
    X(DevType, 1)            \
    X(Fullscreen, 1)         \
    X(Vsync, 1)              \
    X(HWCursor, 1)           \
    X(Fullcolor, 0)          \
    X(DepthFormat, 0)        \
    X(DrawMode, 0)           \
    X(ScreenWidth, 800)      \
    X(ScreenHeight, 600)     \
    X(RefreshRate, 0)        \
    X(FieldReduce, 0)        \
    X(CharReduce, 0)

// Constant-initialised, so that the defaults hold before any code runs.
#define QVN_DEFINE_SETTING(name, value) DWORD name = value;
QVN_APP_SETTINGS(QVN_DEFINE_SETTING)
#undef QVN_DEFINE_SETTING

void ResetAppSettingsToDefaults() {
#define QVN_RESET_SETTING(name, value) name = value;
    QVN_APP_SETTINGS(QVN_RESET_SETTING)
#undef QVN_RESET_SETTING
}

bool ReadSettingDword(const char* section, const char* name, DWORD* variable, DWORD minimum,
                      DWORD maximum) {
    DWORD type = 0;
    QueryRegistryType(section, name, &type);
    if (type != REG_DWORD) {
        return false;
    }
    DWORD value = 0;
    DWORD read = 0;
    if (!ReadRegistryValue(section, name, &value, sizeof(value), &read) || read != sizeof(value)) {
        return false;
    }
    *variable = std::clamp(value, minimum, maximum);
    return true;
}

void ReadMusicDeviceSetting() {
    ReadSettingChoice("MusicDevice", &MusicDevice, {1, 2});
}

void ReadGeneralSettings() {
    ReadSettingDword(kSettingsMain, "SoundVolume", &SoundVolume, 0, kMaxVolume);
    ReadSettingDword(kSettingsMain, "MusicVolume", &MusicVolume, 0, kMaxVolume);
    ReadSettingDword(kSettingsMain, "VoiceVolume", &VoiceVolume, 0, kMaxVolume);
    ReadSettingDword(kSettingsMain, "MsgSkipUnseen", &MsgSkipUnseen, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "MsgAutoInterval", &MsgAutoInterval, 0, kMaxMilliseconds);
    ReadSettingDword(kSettingsMain, "VoiceSkip", &VoiceSkip, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "WndColor", &WndColor, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "AdvEffectEnable", &AdvEffectEnable, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "BaloonEnable", &BaloonEnable, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "BaloonTime", &BaloonTime, 0, kMaxMilliseconds);
    ReadSettingDword(kSettingsMain, "CursorAutoMove", &CursorAutoMove, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "CursorSpeed", &CursorSpeed, 1, kAnyValue);
}

void ReadTextureFilterSettings() {
    ReadSettingDword(kSettingsMain, "TextureFilterMin", &TextureFilterMin, 0, kMaxFilterChoice);
    ReadSettingDword(kSettingsMain, "TextureFilterMag", &TextureFilterMag, 0, kMaxFilterChoice);
}

void ReadDisplaySettings() {
    ReadSettingDword(kSettingsMain, "DevType", &DevType, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "Fullscreen", &Fullscreen, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "Vsync", &Vsync, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "HWCursor", &HWCursor, 0, kAnyValue);
    ReadSurfaceFormatSettings();
    ReadSettingChoice("DrawMode", &DrawMode, {0, 1, 2, 3, 4});
    ReadSettingDword(kSettingsMain, "ScreenWidth", &ScreenWidth, 1, kMaxScreenSize);
    ReadSettingDword(kSettingsMain, "ScreenHeight", &ScreenHeight, 1, kMaxScreenSize);
    ReadSettingDword(kSettingsMain, "RefreshRate", &RefreshRate, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "FieldReduce", &FieldReduce, 0, kAnyValue);
    ReadSettingDword(kSettingsMain, "CharReduce", &CharReduce, 0, kAnyValue);
}

void ReadSurfaceFormatSettings() {
    ReadSettingDword(kSettingsMain, "Fullcolor", &Fullcolor, 0, kAnyValue);
    ReadSettingChoice("DepthFormat", &DepthFormat, {0, 80, 77, 71});
}

DWORD ReadSafetyQuit() {
    return ReadRegistryDword(kSettingsMain, "SafetyQuit");
}

void WriteSafetyQuit(DWORD value) {
    WriteMain("SafetyQuit", value);
}

bool ReadWindowRect(RECT* rect) {
    BYTE bytes[kRectBytes];
    if (!ReadBinary(kSettingsMain, "WindowRect", bytes, kRectBytes)) {
        return false;
    }
    ByteReader reader(bytes, sizeof bytes);
    const LONG left = reader.I32();
    const LONG top = reader.I32();
    const LONG right = reader.I32();
    const LONG bottom = reader.I32();
    *rect = RECT{left, top, right, bottom};
    return true;
}

void WriteWindowRect(const RECT& rect) {
    ByteWriter writer;
    writer.I32(rect.left);
    writer.I32(rect.top);
    writer.I32(rect.right);
    writer.I32(rect.bottom);
    WriteRegistryValue(kSettingsMain, "WindowRect", REG_BINARY, writer.Data().data(),
                       static_cast<DWORD>(writer.Size()));
}

bool ReadPadGuid(GUID* guid) {
    BYTE bytes[kGuidBytes];
    if (!ReadBinary(kSettingsCustom, "PadGUID", bytes, kGuidBytes)) {
        return false;
    }
    // The GUID's own in-memory layout, as the pad's instance GUID was stored.
    ByteReader reader(bytes, sizeof bytes);
    GUID value{};
    value.Data1 = reader.U32();
    value.Data2 = reader.U16();
    value.Data3 = reader.U16();
    reader.Bytes(value.Data4, sizeof value.Data4);
    *guid = value;
    return true;
}

void WriteSoundSettings() {
    WriteMain("MusicVolume", MusicVolume);
    WriteMain("SoundVolume", SoundVolume);
    WriteMain("VoiceVolume", VoiceVolume);
    WriteMain("MusicDevice", MusicDevice);
}

void WriteMessageSettings(DWORD useRuby) {
    WriteMain("MsgSkipUnseen", MsgSkipUnseen);
    WriteMain("MsgUseRuby", useRuby);
    WriteMain("MsgAutoInterval", MsgAutoInterval);
    WriteMain("WndColor", WndColor);
    WriteMain("VoiceSkip", VoiceSkip);
}

void WriteOtherSettings() {
    WriteMain("BaloonEnable", BaloonEnable);
    WriteMain("BaloonTime", BaloonTime);
    WriteMain("AdvEffectEnable", AdvEffectEnable);
    WriteMain("CursorAutoMove", CursorAutoMove);
    WriteMain("CursorSpeed", CursorSpeed);
}

void WriteTextureFilterSettings() {
    WriteMain("TextureFilterMin", TextureFilterMin);
    WriteMain("TextureFilterMag", TextureFilterMag);
}

void WriteDisplaySettings() {
    WriteMain("Fullscreen", Fullscreen);
    WriteMain("Vsync", Vsync);
    WriteMain("HWCursor", HWCursor);
    WriteMain("Fullcolor", Fullcolor);
    WriteMain("DepthFormat", DepthFormat);
    WriteMain("DrawMode", DrawMode);
    WriteMain("ScreenWidth", ScreenWidth);
    WriteMain("ScreenHeight", ScreenHeight);
    WriteMain("RefreshRate", RefreshRate);
    WriteMain("FieldReduce", FieldReduce);
    WriteMain("CharReduce", CharReduce);
}
