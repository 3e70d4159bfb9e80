// Control flow, frames across files, the game hooks and the interpreter's error lines.

#include <cstdint>
#include <cstdio>
#include <set>
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

class InterpreterTest : public ScriptVmTest {
protected:
    // Loads `name` and runs frames until the stack empties (at most `frames`); returns the trace.
    std::string Run(const std::string& name, const char* label = nullptr, int frames = 10,
                    std::set<std::uint32_t> waitCalls = {}) {
        ScriptTracer tracer(std::move(waitCalls));
        tracer.Install();
        EXPECT_TRUE(Load(ScriptPath(name).c_str(), label));
        for (int i = 0; i < frames && !ScriptCallStack.empty(); ++i) {
            RunScripts(1.0f / 60);
        }
        return tracer.output();
    }
    // The trace with the program directory written as "<dir>\".
    std::string Relative(std::string trace) const {
        std::string dir = dir_.windowsPath();
        std::string escaped;
        for (char c : dir) {
            escaped += c;
            if (c == '\\') {
                escaped += '\\';
            }
        }
        for (std::size_t at = trace.find(escaped); at != std::string::npos;
             at = trace.find(escaped)) {
            trace.replace(at, escaped.size(), "<dir>\\\\");
        }
        return trace;
    }
};

TEST_F(InterpreterTest, EJumpSwitchesOnEqualValues) {
    WriteScript("t", R"(.globals 3
    push g0
    push 1
    ejump @one
    push 3
    ejump @three
    pop
    text "default"
    return
@one
    text "one"
    return
@three
    text "three"
    call 99 0
    pop
    return
)");
    const std::string trace = Run("t");
    EXPECT_NE(trace.find("message three\ncall 99\n"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("message one"), std::string::npos);
    EXPECT_TRUE(OperandStack.empty());
}

TEST_F(InterpreterTest, ConditionalJumpsShortCircuit) {
    // g0 && call 50 ; g1 || call 51 -- neither call may run; the jumped value stays as a bool.
    WriteScript("t", R"(.globals 0 1
    push g0
    fjump @and
    call 50 0
@and
    call 98 1
    pop
    push g1
    tjump @or
    call 51 0
@or
    call 99 1
    pop
    push g1
    fjump @never
    push g0
    tjump @never
    text "fell through"
@never
    return
)");
    const std::string trace = Run("t");
    EXPECT_NE(trace.find("call 98 i:0\ncall 99 i:1\nmessage fell through\n"), std::string::npos)
        << trace;
    EXPECT_EQ(trace.find("call 50"), std::string::npos);
    EXPECT_EQ(trace.find("call 51"), std::string::npos);
}

TEST_F(InterpreterTest, CallFileRunsWithItsOwnLocalsAndReturns) {
    WriteScript("main", R"(.globals 0 0
.locals 1 2
*top
    push l1
    call 90 1
    pop
    callfile "sub" "entry"
    push l1
    cast int
    call 91 1
    pop
    push g0
    cast int
    call 92 1
    pop
    return
)");
    WriteScript("sub", R"(.locals 10 20 30
*entry
    push l2
    call 93 1
    pop
    push l2
    push g0
    assign
    pop
    push 5
    push l0
    add_assign
    pop
    return
)");
    const std::string trace = Relative(Run("main", "top"));
    EXPECT_EQ(trace,
              "label top 0\n"
              "push-mode <dir>\\\\script\\\\main.scr top\n"
              "call 90 v:3\n"
              "label entry 0\n"
              "push-mode <dir>\\\\script\\\\sub.scr entry\n"
              "call 93 v:6\n"
              "pop-mode <dir>\\\\script\\\\sub.scr 1\n"
              "call 91 i:2\n"
              "call 92 i:30\n"
              "pop-mode <dir>\\\\script\\\\main.scr 1\n");
    EXPECT_EQ(ScriptVariables.size(), 2u);
}

TEST_F(InterpreterTest, JumpFileReleasesTheOldFramesLocals) {
    WriteScript("a", R"(.globals 7
.locals 1 2
    jumpfile "b" ""
)");
    WriteScript("b", R"(.locals 5 6 8
    push l0
    call 90 1
    pop
    push l2
    cast int
    call 91 1
    pop
)");
    const std::string trace = Relative(Run("a"));
    EXPECT_EQ(trace,
              "push-mode <dir>\\\\script\\\\a.scr -\n"
              "pop-mode <dir>\\\\script\\\\a.scr 0\n"
              "push-mode <dir>\\\\script\\\\b.scr \n"
              "call 90 v:1\n"
              "call 91 i:8\n"
              "pop-mode <dir>\\\\script\\\\b.scr 0\n");
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{7}));
}

TEST_F(InterpreterTest, JumpFileToTheSameFileReentersAtTheLabel) {
    WriteScript("t", R"(.locals 5
    push 6
    push l0
    assign
    pop
    jumpfile "*" "second"
*second
    push l0
    cast int
    call 1 1
    pop
    return
)");
    static std::vector<std::size_t>* seen = nullptr;
    std::vector<std::size_t> counts;
    seen = &counts;
    InstallScriptGameHooks(
        ScriptGameHooks{nullptr,
                        [](std::uint32_t, const std::vector<ScriptValue*>& arguments, float) {
                            seen->push_back(ScriptCallStack.size());
                            seen->push_back(ScriptVariables.size());
                            seen->push_back(arguments[0]->GetULong());
                            return true;
                        },
                        nullptr, nullptr, nullptr});
    ASSERT_TRUE(Load(ScriptPath("t").c_str(), nullptr));
    RunScripts(0.0f);
    RunScripts(0.0f);
    // One frame, one local, and that local is the fresh frame's initial value.
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 1, 5}));
    EXPECT_TRUE(ScriptCallStack.empty());
    EXPECT_TRUE(ScriptVariables.empty());
}

TEST_F(InterpreterTest, WaitingBuiltInRepeatsWithTheSameArguments) {
    WriteScript("t", R"(.globals 0
    push 4
    push "bg"
    call 28 2
    call 29 1
    pop
)");
    ScriptTracer tracer({28});
    tracer.Install();
    ASSERT_TRUE(Load(ScriptPath("t").c_str(), nullptr));
    tracer.ClearOutput();
    RunScripts(0.0f);
    EXPECT_EQ(tracer.output(), "call 28 i:4 s:bg\n");
    EXPECT_EQ(OperandStack.size(), 2u);
    RunScripts(0.0f);
    EXPECT_EQ(tracer.output(),
              "call 28 i:4 s:bg\ncall 28 i:4 s:bg\ncall 29 void\n"
              "pop-mode " +
                  TraceText(ScriptPath("t").c_str()) + " 0\n");
    EXPECT_TRUE(OperandStack.empty());
}

TEST_F(InterpreterTest, GameModeHooksComeInLoadOrder) {
    WriteScript("a", R"(*top
    callfile "b" "B"
    jumpfile "c" ""
)");
    WriteScript("b", R"(*B
    return
)");
    WriteScript("c", R"(    text "c"
)");
    const std::string trace = Relative(Run("a", "TOP"));
    EXPECT_EQ(trace,
              "label TOP 0\n"
              "push-mode <dir>\\\\script\\\\a.scr TOP\n"
              "label B 0\n"
              "push-mode <dir>\\\\script\\\\b.scr B\n"
              "pop-mode <dir>\\\\script\\\\b.scr 1\n"
              "pop-mode <dir>\\\\script\\\\a.scr 0\n"
              "push-mode <dir>\\\\script\\\\c.scr \n"
              "message c\n"
              "pop-mode <dir>\\\\script\\\\c.scr 0\n");
}

TEST_F(InterpreterTest, ReturnIntoAnotherModeYieldsTheFrame) {
    WriteScript("a", R"(    callfile "b" ""
    text "after"
)");
    WriteScript("b", "    return\n");
    ASSERT_TRUE(Load(ScriptPath("a").c_str(), nullptr));
    std::vector<std::string> messages;
    static std::vector<std::string>* seen = nullptr;
    seen = &messages;
    InstallScriptGameHooks(ScriptGameHooks{[](const char* text) {
                                               seen->push_back(text);
                                               return true;
                                           },
                                           nullptr, nullptr, nullptr, nullptr});
    RunScripts(0.0f);  // the default PopGameMode answers false: the return yields
    EXPECT_TRUE(messages.empty());
    RunScripts(0.0f);
    EXPECT_EQ(messages, std::vector<std::string>{"after"});
}

TEST_F(InterpreterTest, CurrentCallSiteIndexCountsOccurrencesOfEachFunction) {
    WriteScript("t", R"(.globals 0
@loop
    call 2 0
    pop
    call 20 0
    pop
    call 2 0
    pop
    push g0
    postinc
    push 1
    lt
    tjump @loop
    pop
    call 2 0
    pop
    call 4294967295 0
    pop
)");
    static std::vector<std::int32_t>* sites = nullptr;
    std::vector<std::int32_t> seen;
    sites = &seen;
    InstallScriptGameHooks(
        ScriptGameHooks{nullptr,
                        [](std::uint32_t number, const std::vector<ScriptValue*>&, float) {
                            sites->push_back(CurrentCallSiteIndex(number));
                            return true;
                        },
                        nullptr, nullptr, nullptr});
    ASSERT_TRUE(Load(ScriptPath("t").c_str(), nullptr));
    RunScripts(0.0f);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 0, 1, 0, 0, 1, 2, 0}));
    EXPECT_EQ(CurrentCallSiteIndex(2), -1);
}

TEST_F(InterpreterTest, ResetDuringACallLeavesAnEmptyVm) {
    WriteScript("t", R"(.locals 1 2 3
    push 1
    push 2
    call 53 2
    text "never"
)");
    InstallScriptGameHooks(
        ScriptGameHooks{[](const char*) {
                            ADD_FAILURE() << "the script ran on after a reset";
                            return true;
                        },
                        [](std::uint32_t, const std::vector<ScriptValue*>&, float) {
                            ScriptVmReset();
                            return true;
                        },
                        nullptr, nullptr, nullptr});
    ASSERT_TRUE(Load(ScriptPath("t").c_str(), nullptr));
    RunScripts(0.0f);
    EXPECT_TRUE(ScriptCallStack.empty());
    EXPECT_TRUE(OperandStack.empty());
    EXPECT_TRUE(ScriptVariables.empty());
}

struct ErrorCase {
    const char* name;
    const char* source;
    const char* logged;      // %s stands for the file name
    std::uint32_t position;  // where the frame resumes afterwards
};

class InterpreterErrorTest : public InterpreterTest,
                             public ::testing::WithParamInterface<ErrorCase> {};

// With two globals the code-size field is at file offset 24: "[%08X]" is 0x18 + code position.
TEST_P(InterpreterErrorTest, LogsThePositionAndMovesPastTheInstruction) {
    WriteScript("t", std::string(".globals 0 0\n") + GetParam().source);
    const std::string path = ScriptPath("t");
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    const auto log = CaptureLog([] { RunScripts(0.0f); });
    char expected[512];
    std::snprintf(expected, sizeof expected, GetParam().logged, path.c_str());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], expected);
    ASSERT_FALSE(ScriptCallStack.empty());
    EXPECT_EQ(ScriptCallStack.back()->pos, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, InterpreterErrorTest,
    ::testing::Values(ErrorCase{"Pop", "    text \"x\"\n    pop\n    push 1\n",
                                "scrMain:error: RunCode: pop [0000001C] \"%s\"", 4},
                      ErrorCase{"UnaryOnEmpty", "    neg\n    push 1\n",
                                "scrMain:error: RunCode: ope(1:2) [00000018] \"%s\"", 2},
                      ErrorCase{"CastOnEmpty", "    cast int\n    push 1\n",
                                "scrMain:error: RunCode: ope(1:2) [00000018] \"%s\"", 3},
                      ErrorCase{"BinaryWithOneValue", "    push 1\n    add\n    pop\n",
                                "scrMain:error: RunCode: ope(2:12) [0000001F] \"%s\"", 8},
                      ErrorCase{"JumpIndex", ".jumptable 0\n    jump #1\n    push 1\n",
                                "scrMain:error: RunCode: jump(1) [00000019] \"%s\"", 5},
                      ErrorCase{"FJumpOnEmpty", "@a\n    fjump @a\n    push 1\n",
                                "scrMain:error: RunCode: fjump [00000018] \"%s\"", 5},
                      ErrorCase{"TJumpIndex", "    push 1\n    tjump #3\n    pop\n",
                                "scrMain:error: RunCode: tjump(3) [0000001F] \"%s\"", 11},
                      ErrorCase{"EJumpWithOneValue", "@a\n    push 1\n    ejump @a\n    pop\n",
                                "scrMain:error: RunCode: ejump [0000001E] \"%s\"", 11},
                      ErrorCase{"ArgumentCount", "    push 1\n    call 3 2\n    pop\n",
                                "scrMain:error: RunCode: arg(2) stack(1) [00000024] \"%s\"", 12},
                      ErrorCase{"MidInstructionJump", ".jumptable 2\n    jump #0\n    push 0\n",
                                "scrMain:error: RunCode: push(0) [0000001B] \"%s\"", 4}),
    [](const ::testing::TestParamInfo<ErrorCase>& tested) { return tested.param.name; });

TEST_F(InterpreterTest, EndsOfCodeAndMissingLabels) {
    WriteScript("t", R"(.globals 0
    push 1
    goto "nowhere"
)");
    const std::string path = ScriptPath("t");
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    const auto log = CaptureLog([] { RunScripts(0.0f); });
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "scrMain:error: RunCode: goto: label not found. (nowhere) [0000001B] \"" +
                          path + "\"");
    EXPECT_EQ(log[1],
              "scrMain:error: RunCode: invalid finish. stack(1) [00000023] \"" + path + "\"");
    EXPECT_TRUE(ScriptCallStack.empty());

    OperandStack.clear();
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    ScriptCallStack.back()->pos = 0xFFFFFFFFu;
    const auto invalid = CaptureLog([] { RunScripts(0.0f); });
    ASSERT_EQ(invalid.size(), 1u);
    EXPECT_EQ(invalid[0], "scrMain:error: RunCode: invalid position. \"" + path + "\"");
    EXPECT_TRUE(ScriptCallStack.empty());
}

// A script that pushes without end (values or the void of built-in calls that take none) is
// stopped at the operand bound: one line at the pushing instruction, the frame ends with its
// values dropped, and the frame that called it goes on with an empty stack.
TEST_F(InterpreterTest, RunawayPushesEndTheFrameAtTheOperandBound) {
    WriteScript("main", R"(*top
    callfile "sub" ""
    push 7
    call 90 1
    pop
    return
)");
    const char* const loops[] = {"@again\n    push 1\n    jump @again\n",
                                 "@again\n    call 5 0\n    jump @again\n"};
    for (const char* loop : loops) {
        SCOPED_TRACE(loop);
        WriteScript("sub", std::string("    push 2\n    pop\n") + loop);
        std::string trace;
        const auto log = CaptureLog([&] { trace = Relative(Run("main", "top")); });
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0],
                  "scrMain:error: RunCode: operand stack full. (262144 operands) "
                  "[00000017] \"" +
                      ScriptPath("sub") + "\"");
        EXPECT_EQ(trace.substr(trace.find("pop-mode")),
                  "pop-mode <dir>\\\\script\\\\sub.scr 0\n"
                  "call 90 i:7\n"
                  "pop-mode <dir>\\\\script\\\\main.scr 1\n");
        EXPECT_TRUE(ScriptCallStack.empty());
        EXPECT_TRUE(OperandStack.empty());
    }
}

TEST(ScriptPathTest, JumpTargetsAreLookedForBesideTheCurrentFile) {
    struct Case {
        const char* current;
        const char* file;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\game\\script\\a.scr", "b", "C:\\game\\script\\b.scr"},
        {"C:\\game\\script\\a.scr", "", "C:\\game\\script\\a.scr"},
        {"C:\\game\\script\\a.scr", "*x", "C:\\game\\script\\a.scr"},
        {"C:\\game\\script\\a.scr", "b.txt", "C:\\game\\script\\b.txt.scr"},
        {"\\g.d\\script\\noext", "b", "\\g.d\\script\\b"},
        // 0x95 0x5C is one character: its trail byte is no separator.
        {"\\d\\\x95\x5C.scr", "b", "\\d\\b.scr"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildScriptPath(c.current, c.file), c.expected) << c.current << " " << c.file;
    }
}

}  // namespace
}  // namespace qvn::test
