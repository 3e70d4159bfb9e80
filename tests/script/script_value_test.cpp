// Typed getters of ScriptValue and the reusable-slot operand stack.

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "script/operand_stack.h"
#include "script/script_value.h"
#include "script/script_variables.h"
#include "script_test_support.h"

namespace qvn::test {
namespace {

using ScriptValueTest = ScriptVmTest;

TEST_F(ScriptValueTest, GettersReadThePayloadOrTheReferencedVariable) {
    ScriptVariables = {300, 0xFFFF8001u};
    const ScriptValue floatValue = ScriptValue::MakeFloat(1.5f);
    const ScriptValue longValue = ScriptValue::MakeLong(3);
    const ScriptValue reference = ScriptValue::MakeReference(0);
    const ScriptValue negative = ScriptValue::MakeReference(1);

    EXPECT_EQ(floatValue.GetLong(), 0x3FC00000);  // no conversion: the float's bits
    EXPECT_EQ(longValue.GetFloat(), static_cast<double>(BitsToFloat(3)));
    EXPECT_EQ(reference.GetUChar(), 44);
    EXPECT_EQ(reference.GetChar(), 44);
    EXPECT_EQ(reference.GetFloat(), 300.0);
    EXPECT_TRUE(reference.GetBool());
    EXPECT_EQ(reference.GetPayload(), 0u);
    EXPECT_EQ(reference.GetString(), nullptr);
    EXPECT_EQ(negative.GetShort(), -32767);
    EXPECT_EQ(negative.GetUShort(), 0x8001);
    EXPECT_EQ(negative.GetFloat(), -32767.0);
    EXPECT_STREQ(longValue.GetString(), "");
    EXPECT_FALSE(ScriptValue::MakeInt(0x100).GetBool());  // the low byte only
    EXPECT_EQ(ScriptValue::MakeChar(-2).GetULong(), 0xFFFFFFFEu);
    EXPECT_EQ(ScriptValue::MakeUShort(0xFFFF).GetLong(), 0xFFFF);
    EXPECT_STREQ(ScriptValue::MakeString("abc").GetString(), "abc");
    EXPECT_EQ(ScriptValue::MakeString("abc").GetLong(), -1);
}

TEST_F(ScriptValueTest, OperandsDecodeWithTheirWidths) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::size_t length;
        std::uint32_t type;
        std::uint32_t payload;
    };
    const Case cases[] = {
        {{1, 5, 0, 0, 0}, 5, kScriptBool, 1},
        {{2, 0xFE}, 2, kScriptChar, 0xFFFFFFFEu},
        {{3, 0xFE}, 2, kScriptUChar, 0xFE},
        {{4, 0x01, 0x80}, 3, kScriptShort, 0xFFFF8001u},
        {{5, 0x01, 0x80}, 3, kScriptUShort, 0x8001},
        {{9, 0, 0, 0xC0, 0x3F}, 5, kScriptFloat, 0x3FC00000},
        {{11, 7, 0, 0, 0}, 5, kScriptVarRef, 7},
        {{12, 7, 0, 0, 0}, 5, kScriptVarRef, 107},  // a local: the frame's base is added
        {{10, 'h', 'i', 0}, 4, kScriptString, 0xFFFFFFFFu},
        {{6, 1, 2, 3}, 0, kScriptVoid, 0xFFFFFFFFu},    // cut short
        {{10, 'h', 'i'}, 0, kScriptVoid, 0xFFFFFFFFu},  // no terminator
        {{13, 1, 2, 3, 4}, 1, kScriptVoid, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        ScriptValue value;
        EXPECT_EQ(ScriptValue::FromOperand(c.bytes.data(), c.bytes.size(), 100, &value), c.length)
            << int(c.bytes[0]);
        EXPECT_EQ(value.type, c.type) << int(c.bytes[0]);
        EXPECT_EQ(value.payload, c.payload) << int(c.bytes[0]);
    }
}

TEST(OperandStackTest, SlotsAreReusedAndKeepOldContents) {
    ScriptValueStack stack;
    stack.push(ScriptValue::MakeLong(1));
    stack.push(ScriptValue::MakeLong(2));
    stack.pop(2);
    stack.push(ScriptValue::MakeString("s"));
    EXPECT_EQ(stack.size(), 1u);
    EXPECT_EQ(stack.nth(1).text, "s");
    stack.pushSlot();
    EXPECT_EQ(stack.nth(1).payload, 2u);  // the second slot kept its value
    stack.pop(5);
    EXPECT_TRUE(stack.empty());
    stack.clear();
    EXPECT_EQ(stack.size(), 0u);
}

}  // namespace
}  // namespace qvn::test
