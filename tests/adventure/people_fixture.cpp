#include "people_fixture.h"

#include "adventure/face.h"
#include "adventure/mascot.h"
#include "adventure/message_backlog.h"
#include "adventure/scene.h"
#include "adventure/stand.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "media/sound/direct_sound.h"
#include "platform/dsound/dsound_test.h"

namespace adventure_tests {

void PeopleTest::SetUp() {
    AdventureTest::SetUp();
    savedAutoInterval_ = MsgAutoInterval;
    savedVoiceVolume_ = VoiceVolume;
    savedVoiceSkip_ = VoiceSkip;
    savedWndColor_ = WndColor;
    dsound_test::UseNullDevice(true);
    ASSERT_EQ(CreateDirectSound(graphics_tests::FakeWindow(), nullptr), S_OK);
    for (const char* sheet : {"stand/hina.png", "stand/sora.png", "stand/kai.png"}) {
        CopyDemoFile(std::string("sprite/") + sheet);
    }
    for (const char* name : {"stand/hina", "stand/sora", "stand/kai"}) {
        WriteContainer(name, ReadDemoFile(std::string("sprite/") + name + ".txt"));
    }
    for (const char* face : {"hina", "sora", "kai"}) {
        CopyDemoFile(std::string("bmp/face/") + face + ".png");
    }
    for (const char* voice : {"hn0201", "so0201", "ka0201"}) {
        CopyDemoFile(std::string("voice/") + voice + ".mp3");
    }
    VoiceVolume = 10000;
    VoiceSkip = 0;
    VoiceEnabled = 1;
    LoadVoiceSettings();
}

void PeopleTest::TearDown() {
    ReleaseVoice();
    MessageBacklog::Clear();
    BacklogReplay = 0;
    ReleaseScene();
    DestroyDirectSound();
    dsound_test::UseNullDevice(false);
    MsgAutoInterval = savedAutoInterval_;
    VoiceVolume = savedVoiceVolume_;
    VoiceSkip = savedVoiceSkip_;
    WndColor = savedWndColor_;
    VoiceEnabled = 1;
    AdventureTest::TearDown();
}

void PeopleTest::MixSeconds(double seconds) {
    dsound_test::MixFrames(static_cast<std::uint32_t>(seconds * 44100.0));
}

}  // namespace adventure_tests
