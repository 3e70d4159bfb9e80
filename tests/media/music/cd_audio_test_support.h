#pragma once
// The CD player tests' fixture: disc images as CD-ROM drives, the music window with the CD
// player, and helpers that play the disc in exact steps of 100 ms on the manual clock.

#include <vector>

#include "media/music/cd_audio_player.h"
#include "music_test_support.h"
#include "platform/mci/mci_test.h"
#include "support/disc_image_files.h"

namespace qvn::test {

// Tracks of 15, 75 and 30 sectors (0.2 s, 1 s, 0.4 s): music 0, 1 and 2.
inline const qvn_disc::DiscTrack kCdTrack1 = CountingTrack(15 * kCdFramesPerSector, 100);
inline const qvn_disc::DiscTrack kCdTrack2 = CountingTrack(75 * kCdFramesPerSector, 10000);
inline const qvn_disc::DiscTrack kCdTrack3 = CountingTrack(30 * kCdFramesPerSector, 20000);

class CdMusicTest : public SoundDeviceTest {
protected:
    void SetUp() override {
        SoundDeviceTest::SetUp();
        GetCdAudioState() = CdAudioState{};
        GetMusicState().paused.store(0);
        mci_test::UseDiscImages(true);
        InsertDisc('D', {kCdTrack1, kCdTrack2, kCdTrack3});
    }

    void TearDown() override {
        WhileClockRuns([] { DestroyMusicWindow(); });
        SetCdLine(65535);
        mci_test::UseDiscImages(false);
        SoundDeviceTest::TearDown();
    }

    void InsertDisc(char letter, const std::vector<qvn_disc::DiscTrack>& tracks) {
        mci_test::MapDriveImage(letter,
                                WriteDiscImage(Dir(), std::string("disc_") + letter, tracks));
    }

    void CreateCdWindow() { ASSERT_EQ(CreateMusicWindow(GameWindow(), kMusicDeviceCd), 1); }

    // Plays `steps` steps of 100 ms of drive D: mixes them, then runs the timers and delivers
    // the notifications.
    std::vector<std::int16_t> Steps(int steps) {
        std::vector<std::int16_t> out;
        for (int i = 0; i < steps; ++i) {
            std::vector<std::int16_t> part = mci_test::MixCdFrames('D', 4410);
            out.insert(out.end(), part.begin(), part.end());
            RunTimers(1, 100);
        }
        return out;
    }

    // The first channel of the mixer's CD line, 0..65535.
    static DWORD CdLine() {
        MIXERCONTROLDETAILS_UNSIGNED value{};
        MIXERCONTROLDETAILS details = LineDetails(&value);
        mixerGetControlDetailsA(nullptr, &details, MIXER_GETCONTROLDETAILSF_VALUE);
        return value.dwValue;
    }

    static void SetCdLine(DWORD level) {
        MIXERCONTROLDETAILS_UNSIGNED value{level};
        MIXERCONTROLDETAILS details = LineDetails(&value);
        mixerSetControlDetails(nullptr, &details, MIXER_SETCONTROLDETAILSF_VALUE);
    }

private:
    static MIXERCONTROLDETAILS LineDetails(MIXERCONTROLDETAILS_UNSIGNED* value) {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = 1;
        details.cChannels = 1;
        details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
        details.paDetails = value;
        return details;
    }
};

// `steps` steps of a track playing from its start, over and over.
inline std::vector<std::int16_t> Looped(const qvn_disc::DiscTrack& track, int steps) {
    return Joined({track.samples}, 0, static_cast<std::size_t>(steps) * 4410);
}

inline std::vector<std::int16_t> CdSilence(int steps) {
    return std::vector<std::int16_t>(static_cast<std::size_t>(steps) * 4410 * 2, 0);
}

}  // namespace qvn::test
