// The "SCRM" state block: round trips, damaged blocks, partial restores and resuming a run.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/interpreter.h"
#include "script/operand_stack.h"
#include "script/script_variables.h"
#include "script/vm_state.h"
#include "script_test_support.h"
#include "tools/script/script_trace.h"

namespace qvn::test {
namespace {

class VmStateTest : public ScriptVmTest {
protected:
    void SetUp() override {
        ScriptVmTest::SetUp();
        WriteScript("global", ".globals 1 2 3\n");
        ASSERT_TRUE(LoadGlobal(ScriptPath("global").c_str()));
        WriteScript("outer", R"(.locals 10 11
*top
    callfile "inner" "in"
    return
)");
        WriteScript("inner", R"(.locals 20 21 22
*in
    push 5
    call 28 1
    pop
    return
)");
    }

    // Loads outer, runs into inner's waiting call and leaves operands behind.
    void StartNestedRun(ScriptTracer& tracer) {
        tracer.Install();
        ASSERT_TRUE(Load(ScriptPath("outer").c_str(), "top"));
        RunScripts(0.0f);
        ASSERT_EQ(ScriptCallStack.size(), 2u);
        ASSERT_EQ(ScriptWaitFlag, 1);
        const std::uint32_t marker = 99;
        SetVar(6, &marker);  // inner's l1
        SetVar(3, &marker);  // outer's l0
        OperandStack.push(ScriptValue::MakeString("kept"));
    }
};

TEST_F(VmStateTest, FullRestoreGivesBackTheWholeState) {
    ScriptTracer tracer({28});
    StartNestedRun(tracer);
    Bytes block;
    ASSERT_TRUE(CScript::GetData(block));
    const std::vector<std::uint32_t> variables = ScriptVariables;

    ScriptVmReset();
    EXPECT_TRUE(ScriptCallStack.empty());
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{1, 2, 3}));
    ASSERT_TRUE(CScript::SetData(block.data(), block.size(), true));

    EXPECT_EQ(ScriptVariables, variables);
    ASSERT_EQ(OperandStack.size(), 2u);
    EXPECT_EQ(OperandStack.nth(2).type, static_cast<std::uint32_t>(kScriptInt));
    EXPECT_EQ(OperandStack.nth(2).payload, 5u);
    EXPECT_EQ(OperandStack.nth(1).text, "kept");
    EXPECT_EQ(OperandStack.nth(1).operandClass, static_cast<std::uint32_t>(kClassInteger));
    ASSERT_EQ(ScriptCallStack.size(), 2u);
    EXPECT_EQ(ScriptCallStack[1]->pos, 6u);  // the waiting call's opcode
    EXPECT_EQ(ScriptCallStack[1]->base, 5u);
    EXPECT_EQ(ScriptWaitFlag, 1);
    Bytes again;
    CScript::GetData(again);
    EXPECT_EQ(again, block);
}

TEST_F(VmStateTest, BlockLayoutIsExact) {
    ScriptVariables = {1, 0xFFFFFFFF, 3};
    OperandStack.push(ScriptValue::MakeFloat(1.5f));
    Bytes block = {0xAA};
    ASSERT_TRUE(CScript::GetData(block));
    const Bytes expected = {0xAA, 44, 0,    0,    0,    'S',  'C', 'R',  'M',  3, 0, 0, 0, 1, 0,
                            0,    0,  0xFF, 0xFF, 0xFF, 0xFF, 3,   0,    0,    0, 3, 0, 0, 0, 1,
                            0,    0,  0,    9,    9,    0,    0,   0xC0, 0x3F, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(block, expected);
}

TEST_F(VmStateTest, PartialRestoreRunsTheSavedScriptWithItsOwnLocals) {
    ScriptTracer tracer({28});
    StartNestedRun(tracer);
    Bytes block;
    CScript::GetData(block);
    const auto log =
        CaptureLog([&] { ASSERT_TRUE(CScript::SetData(block.data(), block.size(), false)); });
    ASSERT_EQ(ScriptCallStack.size(), 1u);
    EXPECT_EQ(ScriptCallStack[0]->script->fileName, ScriptPath("inner"));
    EXPECT_EQ(ScriptCallStack[0]->pos, 0u);
    EXPECT_EQ(ScriptCallStack[0]->base, 3u);
    EXPECT_TRUE(OperandStack.empty());
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{1, 2, 3, 20, 99, 22}));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0],
              "scrMain:warning: SetData: the number of local-data is different. (3 != 5) \"" +
                  ScriptPath("inner") + "\"");
}

TEST_F(VmStateTest, SavedScriptsAreFoundInTheCurrentScriptFolder) {
    ScriptTracer tracer;
    tracer.Install();
    ASSERT_TRUE(Load(ScriptPath("outer").c_str(), nullptr));
    Bytes block;
    CScript::GetData(block);
    // Rewrite the stored name as a folder that no longer exists.
    const std::string stored = ScriptPath("outer");
    const std::string moved = "Z:\\old\\place\\OUTER.SCR";
    std::string text(block.begin(), block.end());
    text.replace(text.find(stored), stored.size(), moved);
    Bytes edited(text.begin(), text.end());
    const auto size = static_cast<std::uint32_t>(edited.size());
    std::memcpy(edited.data(), &size, 4);
    ASSERT_TRUE(CScript::SetData(edited.data(), edited.size(), true));
    ASSERT_EQ(ScriptCallStack.size(), 1u);
    EXPECT_EQ(ScriptCallStack[0]->script->fileName, ScriptPath("OUTER"));
}

TEST_F(VmStateTest, DamagedBlocksAreRefusedAndLeaveTheVmReset) {
    ScriptTracer tracer({28});
    StartNestedRun(tracer);
    Bytes good;
    CScript::GetData(good);
    auto withSize = [](Bytes block, std::uint32_t size) {
        std::memcpy(block.data(), &size, 4);
        return block;
    };
    auto cut = [&](std::size_t length) {
        Bytes block(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        return withSize(block, static_cast<std::uint32_t>(length));
    };
    Bytes badMagic = good;
    badMagic[4] = 'X';
    Bytes globalsAboveCount = good;
    const std::size_t globalsAt = 12 + 4 * 8;
    globalsAboveCount[globalsAt] = 9;
    Bytes hugeCount = good;
    hugeCount[8] = 0xFF;
    hugeCount[11] = 0x7F;
    // Sound records, one more than the operand stack holds.
    Bytes tooManyOperands(4, 0);
    auto word = [&](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            tooManyOperands.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    };
    word(kScriptStateMagic);
    word(0);  // V
    word(0);  // G
    word(kMaxOperandStackSize + 1);
    for (std::uint32_t i = 0; i <= kMaxOperandStackSize; ++i) {
        tooManyOperands.insert(tooManyOperands.end(), {7, 6, 1, 0, 0, 0, 0});
    }
    word(0);  // F
    tooManyOperands.push_back(0);
    tooManyOperands = withSize(tooManyOperands, static_cast<std::uint32_t>(tooManyOperands.size()));
    struct Case {
        const char* name;
        Bytes block;
        std::size_t available;
        const char* logged;
    };
    const Case cases[] = {
        {"size below 21", withSize(Bytes(20, 0), 20), 20,
         "scrMain:error: SetData: invalid arg. size(20)"},
        {"size beyond the data", good, good.size() - 1, "scrMain:error: SetData: invalid arg."},
        {"magic", badMagic, good.size(), "scrMain:error: SetData: invalid header. (4d524358)"},
        {"variable count", hugeCount, good.size(), "scrMain:error: SetData: invalid arg."},
        {"globals above the count", globalsAboveCount, good.size(),
         "scrMain:error: SetData: invalid arg."},
        {"operands cut", cut(60), 60, "scrMain:error: SetData: invalid arg."},
        {"frame name cut", cut(good.size() - 12), good.size() - 12,
         "scrMain:error: SetData: invalid arg."},
        {"wait flag missing", cut(good.size() - 1), good.size() - 1,
         "scrMain:error: SetData: invalid arg."},
        {"operands beyond the stack's bound", tooManyOperands, tooManyOperands.size(),
         "scrMain:error: SetData: invalid arg."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto log =
            CaptureLog([&] { EXPECT_FALSE(CScript::SetData(c.block.data(), c.available, true)); });
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().rfind(c.logged, 0), 0u) << log.back();
        EXPECT_TRUE(ScriptCallStack.empty());
        EXPECT_TRUE(OperandStack.empty());
        EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{1, 2, 3}));
        EXPECT_EQ(ScriptWaitFlag, 0);
    }
}

TEST_F(VmStateTest, FewerSavedGlobalsWarnAndCopyWhatThereIs) {
    const Bytes block = {29, 0, 0, 0, 'S', 'C', 'R', 'M', 1, 0, 0, 0, 42, 0, 0,
                         0,  1, 0, 0, 0,   0,   0,   0,   0, 0, 0, 0, 0,  0};
    const auto log =
        CaptureLog([&] { EXPECT_TRUE(CScript::SetData(block.data(), block.size(), false)); });
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{42, 2, 3}));
    EXPECT_EQ(log,
              (std::vector<std::string>{
                  "scrMain:warning: SetData: the number of global-data is different. (3 != 1)"}));
}

// Saving in the middle of a run, resetting and restoring gives the same trace as a run that was
// never interrupted.
TEST_F(VmStateTest, ResumedRunTracesLikeAnUninterruptedOne) {
    WriteScript("story", R"(.locals 0
*top
    text "one"
    push 1
    push l0
    add_assign
    pop
    push "wait"
    call 28 1
    pop
    callfile "inner" "in"
    push l0
    call 30 1
    pop
    text "two"
)");
    std::string uninterrupted;
    {
        ScriptTracer tracer({28});
        tracer.Install();
        ASSERT_TRUE(Load(ScriptPath("story").c_str(), "top"));
        for (int i = 0; i < 10 && !ScriptCallStack.empty(); ++i) {
            RunScripts(0.0f);
        }
        tracer.AppendGlobals();
        uninterrupted = tracer.output();
    }
    ScriptVmReset();
    std::string resumed;
    {
        ScriptTracer tracer({28});
        tracer.Install();
        ASSERT_TRUE(Load(ScriptPath("story").c_str(), "top"));
        RunScripts(0.0f);
        RunScripts(0.0f);  // inside inner, waiting
        resumed = tracer.output();
    }
    Bytes block;
    CScript::GetData(block);
    ScriptVmReset();
    {
        ScriptTracer tracer({28});
        tracer.Install();
        ASSERT_TRUE(CScript::SetData(block.data(), block.size(), true));
        tracer.ClearOutput();
        for (int i = 0; i < 10 && !ScriptCallStack.empty(); ++i) {
            RunScripts(0.0f);
        }
        tracer.AppendGlobals();
        // The restored call is made again: its first showing was traced before the save.
        const std::string rest = tracer.output();
        ASSERT_EQ(rest.rfind("call 28 i:5\n", 0), 0u) << rest;
        resumed += rest.substr(std::strlen("call 28 i:5\n"));
    }
    EXPECT_EQ(resumed, uninterrupted);
}

}  // namespace
}  // namespace qvn::test
