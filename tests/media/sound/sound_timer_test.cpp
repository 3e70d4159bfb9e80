#include <gtest/gtest.h>

#include <vector>

#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "sound_test_support.h"

namespace qvn::test {
namespace {

using SoundTimerTest = SoundDeviceTest;

TEST_F(SoundTimerTest, HundredStepFadeEndsAtStartPlusHundredSteps) {
    std::vector<std::int16_t> pcm(44100 * 2, 16000);
    std::string path = WriteSound("sound/fade.wav", WaveFile(AsBytes(pcm)));
    DSSound* sound = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, 0), S_OK);
    sound->Play(DSBPLAY_LOOPING);
    sound->Fade(-999, 1000);  // step -9 every 10 ms
    EXPECT_EQ(sound->FadeStep(), -9);
    LONG volume = 1;
    std::vector<LONG> seen;
    for (int tick = 0; tick < 100; ++tick) {
        RunTimers(1, 10);
        sound->GetVolume(&volume);
        seen.push_back(volume);
    }
    EXPECT_EQ(seen.front(), -9);
    EXPECT_EQ(seen[49], -450);
    EXPECT_EQ(seen.back(), -900);
    EXPECT_EQ(sound->FadeStepsLeft(), 0);
    RunTimers(10, 10);
    sound->GetVolume(&volume);
    EXPECT_EQ(volume, -900);

    // A fade to silence really silences the output.
    sound->Fade(-10000, 100);  // below 100 ms per step: the timer runs at its minimum period
    RunTimers(100, 10);
    sound->GetVolume(&volume);
    EXPECT_EQ(volume, -900 + 100 * ((-10000 + 900) / 100));
    std::vector<std::int16_t> out = Mix(10);
    EXPECT_EQ(out[0], 0);
    sound->Release();
}

TEST_F(SoundTimerTest, PlaySESoundIsFreedAboutASecondAfterItEnds) {
    std::vector<std::int16_t> pcm(44100 * 3 * 2, 1000);  // three seconds
    std::string path = WriteSound("sound/long.wav", WaveFile(AsBytes(pcm)));
    ASSERT_EQ(PlaySE(path.c_str(), 0, nullptr, DSBCAPS_CTRLVOLUME), S_OK);
    for (int second = 0; second < 2; ++second) {
        Mix(44100);
        RunTimers(1, 1000);
        EXPECT_EQ(gDirectSound->SoundCount(), 1u) << "still playing after " << second + 1 << " s";
    }
    Mix(44100 + 10);
    RunTimers(1, 1000);
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
}

TEST_F(SoundTimerTest, FadeThenPlayAndDeleteRunsBothToTheEnd) {
    std::vector<std::int16_t> pcm(4410 * 2, 1000);  // 100 ms
    std::string path = WriteSound("sound/shot.wav", WaveFile(AsBytes(pcm)));
    DSSound* sound = nullptr;
    ASSERT_EQ(PlaySE(path.c_str(), 0, &sound, DSBCAPS_CTRLVOLUME), S_OK);
    sound->Fade(-1000, 1000);
    ASSERT_EQ(sound->PlayAndDelete(), S_OK);
    Mix(4410 + 10);  // the sound ends before its fade does
    RunTimers(1, 10);
    EXPECT_EQ(gDirectSound->SoundCount(), 0u) << "a stopped one-shot sound is freed";

    // The other order: a one-shot sound that is faded afterwards is still freed at its end.
    ASSERT_EQ(PlaySE(path.c_str(), 0, &sound, DSBCAPS_CTRLVOLUME), S_OK);
    ASSERT_EQ(sound->PlayAndDelete(), S_OK);
    sound->Fade(-500, 2000);  // replaces the deletion timer with the fade's
    RunTimers(5, 20);
    EXPECT_EQ(gDirectSound->SoundCount(), 1u);
    LONG volume = 0;
    sound->GetVolume(&volume);
    EXPECT_EQ(volume, -25);
    Mix(4410 + 10);
    RunTimers(1, 20);
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
}

TEST_F(SoundTimerTest, DeletedSoundTakesItsTimerAlong) {
    std::string path = WriteSound("sound/a.wav", WaveFile(AsBytes(RampSamples(4410, 1))));
    DSSound* sound = nullptr;
    ASSERT_EQ(CreateSound(path.c_str(), &sound, DSBCAPS_CTRLVOLUME, 0), S_OK);
    UINT_PTR timer = kSoundTimerBase + sound->Id();
    sound->Fade(-1000, 1000);
    sound->Release();
    RunTimers(3, 10);
    EXPECT_EQ(GetQueueStatus(QS_TIMER), 0u);
    gDirectSound->OnTimer(timer);  // a late tick of the old id finds nothing
    gDirectSound->OnTimer(5);
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
}

}  // namespace
}  // namespace qvn::test
