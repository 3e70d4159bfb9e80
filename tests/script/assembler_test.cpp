// The text form: exact bytes, listings that assemble back to the same file, and clear errors.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script_test_support.h"
#include "tools/script/script_assembler.h"
#include "tools/script/script_dumper.h"
#include "tools/script/script_image.h"

namespace qvn::test {
namespace {

Bytes Assemble(const std::string& source) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(AssembleScript(source, "test", &bytes, &error)) << error;
    return bytes;
}

// Dumps `bytes` and assembles the listing again.
Bytes RoundTrip(const Bytes& bytes, std::string* listing) {
    std::string error;
    const std::optional<ScriptImage> image = ParseScriptImage(bytes, &error);
    EXPECT_TRUE(image.has_value()) << error;
    if (!image) {
        return {};
    }
    *listing = DumpScriptImage(*image);
    return Assemble(*listing);
}

TEST(ScriptAssemblerTest, WritesTheFileLayoutExactly) {
    const Bytes bytes = Assemble(R"(.globals 1 -1
.locals 2
*top
@loop
    push 0x10
    push l0
    add_assign
    jump @loop
    text "あ"
*end
)");
    const Bytes code = {0, 6,  0x10, 0, 0, 0, 0, 12, 0,    0,    0, 0,
                        2, 32, 4,    0, 0, 0, 0, 11, 0x82, 0xA0, 0};
    const Bytes expected =
        ScrFile({1, 0xFFFFFFFF}, {2}, code, {0}, Concat({Label("top", 0), Label("end", 23)}));
    EXPECT_EQ(bytes, expected);
}

TEST(ScriptAssemblerTest, ShorthandsExpandToPlainInstructions) {
    EXPECT_EQ(Assemble(".alias month g12\n    set month 4\n    invoke 3 \"bg\" 1.5 l0\n"
                       "    invoke 9\n"),
              Assemble(".alias month g12\n    push 4\n    push g12\n    assign\n    pop\n"
                       "    push \"bg\"\n    push 1.5\n    push l0\n    call 3 3\n    pop\n"
                       "    call 9 0\n    pop\n"));
}

TEST(ScriptAssemblerTest, NumbersAreDecimalUnlessHexadecimal) {
    EXPECT_EQ(Assemble("    push 010\n    push -0x10\n"), Assemble("    push 10\n    push -16\n"));
}

TEST(ScriptAssemblerTest, ListingsAssembleBackToTheSameBytes) {
    const std::string source = R"(.reserved 0x12345678
.globals 0 1 2 3 4 5 6 7 8 9
.locals 0 -5
.alias day g14
* "two words"
*top
    push 7
    push -2147483648
    push 1.5
    push -0.0
    push 3.40282347e+38
    push float(0x7FC00001)
    push "tab\there \"q\" \\ \x81\x20 \xFF end"
    push day
    push l1
    pop
    postinc
    postdec
    preinc
    predec
    plus
    neg
    not
    bitnot
    cast bool
    cast char
    cast uchar
    cast short
    cast ushort
    cast int
    cast long
    cast ulong
    cast float
    mul
    div
    mod
    add
    sub
    shl
    shr
    lt
    gt
    le
    ge
    eq
    ne
    and
    xor
    or
    assign
    mul_assign
    div_assign
    mod_assign
    add_assign
    sub_assign
    shl_assign
    shr_assign
    and_assign
    or_assign
    xor_assign
@a
    jump @a
    fjump @b
    tjump @a
    ejump #7
@b
    goto "top"
    goto ""
    jumpfile "*" "top"
    callfile "other" "日本語ラベル"
    text "こんにちは、世界。\n"
    call 4294967295 255
    return
*end
)";
    const Bytes original = Assemble(source);
    std::string listing;
    EXPECT_EQ(RoundTrip(original, &listing), original) << listing;
    EXPECT_NE(listing.find("\"tab\\there \\\"q\\\" \\\\ \\x81  \\xFF end\""), std::string::npos)
        << listing;
    EXPECT_NE(listing.find("callfile \"other\" \"日本語ラベル\""), std::string::npos) << listing;
}

TEST(ScriptAssemblerTest, UnusualFilesStillRoundTrip) {
    std::string error;
    ScriptImage image = *ParseScriptImage(Assemble("    push 1\n    pop\n    return\n"), &error);
    // Labels out of order and inside an instruction, jump entries that are no boundaries,
    // bytes the loader ignores, and code that does not decode.
    image.labels = {{"z", 6}, {"a", 2}, {"", 7}, {"\xFF\x01", 100}};
    image.jumpTable = {3, 0, 0, 1000};
    image.globalsExtra = {1, 2};
    image.localsExtra = {3};
    image.jumpTableExtra = {4, 5, 6};
    image.labelsExtra = {'x'};
    image.tail = {9, 9};
    image.code.insert(image.code.end(), {2, 25, 0, 7, 13});
    const Bytes bytes = WriteScriptImage(image);
    std::string listing;
    EXPECT_EQ(RoundTrip(bytes, &listing), bytes) << listing;

    image.labels = {{"a", 0}, {"a", 0}, {"b c", 6}};
    image.code = {0, 6, 1, 0, 0, 0, 1};
    const Bytes sorted = WriteScriptImage(image);
    EXPECT_EQ(RoundTrip(sorted, &listing), sorted) << listing;
    EXPECT_NE(listing.find("\n* \"b c\"\n"), std::string::npos) << listing;

    // Two table entries at one position: only a jump through the first may name the anchor.
    ScriptImage twice = *ParseScriptImage(Assemble("@a\n    jump @a\n    jump #1\n"), &error);
    twice.jumpTable = {0, 0};
    const Bytes shared = WriteScriptImage(twice);
    EXPECT_EQ(RoundTrip(shared, &listing), shared) << listing;
    EXPECT_NE(listing.find("jump #1"), std::string::npos) << listing;
}

TEST(ScriptAssemblerTest, ErrorsNameTheLine) {
    struct Case {
        const char* source;
        const char* error;
    };
    const Case cases[] = {
        {"    bogus", "test:1: unknown instruction: bogus"},
        {"\n    jump @nowhere", "test:2: undefined anchor: @nowhere"},
        {"    push 4294967296", "test:1: not a 32-bit number: 4294967296"},
        {"    text \"open", "test:1: a quoted text is not closed"},
        {"    text \"\\x00\"", "test:1: a text cannot hold \\x00"},
        {"    text \"\\q\"", "test:1: unknown escape \\q"},
        {"    text \"😀\"", "test:1: text does not convert to Shift-JIS: 😀"},
        {"    call 1 256", "test:1: a call takes at most 255 arguments"},
        {"    cast double", "test:1: unknown cast type: double"},
        {"@a\n@a", "test:2: anchor defined twice: @a"},
        {".extra code 00", "test:1: unknown section: code"},
        {".bytes 100", "test:1: a hexadecimal byte is expected, not \"100\""},
        {"    pop 1", "test:1: pop takes 0 operand(s)"},
        {"    set g1", "test:1: set takes 2 operand(s)"},
        {"    invoke", "test:1: invoke takes a function number and its arguments"},
    };
    for (const Case& c : cases) {
        Bytes bytes;
        std::string error;
        EXPECT_FALSE(AssembleScript(c.source, "test", &bytes, &error)) << c.source;
        EXPECT_EQ(error, c.error);
    }
}

TEST(ScriptDumperTest, StateBlockListing) {
    const Bytes block = {44,   0,   0, 0, 'S', 'C', 'R', 'M', 1, 0, 0,  0,    0xFF, 0xFF, 0xFF,
                         0xFF, 1,   0, 0, 0,   1,   0,   0,   0, 7, 10, 0xFF, 0xFF, 0xFF, 0xFF,
                         'h',  'i', 0, 1, 0,   0,   0,   'a', 0, 2, 0,  0,    0,    1};
    std::string error;
    EXPECT_EQ(DumpStateBlock(block, &error),
              "size 44 (44 bytes present)\n"
              "variables 1\n"
              "  var 0 -1\n"
              "globals 1\n"
              "operands 1\n"
              "  operand class 7 type 10 payload 0xFFFFFFFF text \"hi\"\n"
              "frames 1\n"
              "  frame \"a\" pos 0x00000002\n"
              "wait 1\n");
    Bytes cut(block.begin(), block.end() - 3);
    EXPECT_EQ(DumpStateBlock(cut, &error), "");
    EXPECT_EQ(error, "a frame runs past the end");
}

}  // namespace
}  // namespace qvn::test
