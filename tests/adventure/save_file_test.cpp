// Save files byte for byte: the header, the state of a running game (its "SCRM" block and the
// mode bytes) and the scrambling of whole words; and every damaged file refused with its box and
// log line while the game that runs goes on.

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/save_file.h"
#include "adventure/save_game.h"
#include "adventure/save_slot_table.h"
#include "adventure/save_texts.h"
#include "foundation/byte_reader.h"
#include "foundation/path.h"
#include "platform/winbase/test_hooks.h"
#include "save_fixture.h"
#include "script/call_stack.h"
#include "script/script_value.h"

namespace adventure_tests {
namespace {

class SaveFileTest : public SaveTest {};

std::vector<std::uint8_t> Hex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at + 1 < text.size(); at += 3) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(at, 2), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> Counting(std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}

TEST_F(SaveFileTest, HeaderAndStateByteForByteWithAndWithoutAKey) {
    struct Case {
        const char* name;
        std::uint32_t key;
        std::vector<std::uint8_t> state;
        std::vector<std::uint8_t> stored;
    };
    const Case cases[] = {
        {"no key: the state stored plain", 0, Counting(11), Counting(11)},
        {"key 0x80000000: each whole word scrambled (the high bit turned round into the low), "
         "the last three bytes plain",
         0x80000000u, Counting(11), Hex("01 01 02 83 07 05 06 87 08 09 0a")},
        {"seven bytes: one word scrambled, three plain", 0x12345678u, Counting(7),
         Hex("68 02 9f 35 04 05 06")},
        {"no state", 0x12345678u, {}, {}},
    };
    const std::string title = Sjis("駅にて");
    int slot = 0;
    for (const Case& c : cases) {
        gSaveRecord = SaveRecord{};
        SetSaveText(gSaveRecord.title, kSaveTitleSize, title.c_str());
        SetSaveText(gSaveRecord.resumeLabel, kSaveLabelSize, "middle");
        gSaveRecord.scrambleKey = c.key;
        gSaveRecord.state = c.state;
        if (c.state.empty()) {
            EXPECT_FALSE(SaveToSlot(kSaveSlotCommand + slot)) << c.name;
            EXPECT_FALSE(SlotExists(slot)) << c.name << ": nothing written";
            EXPECT_TRUE(HasLogLineStarting("saveload:SaveToSlot: error. no game data"));
            const auto boxes = Boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, kSaveFailedText);
            EXPECT_EQ(boxes[0].caption, kWarningCaption);
            continue;
        }
        ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + slot)) << c.name;
        std::vector<std::uint8_t> expected;
        PutWord(expected, 112 + static_cast<std::uint32_t>(c.state.size()));
        PutWord(expected, 1);
        PutText(expected, title, 64);
        PutText(expected, "middle", 32);
        PutWord(expected, c.key);
        PutWord(expected, static_cast<std::uint32_t>(c.state.size()));
        expected.insert(expected.end(), c.stored.begin(), c.stored.end());
        EXPECT_EQ(SlotBytes(slot), expected) << c.name;
        EXPECT_EQ(gSaveRecord.state, c.state) << c.name << ": the record stays plain";
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name << ": no question for an empty slot";
        EXPECT_EQ(boxes[0].text, kSavedText);
        EXPECT_EQ(boxes[0].caption, kReportCaption);

        SaveRecord read;
        ASSERT_TRUE(ReadSaveFile(&read, GetPath(PathKind::Save, slot))) << c.name;
        EXPECT_EQ(read.word0, expected.size());
        EXPECT_EQ(std::string(read.title), title);
        EXPECT_EQ(std::string(read.resumeLabel), "middle");
        EXPECT_EQ(read.scrambleKey, c.key);
        ScrambleState(read.state, read.scrambleKey);
        EXPECT_EQ(read.state, c.state) << c.name << ": unscrambled it is the state again";
        ++slot;
    }
}

TEST_F(SaveFileTest, SavePointStoresTheRunningGame) {
    PlayToSavePoint();
    const std::vector<std::uint8_t> file = SlotBytes(20);
    ByteReader reader(file.data(), file.size());
    EXPECT_EQ(reader.U32(), file.size());
    EXPECT_EQ(reader.U32(), 1u);
    EXPECT_EQ(reader.FixedString(64), Sjis("0月 0週 平日 駅にて"));
    EXPECT_EQ(reader.FixedString(32), "middle") << "the label before the save point";
    EXPECT_EQ(reader.U32(), 0u) << "no key";
    EXPECT_EQ(reader.U32(), file.size() - 112);

    // The "SCRM" block: 21 globals and the locals of "start" (7, 8) and "scene" (-2).
    const std::size_t blockStart = reader.Position();
    const std::uint32_t blockSize = reader.U32();
    EXPECT_EQ(reader.U32(), 0x4D524353u);
    ASSERT_EQ(reader.U32(), 24u);
    std::vector<std::uint32_t> variables(24);
    for (std::uint32_t& word : variables) {
        word = reader.U32();
    }
    std::vector<std::uint32_t> expected(21, 0);
    expected[0] = 100;
    expected[3] = 5;
    expected.insert(expected.end(), {7, 8, 0xFFFFFFFEu});
    EXPECT_EQ(variables, expected);
    EXPECT_EQ(reader.U32(), 21u) << "globals";
    ASSERT_EQ(reader.U32(), 1u) << "the save point's argument on the operand stack";
    EXPECT_EQ(reader.U8(), kClassInteger);
    EXPECT_EQ(reader.U8(), kScriptString);
    reader.U32();
    EXPECT_EQ(reader.TerminatedString(64), Sjis("駅にて"));
    ASSERT_EQ(reader.U32(), 2u) << "frames";
    EXPECT_EQ(reader.TerminatedString(512), GetPath(PathKind::Script, "start"));
    reader.U32();
    EXPECT_EQ(reader.TerminatedString(512), GetPath(PathKind::Script, "scene"));
    reader.U32();
    EXPECT_EQ(reader.U8(), 0) << "wait flag";
    EXPECT_EQ(reader.Position() - blockStart, blockSize);
    // The mode stack: None under Adventure, bottom first.
    EXPECT_EQ(reader.U32(), 2u);
    EXPECT_EQ(reader.U8(), kGameModeNone);
    EXPECT_EQ(reader.U8(), kGameModeAdventure);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_TRUE(reader.Ok());
}

TEST_F(SaveFileTest, DamagedSavesAreRefusedAndTheGameGoesOn) {
    PlayToSavePoint();
    const std::vector<std::uint8_t> plain = gSaveRecord.state;
    gSaveRecord.scrambleKey = 0x5A5A1234u;
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 3));
    const std::vector<std::uint8_t> scrambled = SlotBytes(3);
    gSaveRecord.scrambleKey = 0;
    Boxes();
    const std::string running = CurrentScriptName();
    const std::uint32_t position = CurrentFrame()->pos;

    // The game that runs goes on: same frame, same page, the box said why.
    const auto expectRefused = [&](const std::string& name) {
        LoadGameData(kLoadSlotCommand + 3);
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u) << name;
        EXPECT_EQ(boxes[0].text, kLoadFailedText) << name;
        EXPECT_EQ(boxes[0].caption, kWarningCaption) << name;
        ASSERT_EQ(ScriptCallStack.size(), 2u) << name;
        EXPECT_EQ(CurrentScriptName(), running) << name;
        EXPECT_EQ(CurrentFrame()->pos, position) << name;
        EXPECT_EQ(PageWait, 1) << name;
        EXPECT_EQ(GameMode, kGameModeAdventure) << name;
    };
    for (std::size_t length = 0; length < scrambled.size(); ++length) {
        WriteSlotBytes(3, std::vector<std::uint8_t>(scrambled.begin(), scrambled.begin() + length));
        expectRefused("truncated to " + std::to_string(length) + " bytes");
    }
    const std::string path = GetPath(PathKind::Save, 3);
    EXPECT_TRUE(HasLogLineStarting("saveload:ReadSaveFile: error. size(" +
                                   std::to_string(scrambled.size() - 1) + ") state(" +
                                   std::to_string(scrambled.size() - 112) + ") \"" + path + "\""));

    // Damaged states behind a sound header (no key, so that the bytes are those named).
    const std::size_t blockSize = plain[0] | (plain[1] << 8);
    const auto setWord = [](std::vector<std::uint8_t>& state, std::size_t at, std::uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            state[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
        }
    };
    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> spoil;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"the block's size past the state",
         [&](auto& s) { setWord(s, 0, static_cast<std::uint32_t>(s.size() + 1)); },
         "scrMain:error: SetData: invalid arg."},
        {"a block of 20 bytes", [&](auto& s) { setWord(s, 0, 20); },
         "scrMain:error: SetData: invalid arg. size(20)"},
        {"a bad magic", [&](auto& s) { s[4] = 'X'; }, "scrMain:error: SetData: invalid header."},
        {"a variable count past the block", [&](auto& s) { setWord(s, 8, 0x10000000u); },
         "scrMain:error: SetData: invalid arg."},
        {"a block size that cuts the frames short",
         [&](auto& s) { setWord(s, 0, static_cast<std::uint32_t>(blockSize - 8)); },
         "scrMain:error: SetData: invalid arg."},
        {"no modes",
         [&](auto& s) {
             s.resize(blockSize + 4);
             setWord(s, blockSize, 0);
         },
         "script:SetScriptData: error. modes(0)"},
        {"fewer mode bytes than counted", [&](auto& s) { setWord(s, blockSize, 3); },
         "script:SetScriptData: error. modes(3)"},
        {"no mode count", [&](auto& s) { s.resize(blockSize); },
         "script:SetScriptData: error. modes(0)"},
        {"scrambled while the header holds no key", [&](auto& s) { ScrambleState(s, 77); },
         "scrMain:error: SetData: invalid"},
        {"no script frame",
         [&](auto& s) {
             // 24 variables, 21 globals, no operands, no frames, the wait flag; one mode.
             std::vector<std::uint8_t> block(s.begin(), s.begin() + 4 + 4 + 4 + 24 * 4 + 4);
             PutWord(block, 0);
             PutWord(block, 0);
             block.push_back(0);
             setWord(block, 0, static_cast<std::uint32_t>(block.size()));
             PutWord(block, 1);
             block.push_back(kGameModeNone);
             s = block;
         },
         "script:SetScriptData: error. no script frame"},
    };
    for (const Case& c : cases) {
        SaveRecord record;
        SetSaveText(record.title, kSaveTitleSize, "x");
        record.state = plain;
        c.spoil(record.state);
        ASSERT_TRUE(WriteSaveFile(record, GetPath(PathKind::Save, 3)));
        expectRefused(c.name);
        EXPECT_TRUE(HasLogLineStarting(c.line)) << c.name;
        EXPECT_TRUE(HasLogLineStarting("saveload:LoadGameData: error. SetScriptData")) << c.name;
        EXPECT_TRUE(HasLogLineStarting("saveload:LoadGameData: error. the game saved in \"" + path +
                                       "\" cannot be restored"))
            << c.name;
    }
}

// A state holds at most kMaxSaveStateSize bytes: one that large saves and loads back, a larger
// one is never written, and a file that claims one is refused from its header alone, however
// large the file (a sparse one of 3 GiB whose header is sound): only its header is read, and the
// load's box shows.
TEST_F(SaveFileTest, StatesAreBoundedAndAFileClaimingMoreIsRefusedUnread) {
    const std::string path = GetPath(PathKind::Save, 6);
    const auto tooLarge = [&](std::uint64_t length, const char* function) {
        return "saveload:" + std::string(function) + ": error. state(" + std::to_string(length) +
               ") larger than 16777216 bytes \"" + path + "\"";
    };
    ASSERT_EQ(kMaxSaveStateSize, 16u << 20);
    gSaveRecord = SaveRecord{};
    SetSaveText(gSaveRecord.title, kSaveTitleSize, "large");
    gSaveRecord.state.assign(kMaxSaveStateSize + 1, 0x5A);
    EXPECT_FALSE(SaveToSlot(kSaveSlotCommand + 6));
    EXPECT_FALSE(SlotExists(6));
    EXPECT_TRUE(HasLogLineStarting(tooLarge(kMaxSaveStateSize + 1, "WriteSaveFile")));
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kSaveFailedText);
    gSaveRecord.state.pop_back();
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 6));
    Boxes();
    SaveRecord read;
    ASSERT_TRUE(ReadSaveFile(&read, path.c_str()));
    EXPECT_EQ(read.state, gSaveRecord.state);

    struct Case {
        const char* name;
        std::uint32_t length;     // n of the header
        std::uint64_t fileBytes;  // the file's size: past the header it is sparse
    };
    constexpr std::uint64_t kThreeGiB = 3ull << 30;
    const Case cases[] = {
        {"one byte more, the file no longer than its header", kMaxSaveStateSize + 1, 112},
        {"a sound header on 3 GiB", static_cast<std::uint32_t>(kThreeGiB - 112), kThreeGiB},
        {"all ones", 0xFFFFFFFFu, 4096},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> header;
        PutWord(header, static_cast<std::uint32_t>(c.fileBytes));
        PutWord(header, 1);
        PutText(header, "large", 64);
        PutText(header, "middle", 32);
        PutWord(header, 0);
        PutWord(header, c.length);
        WriteSlotBytes(6, header);
        ASSERT_EQ(
            ::truncate((dir_->path() + "/" + SlotPath(6)).c_str(), static_cast<off_t>(c.fileBytes)),
            0)
            << c.name;
        const std::uint64_t readBefore = win32_test::BytesRead();
        LoadGameData(kLoadSlotCommand + 6);
        EXPECT_EQ(win32_test::BytesRead() - readBefore, kSaveFileHeaderSize) << c.name;
        boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].text, kLoadFailedText) << c.name;
        EXPECT_TRUE(HasLogLineStarting(tooLarge(c.length, "ReadSaveFile"))) << c.name;
    }
}

TEST_F(SaveFileTest, StateWhoseScriptIsGoneRestartsTheGame) {
    PlayToSavePoint();
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 4));
    Boxes();
    dir_->writeFile("script/scene.scr", std::string());
    std::remove((dir_->path() + "/script/scene.scr").c_str());
    LoadGameData(kLoadSlotCommand + 4);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kLoadFailedText);
    EXPECT_TRUE(HasLogLineStarting("saveload:LoadGameData: error. SetScriptData"));
    for (int i = 0; i < 3; ++i) {
        Frame();
    }
    EXPECT_EQ(Var(4), 77) << "\"start\" runs from \"restart\"";
    ASSERT_EQ(ScriptCallStack.size(), 1u);
    EXPECT_TRUE(gSaveRecord.state.empty()) << "the game that cannot run is not offered to save";
}

}  // namespace
}  // namespace adventure_tests
