#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/app_settings.h"
#include "foundation/registry_settings.h"
#include "foundation_fixture.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/registry.h"

namespace foundation_testing {
namespace {

class AppSettingsTest : public FoundationTest {
protected:
    // A new run: the variables back to their defaults, then read from the store again.
    void Restart() {
        ResetAppSettingsToDefaults();
        ReadMusicDeviceSetting();
        ReadGeneralSettings();
        ReadTextureFilterSettings();
        ReadDisplaySettings();
    }
};

TEST_F(AppSettingsTest, RegistryReadsLeaveTheBufferAloneWhenMissing) {
    DWORD value = 1234;
    DWORD size = 99;
    EXPECT_EQ(ReadRegistryValue("nosuch", "x", &value, 4, &size), 0);
    EXPECT_EQ(value, 1234u);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(ReadRegistryDword("main", "Missing"), 0u);
    DWORD type = 99;
    QueryRegistryType("main", "Missing", &type);
    EXPECT_EQ(type, 0u);

    EXPECT_EQ(WriteRegistryDword("newsection", "Value", 7), 1);
    EXPECT_EQ(ReadRegistryDword("NewSection", "value"), 7u);
    QueryRegistryType("newsection", "Value", &type);
    EXPECT_EQ(type, REG_DWORD);
}

TEST_F(AppSettingsTest, WriteComputesSizesFromTheType) {
    EXPECT_EQ(WriteRegistryValue("main", "Text", REG_SZ, "hello", 0), 1);
    char text[16] = {};
    DWORD size = 0;
    EXPECT_EQ(ReadRegistryValue("main", "Text", text, 0, &size), 1);
    EXPECT_EQ(size, 6u);
    EXPECT_STREQ(text, "hello");

    const char multi[] = "ab\0cd\0\0tail";
    EXPECT_EQ(WriteRegistryValue("main", "Multi", REG_MULTI_SZ, multi, 0), 1);
    char got[16] = {};
    EXPECT_EQ(ReadRegistryValue("main", "Multi", got, 0, &size), 1);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::memcmp(got, multi, 7), 0);

    EXPECT_EQ(WriteRegistryValue("main", "EmptyMulti", REG_MULTI_SZ, "\0\0", 0), 1);
    EXPECT_EQ(ReadRegistryValue("main", "EmptyMulti", got, 0, &size), 1);
    EXPECT_EQ(size, 2u);

    // A value longer than the maximum fails; a shorter one fills the low bytes.
    EXPECT_EQ(ReadRegistryDword("main", "Text"), 0u);
    const BYTE two[] = {0x34, 0x12};
    EXPECT_EQ(WriteRegistryValue("main", "Short", REG_BINARY, two, 2), 1);
    EXPECT_EQ(ReadRegistryDword("main", "Short"), 0x1234u);
}

TEST_F(AppSettingsTest, EmptyStoreGivesTheDefaults) {
    Restart();
    EXPECT_EQ(MusicDevice, 1u);
    EXPECT_EQ(SoundVolume, 10000u);
    EXPECT_EQ(MusicVolume, 10000u);
    EXPECT_EQ(VoiceVolume, 10000u);
    EXPECT_EQ(MsgSkipUnseen, 0u);
    EXPECT_EQ(MsgAutoInterval, 500u);
    EXPECT_EQ(VoiceSkip, 0u);
    EXPECT_EQ(WndColor, 0x80000000u);
    EXPECT_EQ(AdvEffectEnable, 1u);
    EXPECT_EQ(BaloonEnable, 1u);
    EXPECT_EQ(BaloonTime, 1000u);
    EXPECT_EQ(CursorAutoMove, 1u);
    EXPECT_EQ(CursorSpeed, 4u);
    EXPECT_EQ(TextureFilterMin, 1u);
    EXPECT_EQ(TextureFilterMag, 1u);
    EXPECT_EQ(DevType, 1u);
    EXPECT_EQ(Fullscreen, 1u);
    EXPECT_EQ(Vsync, 1u);
    EXPECT_EQ(HWCursor, 1u);
    EXPECT_EQ(Fullcolor, 0u);
    EXPECT_EQ(DepthFormat, 0u);
    EXPECT_EQ(DrawMode, 0u);
    EXPECT_EQ(ScreenWidth, 800u);
    EXPECT_EQ(ScreenHeight, 600u);
    EXPECT_EQ(RefreshRate, 0u);
    EXPECT_EQ(FieldReduce, 0u);
    EXPECT_EQ(CharReduce, 0u);
    EXPECT_EQ(ReadSafetyQuit(), 0u);
    RECT rect{1, 2, 3, 4};
    EXPECT_FALSE(ReadWindowRect(&rect));
    EXPECT_EQ(rect.left, 1);
}

TEST_F(AppSettingsTest, WrittenSettingsSurviveARestart) {
    MusicDevice = 2;
    SoundVolume = 1;
    MusicVolume = 2;
    VoiceVolume = 3;
    MsgSkipUnseen = 1;
    MsgAutoInterval = 1500;
    VoiceSkip = 1;
    WndColor = 0x40112233u;
    AdvEffectEnable = 0;
    BaloonEnable = 0;
    BaloonTime = 250;
    CursorAutoMove = 0;
    CursorSpeed = 9;
    TextureFilterMin = 5;
    TextureFilterMag = 0;
    Fullscreen = 0;
    Vsync = 0;
    HWCursor = 0;
    Fullcolor = 1;
    DepthFormat = 77;
    DrawMode = 4;
    ScreenWidth = 1280;
    ScreenHeight = 720;
    RefreshRate = 75;
    FieldReduce = 2;
    CharReduce = 1;
    WriteSoundSettings();
    WriteMessageSettings(1);
    WriteOtherSettings();
    WriteTextureFilterSettings();
    WriteDisplaySettings();
    WriteSafetyQuit(1);
    WriteWindowRect(RECT{-20, 30, 820, 630});

    Restart();
    EXPECT_EQ(MusicDevice, 2u);
    EXPECT_EQ(SoundVolume, 1u);
    EXPECT_EQ(MusicVolume, 2u);
    EXPECT_EQ(VoiceVolume, 3u);
    EXPECT_EQ(MsgSkipUnseen, 1u);
    EXPECT_EQ(MsgAutoInterval, 1500u);
    EXPECT_EQ(VoiceSkip, 1u);
    EXPECT_EQ(WndColor, 0x40112233u);
    EXPECT_EQ(AdvEffectEnable, 0u);
    EXPECT_EQ(BaloonEnable, 0u);
    EXPECT_EQ(BaloonTime, 250u);
    EXPECT_EQ(CursorAutoMove, 0u);
    EXPECT_EQ(CursorSpeed, 9u);
    EXPECT_EQ(TextureFilterMin, 5u);
    EXPECT_EQ(TextureFilterMag, 0u);
    EXPECT_EQ(Fullscreen, 0u);
    EXPECT_EQ(Vsync, 0u);
    EXPECT_EQ(HWCursor, 0u);
    EXPECT_EQ(Fullcolor, 1u);
    EXPECT_EQ(DepthFormat, 77u);
    EXPECT_EQ(DrawMode, 4u);
    EXPECT_EQ(ScreenWidth, 1280u);
    EXPECT_EQ(ScreenHeight, 720u);
    EXPECT_EQ(RefreshRate, 75u);
    EXPECT_EQ(FieldReduce, 2u);
    EXPECT_EQ(CharReduce, 1u);
    EXPECT_EQ(ReadSafetyQuit(), 1u);
    EXPECT_EQ(ReadRegistryDword("main", "MsgUseRuby"), 1u);
    RECT rect{};
    ASSERT_TRUE(ReadWindowRect(&rect));
    EXPECT_EQ(rect.left, -20);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 820);
    EXPECT_EQ(rect.bottom, 630);
}

TEST_F(AppSettingsTest, MainAndLowerCaseMainAreOneSection) {
    EXPECT_EQ(WriteRegistryDword("Main", "ScriptFlag", 42), 1);
    EXPECT_EQ(ReadRegistryDword("main", "scriptflag"), 42u);
    EXPECT_EQ(WriteRegistryDword("main", "SoundVolume", 321), 1);
    DWORD value = 0;
    EXPECT_EQ(ReadRegistryValue("MAIN", "soundvolume", &value, 4, nullptr), 1);
    EXPECT_EQ(value, 321u);
}

TEST_F(AppSettingsTest, StoredValuesAreClampedOrRejected) {
    const struct {
        const char* value;
        DWORD stored;
        DWORD* variable;
        DWORD expected;
    } cases[] = {
        {"SoundVolume", 20000, &SoundVolume, 10000},
        {"MusicVolume", 0xFFFFFFFFu, &MusicVolume, 10000},
        {"VoiceVolume", 0, &VoiceVolume, 0},
        {"TextureFilterMin", 6, &TextureFilterMin, 5},
        {"TextureFilterMag", 99, &TextureFilterMag, 5},
        {"ScreenWidth", 0, &ScreenWidth, 1},
        {"ScreenHeight", 100000, &ScreenHeight, 16384},
        {"CursorSpeed", 0, &CursorSpeed, 1},
        {"BaloonTime", 70000, &BaloonTime, 60000},
        {"MsgAutoInterval", 0x80000000u, &MsgAutoInterval, 60000},
        {"MusicDevice", 3, &MusicDevice, 1},
        {"MusicDevice", 0, &MusicDevice, 1},
        {"DepthFormat", 75, &DepthFormat, 0},
        {"DepthFormat", 71, &DepthFormat, 71},
        {"DrawMode", 5, &DrawMode, 0},
        {"DrawMode", 3, &DrawMode, 3},
    };
    for (const auto& c : cases) {
        WriteRegistryDword("main", c.value, c.stored);
        Restart();
        EXPECT_EQ(*c.variable, c.expected) << c.value << " stored as " << c.stored;
    }
}

TEST_F(AppSettingsTest, MistypedOrOversizedValuesCountAsMissing) {
    WriteRegistryValue("main", "SoundVolume", REG_SZ, "a long text value", 0);
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    WriteRegistryValue("main", "ScreenWidth", REG_DWORD, eight, 8);
    const BYTE two[2] = {5, 0};
    WriteRegistryValue("main", "CursorSpeed", REG_DWORD, two, 2);
    WriteRegistryValue("main", "BaloonTime", REG_BINARY, eight, 4);
    BYTE longRect[20] = {1};
    WriteRegistryValue("main", "WindowRect", REG_BINARY, longRect, 20);
    WriteRegistryValue("custom", "PadGUID", REG_BINARY, longRect, 15);
    Restart();
    EXPECT_EQ(SoundVolume, 10000u);
    EXPECT_EQ(ScreenWidth, 800u);
    EXPECT_EQ(CursorSpeed, 4u);
    EXPECT_EQ(BaloonTime, 1000u);
    RECT rect{7, 7, 7, 7};
    EXPECT_FALSE(ReadWindowRect(&rect));
    EXPECT_EQ(rect.left, 7);
    GUID guid{};
    EXPECT_FALSE(ReadPadGuid(&guid));
}

TEST_F(AppSettingsTest, PadGuidIsReadFromTheCustomSection) {
    const BYTE stored[16] = {0x78, 0x56, 0x34, 0x12, 0x34, 0x12, 0x78, 0x56,
                             1,    2,    3,    4,    5,    6,    7,    8};
    WriteRegistryValue("custom", "PadGUID", REG_BINARY, stored, 16);
    GUID guid{};
    ASSERT_TRUE(ReadPadGuid(&guid));
    EXPECT_EQ(guid.Data1, 0x12345678u);
    EXPECT_EQ(guid.Data2, 0x1234u);
    EXPECT_EQ(guid.Data3, 0x5678u);
    EXPECT_EQ(guid.Data4[7], 8);
}

}  // namespace
}  // namespace foundation_testing
