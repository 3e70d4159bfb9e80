// Sprite instances over timelines of steps: frame timing, events, sounds, moves, looping and
// ending, callbacks, and the walk of StepAll.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/app_settings.h"
#include "media/sound/ds_sound.h"
#include "sprite_fixture.h"

namespace sprite_tests {
namespace {

// What the callbacks saw since the last line of a timeline.
struct Probe {
    std::string seen;
    const char* restartOnEnd = nullptr;  // the end callback starts this animation
    bool deleteOnEvent = false;
};

int OnEvent(ISprite* /*sprite*/, std::uint32_t event, void* context) {
    auto* probe = static_cast<Probe*>(context);
    probe->seen += " e" + std::to_string(event);
    return probe->deleteOnEvent ? 0 : 1;
}

int OnEnd(ISprite* sprite, std::uint32_t leftOver, void* context) {
    auto* probe = static_cast<Probe*>(context);
    probe->seen += " end(" + std::to_string(leftOver) + ")";
    if (probe->restartOnEnd != nullptr) {
        sprite->Start(probe->restartOnEnd, kSpriteVisible | kSpritePlaying | kSpriteLoop, 0);
    }
    return 1;
}

// One line of a timeline: the frame, the positions, the total ticks, whether it still plays,
// and the events, ends and sounds since the last line.
std::string Describe(const char* label, ISprite* sprite, Probe* probe) {
    char text[200];
    const bool threeD = sprite->data->kind == kSpriteKind3D;
    std::snprintf(text, sizeof text, "%s: frame %d %s %g,%g total %u%s", label,
                  static_cast<int>(sprite->frame), threeD ? "at3" : "at",
                  static_cast<double>(threeD ? sprite->x3 : sprite->x),
                  static_cast<double>(threeD ? sprite->z3 : sprite->y), sprite->totalTicks,
                  (sprite->flags & kSpritePlaying) != 0 ? "" : " stopped");
    std::string line = text + probe->seen;
    probe->seen.clear();
    for (int slot = 0; slot < sprite->data->soundCount; ++slot) {
        DSSound* sound = sprite->data->sounds[slot];
        DWORD status = 0;
        LONG volume = 0;
        sound->GetStatus(&status);
        sound->GetVolume(&volume);
        if ((status & DSBSTATUS_PLAYING) != 0) {
            line += " sound" + std::to_string(slot) + "(" + std::to_string(volume) + ")";
            sound->Stop();
        }
    }
    return line + "\n";
}

class SpriteStepTest : public SpriteTest {
protected:
    // Opens a container of `magic` with the animations `texts` ("name=text" each).
    ISprite* Open(const std::string& name, const char* magic,
                  const std::vector<std::string>& texts) {
        std::string source = std::string("magic ") + magic + "\n";
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::size_t split = texts[i].find('=');
            source += "animation " + std::to_string(i) + " \"" + texts[i].substr(0, split) +
                      "\" text \"" + texts[i].substr(split + 1) + "\"\n";
        }
        WriteContainer(name, source);
        return ISprite::Create(name.c_str());
    }
};

TEST_F(SpriteStepTest, TimelinesOfFramesEventsSoundsAndMoves) {
    WriteSound("beep");
    SoundVolume = 6000;
    constexpr std::uint32_t kLoop = kSpriteVisible | kSpritePlaying | kSpriteLoop;
    constexpr std::uint32_t kOnce = kSpriteVisible | kSpritePlaying;
    const struct {
        const char* name;
        const char* magic;
        const char* text;
        std::uint32_t flags;
        float speed;
        std::vector<std::uint32_t> steps;
        const char* expected;
    } cases[] = {
        {"20 ticks a frame by default; the third step ends the list and loops",
         "KRA2",
         "p1,2,3",
         kLoop,
         1.0f,
         {20, 20, 20, 20},
         "start: frame 1 at 0,0 total 1\n"
         "20: frame 2 at 0,0 total 21\n"
         "20: frame 3 at 0,0 total 41\n"
         "20: frame 1 at 0,0 total 1 end(1)\n"
         "20: frame 2 at 0,0 total 21\n"},
        {"a frame is left only when its time is above the ticks per frame",
         "KRA2",
         "s50 p1,2",
         kLoop,
         1.0f,
         {49, 1, 49, 1},
         "start: frame 1 at 0,0 total 1\n"
         "49: frame 1 at 0,0 total 50\n"
         "1: frame 2 at 0,0 total 51\n"
         "49: frame 2 at 0,0 total 100\n"
         "1: frame 1 at 0,0 total 1 end(1)\n"},
        {"ranges and an event as its frame is reached; the end keeps the last frame",
         "KRA2",
         "p-2,a,5-4,3",
         kOnce,
         1.0f,
         {20, 20, 20, 20, 20},
         "start: frame 1 at 0,0 total 1\n"
         "20: frame 2 at 0,0 total 21\n"
         "20: frame 5 at 0,0 total 41 e0\n"
         "20: frame 3 at 0,0 total 61\n"
         "20: frame 3 at 0,0 total 1 stopped end(1)\n"
         "20: frame 3 at 0,0 total 1 stopped\n"},
        {"a sound plays as the frame advance reaches it, at the sound volume",
         "KRA2",
         "p1,(beep),2",
         kLoop,
         1.0f,
         {20, 20, 20},
         "start: frame 1 at 0,0 total 1\n"
         "20: frame 2 at 0,0 total 21 sound0(-4000)\n"
         "20: frame 1 at 0,0 total 1 end(1)\n"
         "20: frame 2 at 0,0 total 21 sound0(-4000)\n"},
        {"a long step runs through lists: events fire, sounds are skipped, the end stops it",
         "KRA2",
         "p1,a,2 s10 p3,b,4,(beep) p5",
         kOnce,
         1.0f,
         {200, 20},
         "start: frame 1 at 0,0 total 1\n"
         "200: frame 5 at 0,0 total 131 stopped e0 e1 end(131)\n"
         "20: frame 5 at 0,0 total 131 stopped\n"},
        {"a move is shared by the frames of the list before it",
         "KRA2",
         "s50 p1,2 m10,-4",
         kOnce,
         1.0f,
         {49, 1, 50},
         "start: frame 1 at 5,-2 total 1\n"
         "49: frame 1 at 5,-2 total 50\n"
         "1: frame 2 at 10,-4 total 51\n"
         "50: frame 2 at 10,-4 total 1 stopped end(1)\n"},
        {"mirrored, the move goes the other way",
         "KRA2",
         "s50 p1,2 m10,-4",
         kOnce | kSpriteMirrorX | kSpriteMirrorY,
         1.0f,
         {51},
         "start: frame 1 at -5,2 total 1\n"
         "51: frame 2 at -10,4 total 52\n"},
        {"every share is truncated, and the move goes on into the next list",
         "KRA2",
         "p1,2,3 m10,0 p4",
         kOnce,
         1.0f,
         {20, 20, 20, 20},
         "start: frame 1 at 3,0 total 1\n"
         "20: frame 2 at 6,0 total 21\n"
         "20: frame 3 at 9,0 total 41\n"
         "20: frame 4 at 12,0 total 61\n"
         "20: frame 4 at 12,0 total 1 stopped end(1)\n"},
        {"a move before any list moves nothing; the start's one command phase takes only it",
         "KRA2",
         "m10,10 p1,2",
         kOnce,
         1.0f,
         {21},
         "start: frame -1 at 0,0 total 1\n"
         "21: frame 2 at 0,0 total 22\n"},
        {"3-D containers move the 3-D position by float shares",
         "KRX0",
         "p1,2 m10,20,-30.5",
         kOnce,
         1.0f,
         {21, 20},
         "start: frame 1 at3 5,-15.25 total 1\n"
         "21: frame 2 at3 10,-30.5 total 22\n"
         "20: frame 2 at3 10,-30.5 total 2 stopped end(2)\n"},
        {"speed scales the ticks of a step",
         "KRA2",
         "p1,2",
         kOnce,
         0.5f,
         {30, 30, 1},
         "start: frame 1 at 0,0 total 1\n"
         "30: frame 1 at 0,0 total 16\n"
         "30: frame 2 at 0,0 total 31\n"
         "1: frame 2 at 0,0 total 32\n"},
        {"an aborted text is the end code alone: it still ends, once a step",
         "KRA2",
         "p1 n2",
         kLoop,
         1.0f,
         {20, 20},
         "start: frame -1 at 0,0 total 1 end(1)\n"
         "20: frame -1 at 0,0 total 0 end(21)\n"
         "20: frame -1 at 0,0 total 0 end(20)\n"},
        {"a loop whose frames take no time ends each step after one pass",
         "KRA2",
         "s0 p1,a,2",
         kLoop,
         1.0f,
         {20, 20},
         "start: frame 2 at 0,0 total 1 e0\n"
         "20: frame 1 at 0,0 total 0 end(21)\n"
         "20: frame 1 at 0,0 total 0 e0 end(20)\n"},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "case" + std::to_string(index++);
        ISprite* sprite = Open(name, c.magic, {std::string("a=") + c.text});
        ASSERT_NE(sprite, nullptr);
        Probe probe;
        sprite->SetEventCallback(OnEvent, &probe);
        sprite->SetEndCallback(OnEnd, &probe);
        std::string timeline;
        ASSERT_EQ(sprite->Start("a", c.flags, 0), 1);
        sprite->speed = c.speed;
        timeline += Describe("start", sprite, &probe);
        for (std::uint32_t ticks : c.steps) {
            EXPECT_EQ(sprite->Step(ticks), 1);
            timeline += Describe(std::to_string(ticks).c_str(), sprite, &probe);
        }
        EXPECT_EQ(timeline, c.expected);
        ISprite::Delete(sprite);
    }
}

TEST_F(SpriteStepTest, AnEndCallbackThatStartsAnotherAnimationIsNotUndone) {
    ISprite* sprite = Open("blink", "KRA2", {"wink=p5,6", "stand=s30 p b,1,2"});
    ASSERT_NE(sprite, nullptr);
    Probe probe;
    probe.restartOnEnd = "stand";
    sprite->SetEventCallback(OnEvent, &probe);
    sprite->SetEndCallback(OnEnd, &probe);
    ASSERT_EQ(sprite->Start("wink", kSpriteVisible | kSpritePlaying, 0), 1);
    std::string timeline = Describe("start", sprite, &probe);
    for (std::uint32_t ticks : {20u, 20u, 31u}) {
        EXPECT_EQ(sprite->Step(ticks), 1);
        timeline += Describe(std::to_string(ticks).c_str(), sprite, &probe);
    }
    EXPECT_EQ(timeline,
              "start: frame 5 at 0,0 total 1\n"
              "20: frame 6 at 0,0 total 21\n"
              "20: frame 1 at 0,0 total 1 end(1) e1\n"
              "31: frame 2 at 0,0 total 32\n");
    EXPECT_STREQ(sprite->GetAnimationName(), "stand");
    ISprite::Delete(sprite);
}

TEST_F(SpriteStepTest, AnEventCallbackAnsweringZeroDeletesTheSprite) {
    ISprite* sprite = Open("gone", "KRA2", {"a=p1,c,2"});
    ASSERT_NE(sprite, nullptr);
    Probe probe;
    probe.deleteOnEvent = true;
    sprite->SetEventCallback(OnEvent, &probe);
    ASSERT_EQ(sprite->Start("a", kSpritePlaying, 0), 1);
    EXPECT_EQ(sprite->Step(21), 0);
    EXPECT_EQ(probe.seen, " e2");
    EXPECT_EQ(ISprite::Count(), 0u);
    EXPECT_TRUE(SpriteDataList().empty());
}

// StepAll's walk: the first sprite's step callback deletes the third and creates a fourth.
struct WalkContext {
    ISprite* victim = nullptr;
    ISprite* created = nullptr;
};

int ChangeTheList(ISprite* /*sprite*/, std::uint32_t /*ticks*/, void* context) {
    auto* walk = static_cast<WalkContext*>(context);
    if (walk->victim != nullptr) {
        walk->victim = reinterpret_cast<ISprite*>(ISprite::Delete(walk->victim));
        walk->created = ISprite::Create("walk");
        walk->created->Start("a", kSpritePlaying, 0);
    }
    return 1;
}

TEST_F(SpriteStepTest, StepAllStepsWhatWasListedWhenItBeganAndIsStillThere) {
    ISprite* first = Open("walk", "KRA2", {"a=p1,2,3"});
    ASSERT_NE(first, nullptr);
    ISprite* second = ISprite::Create("walk");
    WalkContext walk;
    walk.victim = ISprite::Create("walk");
    for (ISprite* sprite : {first, second, walk.victim}) {
        sprite->Start("a", kSpritePlaying | kSpriteVisible, 0);
        sprite->drawnMark = 1;
    }
    first->SetStepCallback(ChangeTheList, &walk);

    ISprite::StepAll(0);
    EXPECT_EQ(first->totalTicks, 1u) << "0 ticks only clears the drawn marks";
    EXPECT_EQ(first->drawnMark, 0u);
    EXPECT_EQ(walk.victim->drawnMark, 0u);

    ISprite::StepAll(20);
    EXPECT_EQ(walk.victim, nullptr);
    ASSERT_NE(walk.created, nullptr);
    EXPECT_EQ(first->totalTicks, 21u);
    EXPECT_EQ(second->totalTicks, 21u);
    EXPECT_EQ(walk.created->totalTicks, 1u) << "made during the walk: not stepped by it";
    EXPECT_EQ(ISprite::Count(), 3u);
    ISprite::DeleteAll();
}

TEST_F(SpriteStepTest, RunToEndMeasuresAMutedCloneAndLeavesTheSpriteAlone) {
    WriteSound("beep");
    ISprite* sprite = Open("measure", "KRA2", {"a=s30 p1,(beep),2,3", "b=p1"});
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(sprite->Start("b", kSpritePlaying, 0), 1);
    SoundVolume = 8000;
    EXPECT_EQ(sprite->RunToEnd("a", 1), 90u);
    EXPECT_EQ(sprite->RunToEnd("a", 0), 90u);
    EXPECT_EQ(sprite->RunToEnd("a", 10), 81u) << "the total ticks less one step";
    EXPECT_EQ(sprite->RunToEnd("none", 10), 0u);
    EXPECT_EQ(SoundVolume, 8000u);
    LONG volume = 0;
    sprite->data->sounds[0]->GetVolume(&volume);
    EXPECT_EQ(volume, -10000) << "the clone played its sound muted";
    EXPECT_STREQ(sprite->GetAnimationName(), "b");
    EXPECT_EQ(sprite->totalTicks, 1u);
    EXPECT_EQ(ISprite::Count(), 1u);
    ISprite::Delete(sprite);
}

}  // namespace
}  // namespace sprite_tests
