// Sprite containers: every magic with its sections, point lists, parts and compiled code; the
// refusals with their result and log line; sharing by name; the walk over compiled entries.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/path.h"
#include "kra/kra_dump.h"
#include "media/graphics/texture.h"
#include "media/sound/direct_sound.h"
#include "sprite_fixture.h"

namespace sprite_tests {
namespace {

// Loads sprite\<name>.kra with the game's loader and dumps it; the result code in *result.
std::string LoadAndDump(const std::string& name, SpriteLoadResult* result) {
    auto* data = new SpriteData();
    SpriteContainerCopy copy;
    *result = LoadSpriteContainer(GetPath(PathKind::Sprite, name.c_str()), data, &copy);
    std::string dump = *result == SpriteLoadResult::Ok ? qvn_kra::DumpKra(copy.file, *data) : "";
    ISprite::ReleaseData(data);
    return dump;
}

class SpriteContainerTest : public SpriteTest {};

TEST_F(SpriteContainerTest, EveryMagicLoadsItsSectionsInOrderOrThroughTheOffsetTable) {
    WriteQuadrantSheet("sheet.png");
    const std::string body =
        "texture 0 mode 0 \"sheet.png\"\n"
        "texture 1 mode 2 \"SHEET.PNG\"\n"
        "part 0 texture 0 frame 1 src 0,0 8x8 dst -4,-4\n"
        "part 1 texture 1 frame 2 src 8,8 8x8 dst 0,0\n"
        "animation 0 \"walk\" text \"s40 p1,2 m8,-2.5\"\n"
        "animation 1 \"Idle\" text \"p2\"\n";
    const std::string counted =
        "pointlist 0: 1,2 -3,4 5,6\n"
        "pointlist 1:\n";
    const std::string twoPoints =
        "pointlist 0: 1,2 -3,4\n"
        "pointlist 1:\n";
    const std::string common =
        "textures 2\n"
        "texture 0 mode 0 \"sheet.png\"\n"
        "texture 1 mode 2 \"SHEET.PNG\"\n";
    const std::string parts =
        "parts 2\n"
        "part 0 texture 0 frame 1 src 0,0 8x8 dst -4,-4\n"
        "part 1 texture 1 frame 2 src 8,8 8x8 dst 0,0\n"
        "animations 2\n"
        "animation 0 \"walk\" text \"s40 p1,2 m8,-2.5\"\n"
        "animation 1 \"Idle\" text \"p2\"\n";
    // 2-D moves hold two truncated i16; 3-D moves three floats (8.0, -2.5 and 0.0 for the
    // missing third), low word first.
    const std::string code2D =
        "code \"walk\": FFFE 0028 FFFD 0001 0002 FF01 FFFC 0008 FFFE FFFF\n"
        "code \"Idle\": FFFD 0002 FF01 FFFF\n";
    const std::string code3D =
        "code \"walk\": FFFE 0028 FFFD 0001 0002 FF01 FFFC 0000 4100 0000 C020 0000 0000 FFFF\n"
        "code \"Idle\": FFFD 0002 FF01 FFFF\n";
    const std::string countedDump = "pointlists 2\npointlist 0: 1,2 -3,4 5,6\npointlist 1:\n";
    const std::string twoPointDump = "pointlists 2\npointlist 0: 1,2 -3,4\npointlist 1:\n";
    const std::string noPointDump = "pointlists 0\n";
    const struct {
        const char* magic;
        const std::string& lists;
        const std::string& listDump;
        const std::string& code;
    } cases[] = {
        {"KRA2", "frames 2\n", noPointDump, code2D}, {"KRA3", twoPoints, twoPointDump, code2D},
        {"KRA4", counted, countedDump, code2D},      {"KRA5", counted, countedDump, code2D},
        {"KRX0", "frames 2\n", noPointDump, code3D}, {"KRX3", twoPoints, twoPointDump, code3D},
        {"KRX4", counted, countedDump, code3D},      {"KRX5", counted, countedDump, code3D},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.magic);
        WriteContainer("every", std::string("magic ") + c.magic + "\n" + c.lists + body);
        SpriteLoadResult result = SpriteLoadResult::NoFile;
        const std::string dump = LoadAndDump("every", &result);
        EXPECT_EQ(result, SpriteLoadResult::Ok);
        EXPECT_EQ(dump,
                  std::string("magic ") + c.magic + "\n" + common + c.listDump + parts + c.code);
    }
}

TEST_F(SpriteContainerTest, TwoPointListsEndEarlyAtTheEndMarker) {
    WriteContainer("two",
                   "magic KRA3\n"
                   "pointlist 0: 32767,32767 9,9\n"
                   "pointlist 1: 9,9 32767,32767\n"
                   "pointlist 2: 1,2 3,4\n"
                   "pointlist 3:\n");
    ISprite* sprite = ISprite::Create("two");
    ASSERT_NE(sprite, nullptr);
    const int expectedCounts[] = {0, 1, 2, 0};
    for (std::uint32_t frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(sprite->GetPointCount(frame), expectedCounts[frame]) << frame;
    }
    int px = 0;
    int py = 0;
    EXPECT_EQ(sprite->GetPoint(&px, &py, 0, 1), 1);
    EXPECT_EQ(px, 9);
    EXPECT_EQ(py, 9);
    EXPECT_EQ(sprite->GetPoint(&px, &py, 1, 2), 1);
    EXPECT_EQ(px, 3);
    EXPECT_EQ(py, 4);
    EXPECT_EQ(sprite->GetPoint(&px, &py, 1, 1), 0) << "index past the count";
    EXPECT_EQ(sprite->GetPoint(&px, &py, 0, 4), 0) << "no such frame";
    EXPECT_EQ(sprite->GetPointCount(kSpriteNoFrame), 0) << "no current frame yet";
    ISprite::Delete(sprite);
}

// `bytes` with `with` written over them at `at` (growing them when needed).
std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t at,
                                  std::vector<std::uint8_t> with) {
    if (at + with.size() > bytes.size()) {
        bytes.resize(at + with.size());
    }
    std::memcpy(bytes.data() + at, with.data(), with.size());
    return bytes;
}

TEST_F(SpriteContainerTest, RefusedContainersLogWhyAndLeaveNothingBehind) {
    WriteQuadrantSheet("sheet.png");
    WriteSound("beep");
    const std::string good =
        "magic KRA4\n"
        "texture 0 mode 0 \"sheet.png\"\n"
        "pointlist 0: 1,1\n"
        "pointlist 1:\n"
        "part 0 texture 0 frame 1 src 0,0 8x8 dst 0,0\n"
        "animation 0 \"a\" text \"p1,(beep),2\"\n";
    const std::vector<std::uint8_t> goodBytes = ContainerBytes(good);
    // The offsets of this layout: texture records at 12, point lists at 268 (counts at 268
    // and 276), parts at 280, animation records at 296, the text at 332.
    const std::string longName(250, 'n');
    const std::vector<std::uint8_t> version5 = ContainerBytes("magic KRA5\n" + good.substr(11));
    std::string thirtyThree = "magic KRA2\n";
    for (int i = 0; i < 33; ++i) {
        thirtyThree += "texture " + std::to_string(i) + " mode 0 \"sheet.png\"\n";
    }
    const std::string tooMuchCode =
        "magic KRA2\n"
        "animation 0 \"a\" text \"p1,(beep) p1-20000\"\n"
        "animation 1 \"b\" text \"p1-20000\"\n";

    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        SpriteLoadResult result;
        std::string reason;
    } cases[] = {
        {"version 1 of the 2-D family", Patched(goodBytes, 0, {'K', 'R', 'A', '1'}),
         SpriteLoadResult::BadMagic, "unknown magic 4B 52 41 31"},
        {"version 2 of the 3-D family", Patched(goodBytes, 0, {'K', 'R', 'X', '2'}),
         SpriteLoadResult::BadMagic, "unknown magic 4B 52 58 32"},
        {"lower-case magic", Patched(goodBytes, 0, {'k', 'r', 'a', '4'}),
         SpriteLoadResult::BadMagic, "unknown magic 6B 72 61 34"},
        {"three bytes", {'K', 'R', 'A'}, SpriteLoadResult::BadHeader, "header cut short (3 bytes)"},
        {"offset table cut", std::vector<std::uint8_t>(version5.begin(), version5.begin() + 20),
         SpriteLoadResult::BadHeader, "header cut short (20 bytes)"},
        {"negative texture count", Patched(goodBytes, 4, {0xFF, 0xFF}), SpriteLoadResult::BadCount,
         "negative count (textures -1, parts 1, frames 2, animations 1)"},
        {"negative animation count", Patched(goodBytes, 10, {0x00, 0x80}),
         SpriteLoadResult::BadCount,
         "negative count (textures 1, parts 1, frames 2, animations -32768)"},
        {"33 textures", ContainerBytes(thirtyThree), SpriteLoadResult::BadCount,
         "33 textures, at most 32"},
        {"texture table entry past the end", Patched(version5, 16, {0xFF, 0xFF, 0, 0}),
         SpriteLoadResult::OutOfFile, "texture records out of file"},
        {"animation table entry past the end", Patched(version5, 32, {0, 0, 1, 0}),
         SpriteLoadResult::OutOfFile, "animation records out of file"},
        {"point count past the end", Patched(goodBytes, 268, {0, 0, 0, 0x40}),
         SpriteLoadResult::OutOfFile, "point list 0 out of file"},
        {"part count past the end", Patched(goodBytes, 6, {0x30, 0x75}),
         SpriteLoadResult::OutOfFile, "part records out of file"},
        {"animation text past the end", Patched(goodBytes, 330, {0xFF, 0xFF}),
         SpriteLoadResult::OutOfFile, "text of animation 0 out of file"},
        {"texture records cut",
         std::vector<std::uint8_t>(goodBytes.begin(), goodBytes.begin() + 100),
         SpriteLoadResult::OutOfFile, "texture records out of file"},
        {"missing image",
         ContainerBytes(std::string(good).replace(good.find("sheet.png"), 9, "gone.png")),
         SpriteLoadResult::TextureFailed, "texture 0 \"gone.png\" not loaded"},
        {"texture path over 259 characters",
         ContainerBytes(std::string(good).replace(good.find("sheet.png"), 9, longName)),
         SpriteLoadResult::TextureFailed, "texture 0 path over 259 characters"},
        {"compiled code over 65536 bytes", ContainerBytes(tooMuchCode),
         SpriteLoadResult::CodeTooLarge, "animation code passes 65536 bytes at animation 1"},
    };
    const std::string path = WinPath("sprite\\bad.kra");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir_->writeFile("sprite/bad.kra", c.bytes);
        const std::string line = "ISprite::Load: " + path + ": " + c.reason;
        const int before = CountLogLines(line);
        auto* data = new SpriteData();
        EXPECT_EQ(LoadSpriteContainer(path.c_str(), data, nullptr), c.result);
        ISprite::ReleaseData(data);
        EXPECT_EQ(CountLogLines(line), before + 1);
        // Opening by name fails the same way and leaves no record, texture or sound.
        EXPECT_EQ(ISprite::Create("bad"), nullptr);
        EXPECT_TRUE(SpriteDataList().empty());
        EXPECT_TRUE(TextureList().empty());
        EXPECT_EQ(gDirectSound->SoundCount(), 0u);
        EXPECT_EQ(ISprite::Count(), 0u);
    }
    // The failed name is not remembered: once the file is good, it opens.
    dir_->writeFile("sprite/bad.kra", goodBytes);
    ISprite* sprite = ISprite::Create("bad");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->data->soundCount, 1);
    ISprite::Delete(sprite);
}

TEST_F(SpriteContainerTest, OpeningANameTwiceInAnyCaseSharesOneRecord) {
    WriteQuadrantSheet("shared.png");
    WriteContainer("stand/Pair",
                   "magic KRA2\n"
                   "texture 0 mode 0 \"..\\\\shared.png\"\n"
                   "animation 0 \"stand\" text \"p1\"\n");
    WriteContainer("stand/other",
                   "magic KRA2\n"
                   "texture 0 mode 3 \"..\\\\shared.png\"\n");
    ISprite* first = ISprite::Create("stand\\Pair");
    ASSERT_NE(first, nullptr) << "a parent step resolves against the container's folder";
    ISprite* second = ISprite::Create("STAND\\pair");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->data, second->data);
    EXPECT_EQ(SpriteDataList().size(), 1u);
    EXPECT_EQ(first->data->refCount, 2);
    ISprite* clone = second->Clone();
    EXPECT_EQ(first->data->refCount, 3);
    ISprite* other = ISprite::Create("stand\\other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->data->textures[0], first->data->textures[0]) << "one texture for one image";
    EXPECT_EQ(TextureList().size(), 1u);

    EXPECT_EQ(ISprite::Delete(first), 0);
    EXPECT_EQ(ISprite::Delete(second), 0);
    EXPECT_EQ(clone->data->refCount, 1);
    ISprite::Delete(clone);
    EXPECT_EQ(SpriteDataList().size(), 1u);
    ISprite::Delete(other);
    EXPECT_TRUE(SpriteDataList().empty());
    EXPECT_TRUE(TextureList().empty());
}

TEST_F(SpriteContainerTest, WithoutAnimationsAContainerLoadsButStartsNothing) {
    WriteContainer("still", "magic KRA2\nframes 1\n");
    ISprite* sprite = ISprite::Create("still");
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->data->animCode.empty());
    EXPECT_EQ(sprite->Start("stand", kSpriteVisible | kSpritePlaying, 0), 0);
    EXPECT_EQ(sprite->Step(20), 1);
    ISprite::Delete(sprite);
}

TEST_F(SpriteContainerTest, TheWalkOverEntriesStopsAtADamagedLength) {
    WriteContainer("walk",
                   "magic KRA2\n"
                   "animation 0 \"first\" text \"p1\"\n"
                   "animation 1 \"second\" text \"p2\"\n"
                   "animation 2 \"third\" text \"p3\"\n");
    ISprite* sprite = ISprite::Create("walk");
    ASSERT_NE(sprite, nullptr);
    std::vector<std::uint16_t>& code = sprite->data->animCode;
    AnimEntry entry;
    ASSERT_TRUE(ReadAnimEntry(code, 0, &entry));
    const std::uint32_t second = entry.words;
    EXPECT_EQ(sprite->Start("THIRD", kSpritePlaying, 0), 1);
    EXPECT_EQ(sprite->frame, 3u);

    code[second] = 0;  // a length of 0 would walk on the spot for ever
    EXPECT_EQ(sprite->Start("third", kSpritePlaying, 0), 0);
    code[second] = 0xFFFE;  // past the end of the code
    EXPECT_EQ(sprite->Start("third", kSpritePlaying, 0), 0);
    EXPECT_EQ(sprite->Start("first", kSpritePlaying, 0), 1);
    ISprite::Delete(sprite);
}

}  // namespace
}  // namespace sprite_tests
