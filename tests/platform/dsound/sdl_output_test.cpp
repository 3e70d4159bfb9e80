#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "null_device_fixture.h"
#include "platform/dsound/sdl_audio_output.h"

namespace dsound_testing {
namespace {

TEST(SdlOutputTest, MixIsConvertedToThePrimaryFormat) {
    const std::int16_t mix[] = {1000, 3000, -32768, 32767, 256, -257};
    struct Case {
        const char* name;
        WORD channels;
        WORD bits;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {"16-bit stereo",
         2,
         16,
         {0xE8, 0x03, 0xB8, 0x0B, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x01, 0xFF, 0xFE}},
        {"16-bit mono", 1, 16, {0xD0, 0x07, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"8-bit stereo", 2, 8, {131, 139, 0, 255, 129, 126}},
        {"8-bit mono", 1, 8, {135, 127, 127}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> out(c.expected.size(), 0xAA);
        dsound_detail::ConvertMixToFormat(mix, 3, PcmFormat(c.channels, c.bits, 44100), out.data());
        EXPECT_EQ(out, c.expected);
    }
}

// With SDL's dummy driver the device opens, follows a format change and closes again; what it
// plays is not looked at, since its thread runs on the wall clock.
TEST(SdlOutputTest, DeviceOpensOnTheDefaultOutput) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // headless unless the caller chose a driver
    dsound_test::UseNullDevice(false);
    IDirectSound8* device = nullptr;
    const HRESULT created = DirectSoundCreate8(nullptr, &device, nullptr);
    if (created == DSERR_NODRIVER) {
        GTEST_SKIP() << "no SDL audio output here";
    }
    ASSERT_EQ(created, DS_OK);
    ComPtr<IDirectSound8> owned(device);
    ASSERT_EQ(device->SetCooperativeLevel(kWindow, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* primary = nullptr;
    const DSBUFFERDESC description = BufferDescription(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
    ASSERT_EQ(device->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    ComPtr<IDirectSoundBuffer> primaryOwned(primary);
    WAVEFORMATEX format = PcmFormat(1, 8, 22050);
    EXPECT_EQ(primary->SetFormat(&format), DS_OK);

    WAVEFORMATEX soundFormat = PcmFormat(2, 16, 44100);
    const DSBUFFERDESC soundDescription = BufferDescription(0, 4096, &soundFormat);
    IDirectSoundBuffer* sound = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&soundDescription, &sound, nullptr), DS_OK);
    ComPtr<IDirectSoundBuffer> soundOwned(sound);
    EXPECT_EQ(sound->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_TRUE(dsound_test::MixFrames(device, 16).empty());
}

}  // namespace
}  // namespace dsound_testing
