#include "people_fixture.h"

#include <fstream>
#include <iterator>

#include "adventure/face.h"
#include "adventure/mascot.h"
#include "adventure/message_backlog.h"
#include "adventure/scene.h"
#include "adventure/stand.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "kra/kra_source.h"
#include "kra/kra_writer.h"
#include "media/sound/direct_sound.h"
#include "platform/dsound/dsound_test.h"

namespace adventure_tests {

namespace {

std::string ReadDemoFile(const std::string& relative) {
    std::ifstream in(std::string(QVN_SOURCE_DIR) + "/demo/" + relative, std::ios::binary);
    EXPECT_TRUE(in.good()) << relative;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void PeopleTest::SetUp() {
    AdventureTest::SetUp();
    dsound_test::UseNullDevice(true);
    ASSERT_EQ(CreateDirectSound(graphics_tests::FakeWindow(), nullptr), S_OK);
    for (const char* sheet : {"mowl.png", "stand/hina.png", "stand/sora.png", "stand/kai.png"}) {
        CopyDemoFile(std::string("sprite/") + sheet);
    }
    for (const char* name : {"mowl", "stand/hina", "stand/sora", "stand/kai"}) {
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
    AdventureTest::TearDown();
}

void PeopleTest::WriteContainer(const std::string& name, const std::string& source) {
    qvn_kra::KraError error;
    const std::optional<qvn_kra::KraSource> parsed = qvn_kra::ParseKraSource(source, &error);
    ASSERT_TRUE(parsed.has_value()) << name << ":" << error.line << ": " << error.message;
    const std::optional<std::vector<std::uint8_t>> bytes = qvn_kra::WriteKra(*parsed, &error, true);
    ASSERT_TRUE(bytes.has_value()) << name << ":" << error.line << ": " << error.message;
    dir_->writeFile("sprite/" + name + ".kra", *bytes);
}

void PeopleTest::CopyDemoFile(const std::string& relative, const std::string& to) {
    dir_->writeFile(to.empty() ? relative : to, ReadDemoFile(relative));
}

void PeopleTest::MixSeconds(double seconds) {
    dsound_test::MixFrames(static_cast<std::uint32_t>(seconds * 44100.0));
}

}  // namespace adventure_tests
