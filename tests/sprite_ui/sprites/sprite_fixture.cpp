#include "sprite_fixture.h"

#include "foundation/log.h"
#include "kra/kra_writer.h"
#include "media/sound/direct_sound.h"
#include "media/sound/sound_test_support.h"
#include "platform/d3dx/png_encode.h"
#include "platform/dsound/dsound_test.h"

namespace sprite_tests {

void SpriteTest::SetUp() {
    GraphicsTest::SetUp();
    StartDevice(160, 120);
    dsound_test::UseNullDevice(true);
    ASSERT_EQ(CreateDirectSound(graphics_tests::FakeWindow(), nullptr), S_OK);
}

void SpriteTest::TearDown() {
    EXPECT_EQ(ISprite::Count(), 0u) << "sprites left";
    ISprite::DeleteAll();
    EXPECT_TRUE(SpriteDataList().empty()) << "containers left";
    if (gDirectSound != nullptr) {
        EXPECT_EQ(gDirectSound->SoundCount(), 0u) << "sounds left";
    }
    DestroyDirectSound();
    dsound_test::UseNullDevice(false);
    GraphicsTest::TearDown();
}

std::vector<std::uint8_t> SpriteTest::ContainerBytes(const std::string& source) {
    qvn_kra::KraError error;
    std::optional<qvn_kra::KraSource> parsed = qvn_kra::ParseKraSource(source, &error);
    EXPECT_TRUE(parsed.has_value()) << error.line << ": " << error.message;
    if (!parsed) {
        return {};
    }
    std::optional<std::vector<std::uint8_t>> bytes = qvn_kra::WriteKra(*parsed, &error, false);
    EXPECT_TRUE(bytes.has_value()) << error.line << ": " << error.message;
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

void SpriteTest::WriteContainer(const std::string& name, const std::string& source, bool checked) {
    qvn_kra::KraError error;
    std::optional<qvn_kra::KraSource> parsed = qvn_kra::ParseKraSource(source, &error);
    ASSERT_TRUE(parsed.has_value()) << error.line << ": " << error.message;
    std::optional<std::vector<std::uint8_t>> bytes = qvn_kra::WriteKra(*parsed, &error, checked);
    ASSERT_TRUE(bytes.has_value()) << error.line << ": " << error.message;
    dir_->writeFile("sprite/" + name + ".kra", *bytes);
}

void SpriteTest::WriteSheet(const std::string& relative, int width, int height,
                            const std::vector<std::uint32_t>& argb) {
    dir_->writeFile("sprite/" + relative, d3dx::EncodeArgbAsPng(width, height, argb.data(), width));
}

void SpriteTest::WriteQuadrantSheet(const std::string& relative) {
    WriteSheet(relative, 16, 16, graphics_tests::MakeImage(16, 16, [](int x, int y) {
                   static const std::uint32_t kColours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                                                             0xFFFFFFFFu};
                   return kColours[(y / 8) * 2 + x / 8];
               }));
}

void SpriteTest::WriteSound(const std::string& name) {
    dir_->writeFile("sound/" + name + ".wav",
                    qvn::test::WaveFile(qvn::test::AsBytes(qvn::test::RampSamples(4410, 1))));
}

}  // namespace sprite_tests
