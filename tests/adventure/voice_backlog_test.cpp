// Voices under their switches, auto mode waiting for a voice, and the message backlog paged by
// every input of the adventure frame, as one timeline of frames.

#include <map>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/game_mode.h"
#include "adventure/message_backlog.h"
#include "adventure/message_window.h"
#include "adventure/script_functions.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/registry_settings.h"
#include "media/graphics/plane.h"
#include "media/sound/ds_sound.h"
#include "people_fixture.h"

namespace adventure_tests {
namespace {

using Settings = std::map<std::string, DWORD>;

// Whether the voice's sound was made and plays, and the character value written since.
struct VoiceOutcome {
    bool allowed;
    bool played;
    const char* written;  // the value of section "voice" that exists afterwards, or null
};

TEST_F(PeopleTest, VoiceSwitchesDecideWhichVoicesPlay) {
    const std::string leadByte = Sjis("ひ") + "n0201";
    const struct {
        const char* label;
        Settings stored;
        const char* voice;
        std::int32_t enabled;
        DWORD volume;
        int skip;
        VoiceOutcome expected;
    } cases[] = {
        {"female off silences Hina",
         {{"female", 0}, {"Hina", 1}},
         "hn0201",
         1,
         10000,
         0,
         {false, false, "Hina"}},
        {"female off leaves Kai", {{"female", 0}}, "ka0201", 1, 10000, 0, {true, true, "Kai"}},
        {"male off silences Kai",
         {{"male", 0}, {"Kai", 1}},
         "ka0201",
         1,
         10000,
         0,
         {false, false, "Kai"}},
        {"the first voice writes the switch", {}, "so0201", 1, 10000, 0, {true, true, "Sora"}},
        {"a prefix in either case", {}, "SO0201", 1, 10000, 0, {true, true, "Sora"}},
        {"the character's own switch off",
         {{"Sora", 0}},
         "so0201",
         1,
         10000,
         0,
         {false, false, "Sora"}},
        {"voices off", {}, "hn0201", 0, 10000, 0, {false, false, "Hina"}},
        {"voice volume 0", {}, "hn0201", 1, 0, 0, {false, false, "Hina"}},
        {"skipping", {}, "hn0201", 1, 10000, 1, {true, false, "Hina"}},
        {"a name beginning with *", {}, "*hn0201", 1, 10000, 0, {false, false, nullptr}},
        {"one letter matches nobody", {}, "h", 1, 10000, 0, {true, false, nullptr}},
        {"a double-byte start matches nobody",
         {},
         leadByte.c_str(),
         1,
         10000,
         0,
         {true, false, nullptr}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Restart();
        for (const auto& [name, value] : c.stored) {
            ASSERT_EQ(WriteRegistryDword(kSettingsVoice, name.c_str(), value), 1);
        }
        LoadVoiceSettings();
        VoiceEnabled = c.enabled;
        VoiceVolume = c.volume;
        SkipActive = c.skip;
        PendingDelayMs = 7;
        EXPECT_EQ(IsVoiceAllowed(c.voice), c.expected.allowed);
        PlayVoice(c.voice);
        EXPECT_EQ(IsVoicePlaying(), c.expected.played);
        EXPECT_EQ(PendingDelayMs, c.expected.played ? 0u : 7u);
        for (std::size_t i = 0; i < kVoiceCharacterCount; ++i) {
            const char* name = VoiceCharacterTable[i].valueName;
            DWORD type = 0;
            QueryRegistryType(kSettingsVoice, name, &type);
            const bool expected =
                c.stored.count(name) != 0 ||
                (c.expected.written != nullptr && name == std::string(c.expected.written));
            EXPECT_EQ(type != 0, expected) << name;
            EXPECT_EQ(VoiceCharacterFlags[i].known != 0, expected) << name;
        }
        SkipActive = 0;
    }

    // The voice page's check box of Hina and the voice volume.
    Restart();
    VoiceVolume = 5000;
    SetVoiceFlag(1237, 0);
    PlayVoice("hn0201");
    EXPECT_FALSE(IsVoicePlaying());
    SetVoiceFlag(1237, 1);
    PlayVoice("hn0201");
    ASSERT_TRUE(IsVoicePlaying());
    LONG volume = 0;
    VoiceSound->GetVolume(&volume);
    EXPECT_EQ(volume, -5000);
    EXPECT_EQ(PlayVoice("missing"), 0) << "a voice file that does not load";
    EXPECT_EQ(VoiceSound, nullptr) << "the held voice went before the new one was made";
    PlayVoice("hn0201");
    MixSeconds(3.0);
    EXPECT_FALSE(IsVoicePlaying()) << "the voice has ended";
}

// In auto mode a page waits while its voice plays, then for MsgAutoInterval.
TEST_F(PeopleTest, AutoModeWaitsForTheVoiceToEnd) {
    MsgAutoInterval = 500;
    AutoMode = 1;
    WriteScript("start", R"(
*top
    invoke 1 "ソラ"
    invoke 18 "so0201"
    text "「おはよう、ヒナ。」"
    invoke 2
    set g15 1
    text "二"
    invoke 2
    set g15 2
    return
)");
    StartScript("start");
    for (int i = 0; i < 180; ++i) {
        Frame();
    }
    EXPECT_EQ(Var(15), 0) << "three seconds and the voice still plays (nothing mixed it)";
    EXPECT_TRUE(IsVoicePlaying());
    MixSeconds(5.0);
    for (int i = 0; i < 29; ++i) {
        Frame();
    }
    EXPECT_EQ(Var(15), 0) << "the voice has ended: 500 ms to go";
    EXPECT_EQ(VoiceSound, nullptr) << "released when it ended";
    Frame();
    Frame();
    EXPECT_EQ(Var(15), 0);
    Frame();  // 32 frames of 16 ms pass 500 ms
    EXPECT_EQ(Var(15), 1);
}

// Four recorded pages (a thought shown while BacklogReplay is set is not recorded), then the
// backlog paged through by every input, one step a row, with the entry shown after it.
TEST_F(PeopleTest, BacklogPagesBackAndForthThroughEarlierMessages) {
    WndColor = 0xFF305078u;
    WriteScript("start", R"(
*top
    invoke 1 "ヒナ"
    invoke 5 "hina"
    invoke 18 "hn0201"
    text "一ページ目"
    invoke 2
    invoke 1 "ソラ"
    invoke 5 "sora"
    invoke 18 "so0201"
    text "二ページ目、#0人"
    invoke 2
    set g9 800
    invoke 1 "*"
    text "三ページ目"
    invoke 2
    invoke 0 8 5 1
    invoke 1 "ヒナ"
    text "記録されない"
    invoke 2
    invoke 0 8 5 0
    invoke 1 "カイ"
    invoke 5 "kai"
    invoke 18 "ka0201"
    text "四ページ目"
    invoke 2
    return
)");
    StartScript("start");
    Frame();
    for (int page = 0; page < 4; ++page) {
        EXPECT_FALSE(MessageBacklog::IsCursorOnEntry());
        Frame({.keys = {200}});  // nothing to page back to in the first page, nor while replaying
        Frame();
        for (int i = 0; i < 16; ++i) {
            Frame();
        }
        EXPECT_EQ(MessageBacklog::Cursor(), page == 0 || page == 3 ? MessageBacklog::kEnd : 1u);
        Frame({.keys = {57}});  // Space returns from the backlog; on the page it hides the window
        Frame();
        if (MessageWindowShown == 0) {
            Frame({.mouse = {0}});
            Frame();
        }
        Frame({.mouse = {0}});  // the next page
        Frame();
    }
    ASSERT_EQ(MessageBacklog::Size(), 4u);
    EXPECT_EQ(MessageBacklog::At(0).voice, "ka0201");
    EXPECT_EQ(MessageBacklog::At(1).face, "*");
    EXPECT_EQ(MessageBacklog::At(1).voice, "");
    EXPECT_EQ(MessageBacklog::At(2).face, "sora.png");
    EXPECT_EQ(MessageBacklog::At(2).text, Sjis("二ページ目、0人")) << "as the page showed it";
    EXPECT_EQ(MessageBacklog::At(3).speaker, Sjis("ヒナ"));
    EXPECT_EQ(MessageBacklog::PendingVoice(), "") << "the page end cleared it";

    const std::size_t end = MessageBacklog::kEnd;
    const struct {
        const char* label;
        Input input;
        std::size_t cursor;
        const char* speaker;
        const char* face;  // null: none
    } steps[] = {
        {"pad up", {.padY = -1000}, 1, "", nullptr},
        {"page up", {.keys = {201}}, 2, "ソラ", "sora.png"},
        {"wheel forward", {.wheel = 120}, 3, "ヒナ", "hina.png"},
        {"the oldest stays", {.wheel = 120}, 3, "ヒナ", "hina.png"},
        {"down", {.keys = {208}}, 2, "ソラ", "sora.png"},
        {"page down", {.keys = {209}}, 1, "", nullptr},
        {"pad down: the current page", {.padY = 1000}, end, "カイ", "kai.png"},
        {"up arrow", {.keys = {200}}, 1, "", nullptr},
        {"wheel back", {.wheel = -120}, end, "カイ", "kai.png"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.label);
        Frame(step.input);
        // Keys and the pad wait for the repeat delay before they are read again.
        for (int i = 0; i < 16; ++i) {
            Frame();
        }
        EXPECT_EQ(MessageBacklog::Cursor(), step.cursor);
        EXPECT_EQ(std::string(SpeakerName), Sjis(step.speaker));
        EXPECT_EQ(FacePlane != nullptr ? FacePlane->name : std::string(),
                  step.face != nullptr ? step.face : "");
        EXPECT_EQ(PageWait, 1);
    }

    // An older entry in the backlog's grey, with its face and speaker; "#0" as the page showed
    // it (variable 9 was 0 then and is 800 now).
    Frame({.keys = {201}});
    for (int i = 0; i < 16; ++i) {
        Frame();
    }
    Frame({.keys = {201}});
    for (int i = 0; i < 16; ++i) {
        Frame();
    }
    ASSERT_EQ(MessageBacklog::Cursor(), 2u);
    ExpectRowsGolden("backlog_entry", 400);

    // An advance replays the entry's voice instead of turning the page.
    ReleaseVoice();
    Frame({.mouse = {0}});
    Frame();
    EXPECT_TRUE(IsVoicePlaying());
    EXPECT_EQ(MessageBacklog::Cursor(), 2u);
    EXPECT_EQ(PageWait, 1);

    // Option 5 of sub-command 8 returns to the current page and stops the recording.
    ScriptValue values[] = {ScriptValue::MakeLong(8), ScriptValue::MakeLong(5),
                            ScriptValue::MakeLong(1)};
    EXPECT_TRUE(ScriptFunctionDispatcher(0, {&values[0], &values[1], &values[2]}, 0.0f));
    EXPECT_EQ(MessageBacklog::Cursor(), end);
    EXPECT_EQ(std::string(SpeakerName), Sjis("カイ"));
    EXPECT_EQ(BacklogReplay, 1);
    Frame({.keys = {200}});
    Frame();
    EXPECT_EQ(MessageBacklog::Cursor(), end) << "no paging while replaying";
    MessageBacklog::Add("x");
    EXPECT_EQ(MessageBacklog::Size(), 4u);

    ResetAdventureState();
    EXPECT_TRUE(MessageBacklog::IsEmpty());
    EXPECT_EQ(BacklogReplay, 0);
}

}  // namespace
}  // namespace adventure_tests
