#include <gtest/gtest.h>

#include <vector>

#include "null_device_fixture.h"

namespace dsound_testing {
namespace {

using Samples = std::vector<std::int16_t>;

class MixerPlaybackTest : public NullDeviceTest {};

TEST_F(MixerPlaybackTest, OneShotPlaysOnceThenStopsAtTheStart) {
    IDirectSoundBuffer* buffer =
        MakeBuffer(2, 16, 44100, Pcm16({100, -100, 200, -200, 300, -300, 400, -400}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);

    EXPECT_EQ(Mix(2), (Samples{100, -100, 200, -200}));
    EXPECT_EQ(PlayCursor(buffer), 8u);
    EXPECT_EQ(Mix(4), (Samples{300, -300, 400, -400, 0, 0, 0, 0}));
    EXPECT_EQ(Status(buffer), 0u);
    EXPECT_EQ(PlayCursor(buffer), 0u);
    EXPECT_EQ(Mix(1), (Samples{0, 0}));
}

TEST_F(MixerPlaybackTest, LoopingBufferWrapsUntilStopped) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, Pcm16({1000, 2000, 3000}));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);

    EXPECT_EQ(Mix(7), (Samples{1000, 1000, 2000, 2000, 3000, 3000, 1000, 1000, 2000, 2000, 3000,
                               3000, 1000, 1000}));
    EXPECT_EQ(PlayCursor(buffer), 2u);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(Status(buffer), 0u);
}

TEST_F(MixerPlaybackTest, StopKeepsThePositionAndPlayResumesThere) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, Pcm16({10, 20, 30, 40, 50, 60, 70, 80}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(3), (Samples{10, 10, 20, 20, 30, 30}));
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{0, 0, 0, 0}));
    EXPECT_EQ(PlayCursor(buffer), 6u);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{40, 40, 50, 50}));

    ASSERT_EQ(buffer->SetCurrentPosition(15), DS_OK);  // rounds down to frame 7
    EXPECT_EQ(Mix(2), (Samples{80, 80, 0, 0}));
}

TEST_F(MixerPlaybackTest, VolumeInHundredthsOfADecibel) {
    struct Case {
        const char* name;
        LONG volume;
        Samples expected;  // of the frame (16384, -16384) and (32767, -32768)
    };
    const Case cases[] = {
        {"full", 0, {16384, -16384, 32767, -32768}},
        {"minus 1 dB", -100, {14602, -14602, 29204, -29204}},
        {"minus 6 dB", -600, {8212, -8211, 16422, -16423}},
        {"minus 20 dB", -2000, {1639, -1638, 3277, -3277}},
        {"minus 50 dB", -5000, {52, -52, 103, -103}},
        {"just above silence", -9999, {0, 0, 0, 0}},
        {"silent", -10000, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IDirectSoundBuffer* buffer =
            MakeBuffer(2, 16, 44100, Pcm16({16384, -16384, 32767, -32768}));
        ASSERT_EQ(buffer->SetVolume(c.volume), DS_OK);
        LONG volume = 1;
        ASSERT_EQ(buffer->GetVolume(&volume), DS_OK);
        EXPECT_EQ(volume, c.volume);
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(Mix(2), c.expected);
    }
}

TEST_F(MixerPlaybackTest, VolumeOutsideTheRangeIsRefusedAndKeepsTheOldOne) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, Pcm16({1000, 1000}));
    ASSERT_EQ(buffer->SetVolume(-300), DS_OK);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(10000), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    LONG volume = 0;
    ASSERT_EQ(buffer->GetVolume(&volume), DS_OK);
    EXPECT_EQ(volume, -300);

    IDirectSoundBuffer* fixed = MakeBuffer(1, 16, 44100, Pcm16({1000, 1000}), 0);
    EXPECT_EQ(fixed->SetVolume(-300), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(fixed->GetVolume(&volume), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(fixed->SetPan(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(fixed->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
}

TEST_F(MixerPlaybackTest, PrimaryVolumeAndPanAttenuateOnTop) {
    IDirectSoundBuffer* buffer =
        MakeBuffer(1, 16, 44100, Pcm16({16384, 16384}), DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN);
    ASSERT_EQ(buffer->SetPan(-2000), DS_OK);  // the right side 20 dB down
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{16384, 1639}));
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);

    IDirectSoundBuffer* primary = nullptr;
    const DSBUFFERDESC description =
        BufferDescription(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME, 0, nullptr);
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    buffers_.emplace_back(primary);
    ASSERT_EQ(buffer->SetPan(0), DS_OK);
    ASSERT_EQ(primary->SetVolume(-2000), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{1639, 1639}));
}

TEST_F(MixerPlaybackTest, SumsClipToSixteenBits) {
    IDirectSoundBuffer* first = MakeBuffer(2, 16, 44100, Pcm16({30000, -30000, 1000, -1000}));
    IDirectSoundBuffer* second = MakeBuffer(2, 16, 44100, Pcm16({30000, -30000, 1000, -1000}));
    ASSERT_EQ(first->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(second->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{32767, -32768, 2000, -2000}));
}

TEST_F(MixerPlaybackTest, EightBitMonoAt22050IsInterpolatedToStereoAt44100) {
    // Unsigned 8-bit: 128 is silence.
    IDirectSoundBuffer* buffer = MakeBuffer(1, 8, 22050, {128, 192, 64, 255});
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(3), (Samples{0, 0, 8192, 8192, 16384, 16384}));
    EXPECT_EQ(PlayCursor(buffer), 1u);
    // Half-way samples lie between two frames; after the last frame of a one-shot sound comes
    // silence.
    EXPECT_EQ(Mix(6),
              (Samples{0, 0, -16384, -16384, 8064, 8064, 32512, 32512, 16256, 16256, 0, 0}));
    EXPECT_EQ(Status(buffer), 0u);
}

TEST_F(MixerPlaybackTest, LoopingResampledSoundInterpolatesAcrossTheWrap) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 22050, Pcm16({1000, 3000}));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Mix(5), (Samples{1000, 1000, 2000, 2000, 3000, 3000, 2000, 2000, 1000, 1000}));
}

TEST_F(MixerPlaybackTest, EveryFormatReachesTheStereoMix) {
    struct Case {
        const char* name;
        WORD channels;
        WORD bits;
        std::vector<BYTE> data;
        Samples expected;
    };
    const Case cases[] = {
        {"8-bit mono", 1, 8, {0, 255, 128, 128}, {-32768, -32768, 32512, 32512}},
        {"8-bit stereo", 2, 8, {0, 255, 128, 129}, {-32768, 32512, 0, 256}},
        {"16-bit mono", 1, 16, Pcm16({-5, 7}), {-5, -5, 7, 7}},
        {"16-bit stereo", 2, 16, Pcm16({-5, 7, 9, -11}), {-5, 7, 9, -11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IDirectSoundBuffer* buffer = MakeBuffer(c.channels, c.bits, 44100, c.data);
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        EXPECT_EQ(Mix(2), c.expected);
    }
}

TEST_F(MixerPlaybackTest, FrequencyChangesThePlaybackRate) {
    IDirectSoundBuffer* buffer =
        MakeBuffer(1, 16, 44100, Pcm16({1, 2, 3, 4, 5, 6}), DSBCAPS_CTRLFREQUENCY);
    ASSERT_EQ(buffer->SetFrequency(88200), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{1, 1, 3, 3}));
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    DWORD frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 44100u);
    EXPECT_EQ(Mix(2), (Samples{5, 5, 6, 6}));
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MAX + 1), DSERR_INVALIDPARAM);
}

TEST_F(MixerPlaybackTest, PlayNeedsACooperativeLevelAndAZeroReservedWord) {
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    ComPtr<IDirectSound8> fresh(device);
    WAVEFORMATEX format = PcmFormat(1, 16, 44100);
    const DSBUFFERDESC description = BufferDescription(0, 64, &format);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(fresh->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    ComPtr<IDirectSoundBuffer> owned(buffer);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(fresh->SetCooperativeLevel(kWindow, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
}

}  // namespace
}  // namespace dsound_testing
