#include <gtest/gtest.h>

#include "cd_audio_test_support.h"

namespace qvn::test {
namespace {

// Looping music 1: track 2 from its start to the start of track 3, again and again.
TEST_F(CdMusicTest, MusicNPlaysTrackNPlusOneAndLoopsOnTheNotification) {
    CreateCdWindow();
    const CdAudioState& cd = GetCdAudioState();
    EXPECT_EQ(cd.driveRoot, "d:\\") << "the first CD-ROM drive with two tracks or more";
    EXPECT_EQ(cd.trackCount, 3);
    EXPECT_NE(Log().find("Audio Mixer: Software Mixer\r\n"), std::string::npos);
    EXPECT_EQ(cd.deviceId, kCdDeviceClosed) << "open only while a track plays";

    ASSERT_EQ(PlayMusic(1, "ignored", 1, 1), 1);
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_EQ(cd.currentTrack, 2);
    EXPECT_EQ(Steps(5), Looped(kCdTrack2, 5));
    EXPECT_EQ(GetMusicPosition(), 493u) << "37 frames of 75 into the track";
    RunTimers(1, 100);
    EXPECT_EQ(GetMusicPosition(), 593u) << "the start time, once taken, runs on the clock";

    PlayMusic(1, "ignored", 1, 1);
    const std::vector<std::int16_t> looped = Looped(kCdTrack2, 22);
    EXPECT_EQ(Steps(17), std::vector<std::int16_t>(looped.begin() + 2 * 22050, looped.end()))
        << "the same music does not restart; at the end of the track it starts again";
    EXPECT_EQ(IsMusicPlaying(), 1);

    const MCIDEVICEID before = cd.deviceId;
    PlayMusic(0, "ignored", 1, 1);
    EXPECT_EQ(Steps(1), Looped(kCdTrack1, 1)) << "another music plays at once";
    // The end of the music before, noticed only now, restarts nothing.
    PostMessageA(GetMusicState().window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, before);
    PumpMessages();
    const std::vector<std::int16_t> track1 = Looped(kCdTrack1, 3);
    EXPECT_EQ(Steps(2), std::vector<std::int16_t>(track1.begin() + 2 * 4410, track1.end()));
}

TEST_F(CdMusicTest, MusicThatDoesNotLoopEnds) {
    CreateCdWindow();
    PlayMusic(2, "ignored", 0, 1);
    std::vector<std::int16_t> expected = TrackPart(kCdTrack3, 0, 6 * 4410);
    EXPECT_EQ(Steps(6), expected) << "track 3 then silence: the last track plays to the end";
    EXPECT_EQ(Steps(2), CdSilence(2));
    EXPECT_EQ(IsMusicPlaying(), 1) << "as with the PCM player, until the music is stopped";
    PlayMusic(2, "ignored", 0, 1);
    EXPECT_EQ(Steps(1), CdSilence(1)) << "still the music that plays";
}

TEST_F(CdMusicTest, StopPauseAndResume) {
    CreateCdWindow();
    PlayMusic(1, "ignored", 1, 1);
    Steps(3);
    PauseMusic(1);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(GetCdAudioState().deviceId, kCdDeviceClosed);
    EXPECT_EQ(GetMusicPosition(), 0u);
    EXPECT_EQ(Steps(2), CdSilence(2));
    PauseMusic(1);
    PauseMusic(0);
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_EQ(Steps(2), Looped(kCdTrack2, 2)) << "the track starts again from its beginning";

    StopMusic();
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(Steps(1), CdSilence(1));
    PlayMusic(1, "ignored", 1, 1);
    EXPECT_EQ(Steps(1), Looped(kCdTrack2, 1)) << "after a stop the same track plays again";

    // A request made paused plays when the music resumes.
    StopMusic();
    PlayMusic(2, "ignored", 1, 0);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(GetMusicState().playing.load(), 1);
    EXPECT_EQ(Steps(1), CdSilence(1));
    PauseMusic(0);
    EXPECT_EQ(Steps(2), Looped(kCdTrack3, 2));
}

TEST_F(CdMusicTest, RequestsThatDoNothing) {
    CreateCdWindow();
    PlayMusic(1, "ignored", 1, 1);
    Steps(2);
    struct Case {
        const char* name;
        int number;
    };
    const Case cases[] = {
        {"past the last track", 3}, {"track 0", -1}, {"far past", 99}, {"the track that plays", 1}};
    int played = 2;
    for (const Case& c : cases) {
        PlayMusic(c.number, "ignored", 1, 1);
        EXPECT_EQ(GetCdAudioState().currentTrack, 2) << c.name;
        EXPECT_EQ(Steps(1), TrackPart(kCdTrack2, static_cast<std::size_t>(played) * 4410, 4410))
            << c.name;
        ++played;
    }
}

TEST_F(CdMusicTest, DrivesAreProbedForTwoTracksOrMore) {
    InsertDisc('E', {kCdTrack1});
    InsertDisc('F', {kCdTrack1, kCdTrack3});
    mci_test::MapDriveImage('D', "");
    CreateCdWindow();
    EXPECT_EQ(GetCdAudioState().driveRoot, "f:\\") << "E holds one track only";
    EXPECT_EQ(ProbeCdAudioDrive("e:\\"), 0);
    EXPECT_EQ(ProbeCdAudioDrive("c:\\"), 0) << "not a CD-ROM drive";
    EXPECT_EQ(ProbeCdAudioDrive(nullptr), 0);
    EXPECT_EQ(GetCdAudioState().driveRoot, "f:\\") << "a failed probe forgets nothing";
    EXPECT_EQ(CheckCdAudioDrive("f:\\"), 1);
    EXPECT_EQ(GetCdAudioState().trackCount, 2);

    WhileClockRuns([] { DestroyMusicWindow(); });
    EXPECT_EQ(CheckCdAudioDrive("f:\\"), 0) << "only while the CD player's window is ready";
}

TEST_F(CdMusicTest, NoDriveMeansSilentMusicWithoutAMessage) {
    mci_test::UseDiscImages(true);  // no disc image: no CD-ROM drive at all
    CreateCdWindow();
    EXPECT_EQ(IsMusicReady(), 1);
    EXPECT_TRUE(GetCdAudioState().driveRoot.empty());
    const std::string log = Log();
    EXPECT_EQ(PlayMusic(1, "ignored", 1, 1), 1);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(Steps(2), CdSilence(2));
    PauseMusic(1);
    PauseMusic(0);
    SetMusicVolume(3000);
    StopMusic();
    EXPECT_EQ(Log(), log) << "no message";

    InsertDisc('D', {kCdTrack1, kCdTrack2, kCdTrack3});
    SetMusicVolume(10000);
    PlayMusic(1, "ignored", 1, 1);
    EXPECT_EQ(Steps(1), Looped(kCdTrack2, 1)) << "a request without a drive probes again";
}

// A disc of more than 50 tracks: the player counts 50, and track 50 ends at the start of
// track 51 instead of playing on through every later track.
TEST_F(CdMusicTest, Track50OfALongerDiscEndsAtTrack51) {
    std::vector<qvn_disc::DiscTrack> tracks;
    for (int track = 1; track <= 52; ++track) {
        tracks.push_back(CountingTrack(kCdFramesPerSector, track * 500));
    }
    mci_test::MapDriveImage('D', "");
    InsertDisc('E', tracks);
    CreateCdWindow();
    EXPECT_EQ(GetCdAudioState().trackCount, 50);
    PlayMusic(50, "ignored", 0, 1);
    EXPECT_EQ(GetCdAudioState().currentTrack, 0) << "track 51 is beyond the count";
    PlayMusic(49, "ignored", 0, 1);
    std::vector<std::int16_t> heard = mci_test::MixCdFrames('E', 2 * kCdFramesPerSector);
    EXPECT_EQ(heard, TrackPart(tracks[49], 0, 2 * kCdFramesPerSector));
}

TEST_F(CdMusicTest, TheCdLineIsTheMusicVolume) {
    SetCdLine(16384);
    CreateCdWindow();
    EXPECT_EQ(CdLine(), 65535u) << "full while the window lives";
    EXPECT_EQ(GetCdAudioState().savedMixerVolume, 2500u);

    MusicState& state = GetMusicState();
    SetMusicVolume(5000);
    EXPECT_EQ(CdLine(), 32767u);
    EXPECT_EQ(state.currentVolume.load(), 5000u);
    const FadeCase cases[] = {
        {"down to silence", 10000, 500, 0, {{1, 9000, 1}, {8, 1000, 1}, {1, 0, 0}}},
        {"down stops at its target", 10000, 1000, 3000, {{1, 9650, 1}, {19, 3000, 0}}},
        {"up with truncated steps stops at its target",
         1000,
         150,
         2000,
         {{1, 1333, 1}, {2, 1999, 1}, {1, 2000, 0}}},
        {"a step past 0 ends at 0", 1000, 150, 0, {{3, 1, 1}, {1, 0, 0}}},
        {"up past full ends at full", 9000, 50, 20000, {{1, 10000, 0}}},
        {"no change ends at once", 4000, 500, 4000, {{1, 4000, 0}}},
    };
    for (const FadeCase& c : cases) {
        SetMusicVolume(c.from);
        FadeMusic(c.milliseconds, c.target);
        for (const FadeStep& step : c.steps) {
            RunTimers(step.ticks, 50);
            EXPECT_EQ(state.currentVolume.load(), step.volume) << c.name;
            EXPECT_EQ(CdLine(), 65535u * step.volume / 10000) << c.name;
            EXPECT_EQ(IsMusicFading(), step.fading) << c.name;
        }
    }

    WhileClockRuns([] { DestroyMusicWindow(); });
    EXPECT_EQ(CdLine(), 16383u) << "the former level again (2500 of 10000)";
}

TEST_F(CdMusicTest, AMissingMixerLineLeavesTheVolumeAlone) {
    SetCdLine(1000);
    mci_test::SetMixerPresent(false);
    CreateCdWindow();
    mci_test::SetMixerPresent(true);
    EXPECT_FALSE(GetCdAudioState().hasMixerLine);
    EXPECT_EQ(Log().find("Audio Mixer"), std::string::npos);
    SetMusicVolume(7000);
    EXPECT_EQ(GetMusicState().currentVolume.load(), 7000u);
    EXPECT_EQ(CdLine(), 1000u);
    PlayMusic(1, "ignored", 1, 1);
    EXPECT_NE(Steps(1), CdSilence(1)) << "the music still plays, at the line's level";
}

// The music device chooses the player; the callers' commands work on either.
TEST_F(CdMusicTest, TheMusicDeviceChoosesThePlayer) {
    const std::vector<std::int16_t> wave = RampSamples(30000, 4000);
    const std::string name = WriteSound("music/bgm01a.wav", WaveFile(AsBytes(wave)));
    for (DWORD device : {kMusicDevicePcm, kMusicDeviceCd, kMusicDevicePcm}) {
        const bool cd = device == kMusicDeviceCd;
        WhileClockRuns([&] { ASSERT_EQ(CreateMusicWindow(GameWindow(), device), 1); });
        MusicState& state = GetMusicState();
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(state.window, GWLP_WNDPROC)),
                  cd ? CdAudioPlayer : PcmMusicPlayer);

        ASSERT_EQ(PlayMusic(1, name.c_str(), 1, 1), 1);
        if (!cd) {
            win32_test::WaitForSleepers(1);
        }
        EXPECT_EQ(IsMusicPlaying(), 1) << device;
        std::vector<std::int16_t> heard = cd ? mci_test::MixCdFrames('D', 4410) : Mix(4410);
        EXPECT_EQ(heard, cd ? Looped(kCdTrack2, 1) : Joined({wave}, 0, 4410)) << device;

        SetMusicVolume(6000);
        EXPECT_EQ(state.currentVolume.load(), 6000u) << device;
        WhileClockRuns([] { PauseMusic(1); });
        EXPECT_EQ(IsMusicPlaying(), 0) << device;
        WhileClockRuns([] { PauseMusic(0); });
        EXPECT_EQ(IsMusicPlaying(), 1) << device;
        WhileClockRuns([] { StopMusic(); });
        EXPECT_EQ(IsMusicPlaying(), 0) << device;
        EXPECT_EQ(state.currentVolume.load(), 6000u) << device;
    }
}

}  // namespace
}  // namespace qvn::test
