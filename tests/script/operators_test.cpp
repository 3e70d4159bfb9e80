// Operators, casts and assignments, run as assembled scripts: each snippet leaves one value
// that built-in call 99 shows (i:N, f:X, v:INDEX or void).

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script/call_stack.h"
#include "script/interpreter.h"
#include "script/script_variables.h"
#include "script_test_support.h"
#include "tools/script/script_trace.h"

namespace qvn::test {
namespace {

// '|' separates lines.
std::string Lines(std::string text) {
    for (char& c : text) {
        if (c == '|') {
            c = '\n';
        }
    }
    return text + "\n";
}

class OperatorTest : public ScriptVmTest {
protected:
    // Runs the snippet with globals g0..g3 = 10, 0, -1, 300 and returns what call 99 saw.
    std::string Evaluate(const std::string& snippet, std::vector<std::string>* log = nullptr) {
        ScriptTracer tracer;
        tracer.Install();
        WriteScript("t", ".globals 10 0 -1 300\n" + Lines(snippet) + "    call 99 1\n    pop\n");
        EXPECT_TRUE(Load(ScriptPath("t").c_str(), nullptr));
        tracer.ClearOutput();
        const auto lines = CaptureLog([] { RunScripts(0.0f); });
        if (log != nullptr) {
            *log = lines;
        }
        const std::string& out = tracer.output();
        const std::size_t at = out.find("call 99 ");
        if (at == std::string::npos) {
            return "(no call) " + out;
        }
        return out.substr(at + 8, out.find('\n', at) - at - 8);
    }
};

struct OperatorCase {
    const char* name;
    const char* snippet;
    const char* expected;
};

class OperatorTableTest : public OperatorTest,
                          public ::testing::WithParamInterface<OperatorCase> {};

TEST_P(OperatorTableTest, GivesTheExpectedValue) {
    std::vector<std::string> log;
    EXPECT_EQ(Evaluate(GetParam().snippet, &log), GetParam().expected);
    for (const std::string& line : log) {
        EXPECT_EQ(line.find("error"), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operators, OperatorTableTest,
    ::testing::Values(
        // Division and remainder truncate toward zero.
        OperatorCase{"Div", "push 7|push 2|div", "i:3"},
        OperatorCase{"DivNegLeft", "push -7|push 2|div", "i:-3"},
        OperatorCase{"DivNegRight", "push 7|push -2|div", "i:-3"},
        OperatorCase{"DivNegBoth", "push -7|push -2|div", "i:3"},
        OperatorCase{"ModNegLeft", "push -7|push 2|mod", "i:-1"},
        OperatorCase{"ModNegRight", "push 7|push -2|mod", "i:1"},
        OperatorCase{"ModNegBoth", "push -7|push -2|mod", "i:-1"},
        OperatorCase{"ModMinByMinusOne", "push -2147483648|push -1|mod", "i:0"},
        OperatorCase{"FloatDiv", "push 7.0|push 2|div", "f:3.5"},
        OperatorCase{"FloatModTruncates", "push 7.5|push 2|mod", "f:1"},
        OperatorCase{"IntTimesFloat", "push 3|push 0.5|mul", "f:1.5"},
        OperatorCase{"FloatMinus", "push 1|push 2.25|sub", "f:-1.25"},
        // Shifts count modulo 32; >> is arithmetic.
        OperatorCase{"ShrNegative", "push -8|push 1|shr", "i:-4"},
        OperatorCase{"ShlWraps", "push 1|push 33|shl", "i:2"},
        OperatorCase{"ShlIntoSign", "push 1|push 31|shl", "i:-2147483648"},
        OperatorCase{"ShrByRef", "push -1|push g0|shr", "i:-1"},
        OperatorCase{"FloatShift", "push 2.9|push 2|shl", "f:8"},
        // 32-bit wrap-around.
        OperatorCase{"AddWraps", "push 2147483647|push 1|add", "i:-2147483648"},
        OperatorCase{"MulWraps", "push 65536|push 65536|mul", "i:0"},
        OperatorCase{"NegMin", "push -2147483648|neg", "i:-2147483648"},
        // Comparisons are signed and give a bool.
        OperatorCase{"LessSigned", "push -1|push 1|lt", "i:1"},
        OperatorCase{"GreaterEqual", "push 3|push 3|ge", "i:1"},
        OperatorCase{"NotEqualRef", "push g3|push 300|ne", "i:0"},
        OperatorCase{"FloatCompare", "push 1|push 1.5|lt", "i:1"},
        OperatorCase{"BitOps", "push 12|push 10|and|push 1|or|push 3|xor", "i:10"},
        // A string takes part as -1; void makes void.
        OperatorCase{"StringIsMinusOne", "push \"abc\"|push 1|add", "i:0"},
        OperatorCase{"VoidOperand", "call 5 0|push 1|add", "void"},
        // Unary operators.
        OperatorCase{"PlusOfRef", "push g3|plus", "i:300"},
        OperatorCase{"MinusOfFloat", "push 2.5|neg", "f:-2.5"},
        OperatorCase{"NotOfZero", "push 0|not", "i:1"},
        OperatorCase{"NotOfFloat", "push 0.5|not", "i:0"},
        OperatorCase{"BitNotOfFloat", "push 2.5|bitnot", "f:-3"},
        OperatorCase{"BitNotOfRef", "push g1|bitnot", "i:-1"},
        OperatorCase{"PostIncGivesOld", "push g0|postinc|pop|push g0|postinc", "i:11"},
        OperatorCase{"PreIncKeepsRef", "push g0|preinc", "v:0"},
        OperatorCase{"PreDecOfValue", "push 4|predec", "void"},
        // Casts.
        OperatorCase{"IntToChar", "push 200|cast char", "i:-56"},
        OperatorCase{"IntToUChar", "push 300|cast uchar", "i:44"},
        OperatorCase{"IntToUShort", "push -1|cast ushort", "i:65535"},
        OperatorCase{"IntToShort", "push 40000|cast short", "i:-25536"},
        OperatorCase{"IntToBool", "push 256|cast bool", "i:1"},
        OperatorCase{"CharToFloatSigned", "push 200|cast char|cast float", "f:-56"},
        OperatorCase{"ULongToFloat", "push -1|cast ulong|cast float", "f:4.2949673e+09"},
        OperatorCase{"FloatToInt", "push -2.9|cast int", "i:-2"},
        OperatorCase{"FloatToUChar", "push 300.5|cast uchar", "i:44"},
        OperatorCase{"FloatToBool", "push 0.25|cast bool", "i:1"},
        OperatorCase{"NaNToInt", "push float(0x7FC00000)|cast int", "i:-2147483648"},
        OperatorCase{"HugeFloatToInt", "push 1e10|cast long", "i:-2147483648"},
        OperatorCase{"RefToLongStaysRef", "push g3|cast long", "v:3"},
        OperatorCase{"RefToChar", "push g3|cast char", "i:44"},
        OperatorCase{"RefToFloat", "push g2|cast float", "f:-1"},
        OperatorCase{"StringCastIsVoid", "push \"x\"|cast int", "void"}),
    [](const ::testing::TestParamInfo<OperatorCase>& tested) { return tested.param.name; });

TEST_F(OperatorTest, DivisionFaultsGiveZeroAndAnErrorLine) {
    struct Case {
        const char* snippet;
        const char* logged;
    };
    const Case cases[] = {
        {"push 5|push 0|div", "scrMain:error: RunCode: ope(2:10) division by zero."},
        {"push 5|push 0|mod", "scrMain:error: RunCode: ope(2:11) division by zero."},
        {"push 5.5|push 0.25|mod", "scrMain:error: RunCode: ope(2:11) division by zero."},
        {"push -2147483648|push -1|div", "scrMain:error: RunCode: ope(2:10) overflow."},
        {"push 0|push g0|div_assign", "scrMain:error: RunCode: ope(2:30) division by zero."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.snippet);
        std::vector<std::string> log;
        const std::string value = Evaluate(c.snippet, &log);
        EXPECT_TRUE(value == "i:0" || value == "f:0" || value == "v:0") << value;
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind(c.logged, 0), 0u) << log[0];
    }
}

struct AssignCase {
    const char* name;
    const char* snippet;  // ends with the variable g1 (initially 0) written
    std::int32_t stored;
};

class AssignmentTest : public OperatorTest, public ::testing::WithParamInterface<AssignCase> {};

TEST_P(AssignmentTest, StoresTheWordAndLeavesTheReference) {
    const std::string shown = Evaluate(std::string(GetParam().snippet));
    EXPECT_EQ(static_cast<std::int32_t>(GetVar(1)), GetParam().stored);
    EXPECT_EQ(shown, "v:1");
}

INSTANTIATE_TEST_SUITE_P(
    Assignments, AssignmentTest,
    ::testing::Values(
        AssignCase{"Int", "push 42|push g1|assign", 42},
        AssignCase{"FloatTruncates", "push 2.9|push g1|assign", 2},
        AssignCase{"NegativeFloatTruncates", "push -2.9|push g1|assign", -2},
        AssignCase{"StringLength", "push \"abc\"|push g1|assign", 3},
        AssignCase{"CharSignExtends", "push 200|cast char|push g1|assign", -56},
        AssignCase{"UShortZeroExtends", "push -1|cast ushort|push g1|assign", 65535},
        AssignCase{"Reference", "push g3|push g1|assign", 300},
        AssignCase{"MulAssign", "push 7|push g1|assign|pop|push 6|push g1|mul_assign", 42},
        AssignCase{"DivAssign", "push -7|push g1|assign|pop|push 2|push g1|div_assign", -3},
        AssignCase{"ModAssign", "push -7|push g1|assign|pop|push 2|push g1|mod_assign", -1},
        AssignCase{"AddAssign", "push 5|push g1|add_assign", 5},
        AssignCase{"AddAssignFloat", "push 5|push g1|assign|pop|push 1.75|push g1|add_assign", 6},
        AssignCase{"SubAssign", "push 5|push g1|sub_assign", -5},
        AssignCase{"ShlAssign", "push 3|push g1|assign|pop|push 4|push g1|shl_assign", 48},
        AssignCase{"ShrAssign", "push -64|push g1|assign|pop|push 3|push g1|shr_assign", -8},
        AssignCase{"AndAssign", "push 12|push g1|assign|pop|push 10|push g1|and_assign", 8},
        AssignCase{"OrAssign", "push 12|push g1|assign|pop|push 3|push g1|or_assign", 15},
        AssignCase{"XorAssign", "push 12|push g1|assign|pop|push 10|push g1|xor_assign", 6}),
    [](const ::testing::TestParamInfo<AssignCase>& tested) { return tested.param.name; });

TEST_F(OperatorTest, AssignmentWithoutAReferenceOrValueStoresNothing) {
    EXPECT_EQ(Evaluate("push 5|push 7|assign"), "void");
    EXPECT_EQ(Evaluate("call 5 0|push g1|assign"), "void");
    EXPECT_EQ(GetVar(1), 0u);
}

TEST_F(OperatorTest, IncrementsWriteTheVariable) {
    EXPECT_EQ(Evaluate("push g2|postinc|pop|push g2|preinc|pop|push g2|predec|pop|push g2|"
                       "postdec|pop|push g2|postinc|pop|push g2|cast int"),
              "i:0");
}

}  // namespace
}  // namespace qvn::test
