#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "null_device_fixture.h"

namespace dsound_testing {
namespace {

using Samples = std::vector<std::int16_t>;

class BufferLockTest : public NullDeviceTest {
protected:
    struct Locked {
        HRESULT result;
        BYTE* part1 = nullptr;
        DWORD bytes1 = 0;
        BYTE* part2 = nullptr;
        DWORD bytes2 = 0;
    };

    static Locked Lock(IDirectSoundBuffer* buffer, DWORD offset, DWORD bytes, DWORD flags = 0) {
        void* part1 = nullptr;
        void* part2 = nullptr;
        Locked locked{};
        locked.result =
            buffer->Lock(offset, bytes, &part1, &locked.bytes1, &part2, &locked.bytes2, flags);
        locked.part1 = static_cast<BYTE*>(part1);
        locked.part2 = static_cast<BYTE*>(part2);
        return locked;
    }

    static HRESULT Unlock(IDirectSoundBuffer* buffer, const Locked& locked) {
        return buffer->Unlock(locked.part1, locked.bytes1, locked.part2, locked.bytes2);
    }
};

TEST_F(BufferLockTest, LockAcrossTheEndGivesTwoPartsThatLandOnBothSides) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, {}, DSBCAPS_CTRLVOLUME, 16);
    const Locked locked = Lock(buffer, 12, 8);
    ASSERT_EQ(locked.result, DS_OK);
    ASSERT_EQ(locked.bytes1, 4u);
    ASSERT_EQ(locked.bytes2, 4u);
    const std::vector<BYTE> first = Pcm16({61, 71});
    const std::vector<BYTE> second = Pcm16({1, 2});
    std::copy(first.begin(), first.end(), locked.part1);
    std::copy(second.begin(), second.end(), locked.part2);
    ASSERT_EQ(Unlock(buffer, locked), DS_OK);

    ASSERT_EQ(buffer->SetCurrentPosition(12), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Mix(5), (Samples{61, 61, 71, 71, 1, 1, 2, 2, 0, 0}));
}

TEST_F(BufferLockTest, LockShowsTheBytesAlreadyThere) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, Pcm16({5, 6, 7, 8}));
    const Locked locked = Lock(buffer, 0, 0, DSBLOCK_ENTIREBUFFER);
    ASSERT_EQ(locked.result, DS_OK);
    EXPECT_EQ(locked.bytes1, 8u);
    EXPECT_EQ(locked.bytes2, 0u);
    EXPECT_EQ(locked.part2, nullptr);
    EXPECT_EQ(std::vector<BYTE>(locked.part1, locked.part1 + 8), Pcm16({5, 6, 7, 8}));
    locked.part1[2] = 60;  // frame 1 becomes 60
    ASSERT_EQ(Unlock(buffer, locked), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{5, 5, 60, 60}));
}

TEST_F(BufferLockTest, UnlockStoresOnlyTheBytesReportedWritten) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, Pcm16({1, 2, 3, 4}));
    const Locked locked = Lock(buffer, 0, 8);
    ASSERT_EQ(locked.result, DS_OK);
    std::fill(locked.part1, locked.part1 + 8, BYTE{0});
    ASSERT_EQ(buffer->Unlock(locked.part1, 2, nullptr, 0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(4), (Samples{0, 0, 2, 2, 3, 3, 4, 4}));
}

TEST_F(BufferLockTest, WithoutASecondPointerTheLockStopsAtTheEnd) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, {}, DSBCAPS_CTRLVOLUME, 16);
    void* part1 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 99;
    ASSERT_EQ(buffer->Lock(10, 12, &part1, &bytes1, nullptr, &bytes2, 0), DS_OK);
    EXPECT_EQ(bytes1, 6u);
    EXPECT_EQ(bytes2, 0u);
    EXPECT_EQ(buffer->Unlock(part1, bytes1, nullptr, 0), DS_OK);
}

TEST_F(BufferLockTest, WriteCursorIsOneFrameAheadWhilePlaying) {
    IDirectSoundBuffer* buffer = MakeBuffer(2, 16, 44100, {}, DSBCAPS_CTRLVOLUME, 32);
    DWORD play = 1;
    DWORD write = 1;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 0u);
    EXPECT_EQ(write, 0u);

    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Mix(7);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 28u);
    EXPECT_EQ(write, 0u);  // wraps
    const Locked locked = Lock(buffer, 0, 8, DSBLOCK_FROMWRITECURSOR);
    ASSERT_EQ(locked.result, DS_OK);
    EXPECT_EQ(locked.bytes1, 8u);
    ASSERT_EQ(Unlock(buffer, locked), DS_OK);
}

TEST_F(BufferLockTest, BadLocksAndUnlocksAreRefused) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, {}, DSBCAPS_CTRLVOLUME, 16);
    struct LockCase {
        const char* name;
        DWORD offset;
        DWORD bytes;
    };
    for (const LockCase& c : {LockCase{"offset at the end", 16, 4}, LockCase{"no bytes", 0, 0},
                              LockCase{"more than the buffer", 0, 17}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Lock(buffer, c.offset, c.bytes).result, DSERR_INVALIDPARAM);
    }
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 4, nullptr, &bytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);

    const Locked locked = Lock(buffer, 12, 8);
    ASSERT_EQ(locked.result, DS_OK);
    BYTE stranger[4] = {};
    EXPECT_EQ(buffer->Unlock(stranger, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(locked.part1, 5, locked.part2, 4), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(locked.part1, 4, locked.part1, 4), DSERR_INVALIDPARAM);
    EXPECT_EQ(Unlock(buffer, locked), DS_OK);
    EXPECT_EQ(Unlock(buffer, locked), DSERR_INVALIDPARAM);
}

// The way the music streamer feeds a ring: play looping, and every so often refill the bytes
// between the last write position and the play cursor. The output is the stream unbroken.
TEST_F(BufferLockTest, RefillingBehindThePlayCursorStreamsWithoutAGap) {
    constexpr DWORD kRingFrames = 16;
    constexpr DWORD kRingBytes = kRingFrames * 2;
    std::int16_t next = 0;
    auto produce = [&next](DWORD bytes) {
        std::vector<BYTE> data;
        for (DWORD i = 0; i < bytes / 2; ++i) {
            const std::vector<BYTE> sample = Pcm16({next++});
            data.insert(data.end(), sample.begin(), sample.end());
        }
        return data;
    };
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, produce(kRingBytes));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD writeCursor = 0;
    Samples heard;
    for (int round = 0; round < 20; ++round) {
        const Samples mixed = Mix(5);
        for (std::size_t i = 0; i < mixed.size(); i += 2) {
            heard.push_back(mixed[i]);
        }
        const DWORD play = PlayCursor(buffer);
        const DWORD free = (play + kRingBytes - writeCursor) % kRingBytes;
        if (free != 0) {
            Fill(buffer, writeCursor, produce(free));
        }
        writeCursor = play;
    }
    ASSERT_EQ(heard.size(), 100u);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        ASSERT_EQ(heard[i], static_cast<std::int16_t>(i)) << "at " << i;
    }
}

TEST_F(BufferLockTest, DuplicateSharesTheMemoryButNotTheCursorOrVolume) {
    IDirectSoundBuffer* original = MakeBuffer(1, 16, 44100, Pcm16({100, 200, 300, 400}));
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device_->DuplicateSoundBuffer(original, &duplicate), DS_OK);
    buffers_.emplace_back(duplicate);

    Fill(original, 6, Pcm16({444}));
    ASSERT_EQ(original->SetCurrentPosition(4), DS_OK);
    ASSERT_EQ(duplicate->SetVolume(-10000), DS_OK);
    ASSERT_EQ(original->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{300, 300, 444, 444}));
    EXPECT_EQ(PlayCursor(duplicate), 4u);
    ASSERT_EQ(duplicate->SetVolume(0), DS_OK);
    EXPECT_EQ(Mix(2), (Samples{300, 300, 444, 444}));

    IDirectSoundBuffer* none = nullptr;
    EXPECT_EQ(device_->DuplicateSoundBuffer(nullptr, &none), DSERR_INVALIDPARAM);
    EXPECT_EQ(none, nullptr);
}

// The output thread mixes while the game writes, plays and stops: every mixed sample is one
// the buffer could hold at that moment, never a torn or half-written one.
TEST_F(BufferLockTest, MixingOnAnotherThreadSeesWholeWrites) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, {}, DSBCAPS_CTRLVOLUME, 256);
    Fill(buffer, 0, std::vector<BYTE>(256, 0x11));  // every sample 0x1111
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::atomic<bool> done{false};
    Samples heard;
    std::thread output([&] {
        while (!done) {
            const Samples mixed = Mix(64);
            heard.insert(heard.end(), mixed.begin(), mixed.end());
        }
    });
    for (int round = 0; round < 300; ++round) {
        Fill(buffer, static_cast<DWORD>(round % 8) * 32,
             std::vector<BYTE>(200, round % 2 ? 0x22 : 0x11));
        buffer->SetVolume(round % 3 == 0 ? DSBVOLUME_MIN : DSBVOLUME_MAX);
        if (round % 5 == 0) {
            buffer->Stop();
            buffer->Play(0, 0, DSBPLAY_LOOPING);
        }
    }
    done = true;
    output.join();
    for (const std::int16_t sample : heard) {
        ASSERT_TRUE(sample == 0 || sample == 0x1111 || sample == 0x2222) << sample;
    }
}

}  // namespace
}  // namespace dsound_testing
