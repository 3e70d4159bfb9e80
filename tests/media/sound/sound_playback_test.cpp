#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "sound_test_support.h"

namespace qvn::test {
namespace {

using SoundPlaybackTest = SoundDeviceTest;

std::vector<std::int16_t> Slice(const std::vector<std::int16_t>& samples, std::size_t firstFrame,
                                std::size_t frames) {
    return {samples.begin() + static_cast<std::ptrdiff_t>(firstFrame * 2),
            samples.begin() + static_cast<std::ptrdiff_t>((firstFrame + frames) * 2)};
}

bool Silent(const std::vector<std::int16_t>& samples) {
    for (std::int16_t sample : samples) {
        if (sample != 0) {
            return false;
        }
    }
    return true;
}

TEST_F(SoundPlaybackTest, DriverIsEnumeratedAndLogged) {
    EXPECT_EQ(GetSoundDriverCount(), 1u);
    ASSERT_NE(GetSoundDriverInfo(0), nullptr);
    EXPECT_EQ(GetSoundDriverInfo(0)->description, "Null Audio Device");
    EXPECT_EQ(GetSoundDriverInfo(1), nullptr);
    std::string log = Log();
    EXPECT_NE(log.find("Sound Driver Name: Null Audio Device\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Driver Version: 0.00.00.0000\r\n"), std::string::npos) << log;
}

TEST_F(SoundPlaybackTest, OneShotSoundPlaysOnceThenSilence) {
    std::vector<std::int16_t> pcm = RampSamples(3000, 1);
    std::string path = WriteSound("sound/shot.wav", WaveFile(AsBytes(pcm)));
    ASSERT_EQ(PlaySE(path.c_str(), 0, nullptr, DSBCAPS_CTRLVOLUME), S_OK);
    std::vector<std::int16_t> out = Mix(4000);
    EXPECT_EQ(Slice(out, 0, 3000), pcm);
    EXPECT_TRUE(Silent(Slice(out, 3000, 1000)));
}

TEST_F(SoundPlaybackTest, LoopingSoundRepeats) {
    std::vector<std::int16_t> pcm = RampSamples(1000, 500);
    std::string path = WriteSound("sound/loop.wav", WaveFile(AsBytes(pcm)));
    DSSound* sound = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, 0), S_OK);
    ASSERT_EQ(sound->Play(DSBPLAY_LOOPING), S_OK);
    std::vector<std::int16_t> out = Mix(2500);
    EXPECT_EQ(Slice(out, 0, 1000), pcm);
    EXPECT_EQ(Slice(out, 1000, 1000), pcm);
    EXPECT_EQ(Slice(out, 2000, 500), Slice(pcm, 0, 500));
    sound->Release();
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
}

TEST_F(SoundPlaybackTest, VolumeStepsScaleTheOutput) {
    struct Case {
        const char* name;
        LONG volume;
        HRESULT result;
        double gain;
    };
    const Case cases[] = {
        {"full", 0, S_OK, 1.0},
        {"minus 6 dB", -600, S_OK, std::pow(10.0, -600 / 2000.0)},
        {"minus 20 dB", -2000, S_OK, 0.1},
        {"silent", -10000, S_OK, 0.0},
        {"above full is refused and the last volume stays", 100, DSERR_INVALIDPARAM, 0.0},
    };
    std::vector<std::int16_t> pcm(2000 * 2, 20000);
    std::string path = WriteSound("sound/level.wav", WaveFile(AsBytes(pcm)));
    for (const Case& c : cases) {
        DSSound* sound = nullptr;
        ASSERT_EQ(CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, 0), S_OK) << c.name;
        if (c.result != S_OK) {
            sound->SetVolume(-10000);
        }
        EXPECT_EQ(sound->SetVolume(c.volume), c.result) << c.name;
        sound->Play(0);
        std::vector<std::int16_t> out = Mix(100);
        EXPECT_NEAR(out[0], 20000 * c.gain, 1.0) << c.name;
        EXPECT_NEAR(out[1], 20000 * c.gain, 1.0) << c.name;
        sound->Release();
    }
}

TEST_F(SoundPlaybackTest, StopAndResumeKeepThePosition) {
    std::vector<std::int16_t> pcm = RampSamples(3000, 7);
    std::string path = WriteSound("sound/pause.wav", WaveFile(AsBytes(pcm)));
    DSSound* sound = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, 0), S_OK);
    sound->Play(0);
    EXPECT_EQ(Mix(1000), Slice(pcm, 0, 1000));
    sound->Stop();
    DWORD status = 1;
    sound->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
    EXPECT_TRUE(Silent(Mix(500)));
    DWORD play = 0;
    sound->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 4000u);
    sound->Play(0);
    EXPECT_EQ(Mix(2000), Slice(pcm, 1000, 2000));
    sound->Release();
}

TEST_F(SoundPlaybackTest, MinimumSizePadsWithSilence) {
    std::vector<std::int16_t> pcm = RampSamples(100, 1);
    std::string path = WriteSound("sound/short.wav", WaveFile(AsBytes(pcm)));
    DSSound* sound = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, 4000), S_OK);
    sound->Play(DSBPLAY_LOOPING);
    std::vector<std::int16_t> out = Mix(1100);
    EXPECT_EQ(Slice(out, 0, 100), pcm);
    EXPECT_TRUE(Silent(Slice(out, 100, 900)));
    EXPECT_EQ(Slice(out, 1000, 100), pcm);
    sound->Release();
}

TEST_F(SoundPlaybackTest, NamesFindTheFirstSoundAndHasSoundFollowsTheList) {
    std::string path = WriteSound("sound/a.wav", WaveFile(AsBytes(RampSamples(10, 1))));
    DSSound* first = nullptr;
    DSSound* second = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &first, DSBCAPS_CTRLVOLUME, 0), S_OK);
    ASSERT_EQ(CreateSound(path.c_str(), &second, DSBCAPS_CTRLVOLUME, 0), S_OK);
    EXPECT_EQ(first->Id() + 1, second->Id());
    first->SetName("voice");
    second->SetName("voice");
    EXPECT_EQ(gDirectSound->FindSound("voice"), first);
    EXPECT_EQ(gDirectSound->FindSound("Voice"), nullptr);
    char copy[16] = {};
    EXPECT_STREQ(second->GetName(copy), "voice");
    EXPECT_STREQ(copy, "voice");
    EXPECT_EQ(gDirectSound->HasSound(first), 1);
    first->Release();
    EXPECT_EQ(gDirectSound->HasSound(first), 0);
    EXPECT_EQ(gDirectSound->FindSound("voice"), second);
    second->Release();
}

TEST_F(SoundPlaybackTest, MissingOrDamagedFilesMakeNoSound) {
    std::string missing = std::string(GetProgramDir()) + "sound\\none.wav";
    EXPECT_LT(PlaySE(missing.c_str(), 0, nullptr, DSBCAPS_CTRLVOLUME), 0);
    std::string damaged = WriteSound("sound/bad.wav", WaveFile(AsBytes(RampSamples(10, 1)), 3));
    DSSound* out = reinterpret_cast<DSSound*>(1);
    EXPECT_LT(PlaySE(damaged.c_str(), 0, &out, DSBCAPS_CTRLVOLUME), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
    EXPECT_EQ(GetQueueStatus(QS_TIMER), 0u);
}

TEST_F(SoundPlaybackTest, DeviceDestructionDeletesListedSounds) {
    std::string path = WriteSound("sound/a.wav", WaveFile(AsBytes(RampSamples(10, 1))));
    DSSound* kept = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &kept, DSBCAPS_CTRLVOLUME, 0), S_OK);
    ASSERT_EQ(PlaySE(path.c_str(), 0, nullptr, DSBCAPS_CTRLVOLUME), S_OK);
    DestroyDirectSound();
    EXPECT_EQ(gDirectSound, nullptr);
    EXPECT_LT(CreateSound(path.c_str(), &kept, DSBCAPS_CTRLVOLUME, 0), 0);
    EXPECT_EQ(kept, nullptr);
}

TEST(SoundDeviceFailureTest, NoDeviceMeansEverySoundFails) {
    dsound_test::UseNullDevice(true);
    dsound_test::SetCreateFailure(DSERR_NODRIVER);
    EXPECT_EQ(CreateDirectSound(nullptr, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(gDirectSound, nullptr);
    DSSound* sound = nullptr;
    EXPECT_EQ(CreateSound("x.wav", &sound, 0, 0), E_FAIL);
    dsound_test::SetCreateFailure(S_OK);
    dsound_test::UseNullDevice(false);
}

TEST(SoundVolumeTest, SettingsBecomeHundredthsOfADecibel) {
    EXPECT_EQ(SoundVolumeFromSetting(10000), 0);
    EXPECT_EQ(SoundVolumeFromSetting(5000), -5000);
    EXPECT_EQ(SoundVolumeFromSetting(0), -10000);
    EXPECT_EQ(SoundVolumeFromSetting(3333, 5000), -8334);
}

}  // namespace
}  // namespace qvn::test
