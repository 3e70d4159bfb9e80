// The sound and music functions in the running game: a script of numbered steps, each followed
// by a frame's wait, and the sound device, the looping list and the music window read after
// each step.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/music_functions.h"
#include "adventure/sound_functions.h"
#include "foundation/app_settings.h"
#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_test_support.h"
#include "replay_harness.h"
#include "script/script_variables.h"

namespace {

using qvn::test::ReplayHarness;

// Step N sets variable 15 to N; "wait" lets the frame end there.
constexpr const char* kSteps = R"(
.locals 0
*top
    invoke 10 "beep"
    set g15 1
    invoke 0 0 l0 l0
    invoke 10 "hum" "rain"
    set g15 2
    invoke 0 0 l0 l0
    invoke 10 "hum" "rain" 0 50
    set g15 3
    invoke 0 0 l0 l0
    invoke 10 "hum" "wind" 1 0
    invoke 10 "hum" "gust" 1 250
    invoke 10 "hum" "calm" 1 -300
    set g15 4
    invoke 0 0 l0 l0
    invoke 12 "gust" 50 20
    set g15 5
    invoke 0 0 l0 l0
    invoke 11 "wind"
    invoke 11
    set g15 6
    invoke 0 0 l0 l0
    invoke 10 "hum" "mute" 1
    set g15 7
    invoke 0 0 l0 l0
    invoke 10 "absent" "gone"
    invoke 8 1
    set g15 8
    invoke 0 0 l0 l0
    invoke 8 1 0 50
    set g15 9
    invoke 0 0 l0 l0
    invoke 14 50 10
    set g15 10
    invoke 0 0 l0 l0
    invoke 9
    set g15 11
    invoke 0 0 l0 l0
    invoke 8 2 0 400
    set g15 12
    invoke 0 0 l0 l0
    invoke 8 3 1 -5
    set g15 13
    invoke 0 0 l0 l0
    invoke 0 53
*restart
    set g15 14
@wait
    invoke 0 0 l0 l0
    jump @wait
)";

DSSound* Live(const char* channel) {
    return gDirectSound->FindSound(channel);
}

LONG VolumeOf(const char* channel) {
    LONG volume = 1;
    if (DSSound* sound = Live(channel)) {
        sound->GetVolume(&volume);
    }
    return volume;
}

bool Looping(const char* channel) {
    DWORD status = 0;
    if (DSSound* sound = Live(channel)) {
        sound->GetStatus(&status);
    }
    return (status & DSBSTATUS_LOOPING) != 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(SoundFunctionsReplayTest, EffectsChannelsLoopsFadesAndMusicFollowTheScript) {
    ReplayHarness game;
    game.PrepareGame(kSteps);
    game.CopyDemoMascot();
    game.SetSetting("SoundVolume", 8000);
    game.SetSetting("MusicVolume", 6000);
    const auto tone = qvn::test::WaveFile(std::vector<std::uint8_t>(8820, 0), 1, 22050, 16);
    for (const char* file : {"sound/beep.wav", "sound/hum.wav", "music/bgm01a.wav",
                             "music/bgm01b.wav", "music/bgm02a.wav", "music/bgm03a.wav"}) {
        game.dir().writeFile(file, tone);
    }

    const std::map<int, std::function<void()>> checks = {
        {1,
         [] {
             ASSERT_NE(Live("sound"), nullptr) << "the default channel";
             EXPECT_FALSE(Looping("sound"));
             EXPECT_TRUE(Live("sound")->DeletesWhenStopped());
             EXPECT_EQ(VolumeOf("sound"), 8000 - 10000) << "no percent: SoundVolume - 10000";
             EXPECT_TRUE(LoopingSoundList.empty());
         }},
        {2,
         [] {
             EXPECT_TRUE(Looping("rain")) << "two arguments loop";
             EXPECT_EQ(LoopingSoundList, std::vector<DSSound*>{Live("rain")});
         }},
        {3,
         [] {
             EXPECT_FALSE(Looping("rain")) << "loop 0 plays once";
             EXPECT_TRUE(LoopingSoundList.empty()) << "the released loop left the list";
             EXPECT_EQ(VolumeOf("rain"), -2500) << "(50 - 100) x 50";
         }},
        {4,
         [] {
             EXPECT_EQ(LoopingSoundList.size(), 3u);
             EXPECT_EQ(VolumeOf("wind"), -10000) << "percent 0 is silent";
             EXPECT_EQ(VolumeOf("gust"), 0) << "above 100 per cent: full volume";
             EXPECT_EQ(VolumeOf("calm"), -10000) << "below 0: silent";
         }},
        {5,
         [] {
             ASSERT_NE(Live("gust"), nullptr);
             EXPECT_EQ(Live("gust")->FadeStep(), (50 * 8000 / 100 - 10000) / 100);
         }},
        {6,
         [] {
             EXPECT_EQ(Live("wind"), nullptr);
             EXPECT_EQ(Live("sound"), nullptr) << "11 without a channel stops \"sound\"";
             EXPECT_EQ(LoopingSoundList, (std::vector<DSSound*>{Live("gust"), Live("calm")}));
             SoundVolume = 0;
         }},
        {7,
         [] {
             EXPECT_EQ(Live("mute"), nullptr) << "no sound while SoundVolume is 0";
             EXPECT_EQ(LoopingSoundList.size(), 2u);
             SoundVolume = 8000;
         }},
        {8,
         [] {
             EXPECT_EQ(Live("gone"), nullptr);
             EXPECT_EQ(GetVar(kMusicVariable), 1u);
             EXPECT_TRUE(EndsWith(GetMusicState().playName, "\\music\\bgm01a.wav"));
             EXPECT_EQ(GetMusicLoopMode(), 2u) << "intro, then the loop file";
             EXPECT_EQ(GetMusicState().targetVolume.load(), 6000u);
             MusicVolume = 3000;
         }},
        {9,
         [] {
             EXPECT_EQ(GetMusicLoopMode(), 2u) << "the piece playing goes on";
             EXPECT_EQ(GetMusicState().targetVolume.load(), 6000u);
         }},
        {10,
         [] {
             EXPECT_EQ(GetMusicState().targetVolume.load(), 1500u);
             EXPECT_EQ(GetMusicState().fadeStep, (1500.0f - 6000.0f) / 20.0f);
         }},
        {11, [] { EXPECT_EQ(GetVar(kMusicVariable), 0u); }},
        {12,
         [] {
             EXPECT_EQ(GetVar(kMusicVariable), 2u);
             EXPECT_EQ(GetMusicLoopMode(), 0u);
             EXPECT_EQ(GetMusicState().targetVolume.load(), 10000u) << "capped";
         }},
        {13,
         [] {
             EXPECT_EQ(GetMusicLoopMode(), 1u);
             EXPECT_EQ(GetMusicState().targetVolume.load(), 0u) << "never below 0";
         }},
        {14,
         [] {
             EXPECT_TRUE(LoopingSoundList.empty());
             EXPECT_EQ(Live("gust"), nullptr) << "the restart deleted the script's loops";
             EXPECT_EQ(Live("calm"), nullptr);
             EXPECT_EQ(GetVar(kMusicVariable), 0u);
         }},
    };
    std::vector<int> seen;
    for (int tick = 1; tick < 60; ++tick) {
        game.AddAction(tick, [&] {
            if (ScriptVariables.size() <= 15) {
                return;
            }
            const int step = static_cast<int>(GetVar(15));
            if (step != 0 && (seen.empty() || seen.back() != step)) {
                seen.push_back(step);
                SCOPED_TRACE("step " + std::to_string(step));
                checks.at(step)();
            }
        });
    }
    game.SetTickLimit(60);
    game.Run();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    for (const std::string& line : game.LogLines()) {
        // This game has no title data: the title's files are reported missing at start-up.
        const bool expected = line.find("sound\\absent.wav") != std::string::npos ||
                              line.find("voice\\_none.mp3") != std::string::npos ||
                              line.find("data\\ti") != std::string::npos ||
                              line.find("Title: Load") == 0;
        EXPECT_TRUE(expected || line.find("error") == std::string::npos) << line;
    }
}

}  // namespace
