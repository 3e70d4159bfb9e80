// Loading "SCR " files: layout checks, labels, call sites, sharing and the global-data merge.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script/call_stack.h"
#include "script/interpreter.h"
#include "script/script_file.h"
#include "script/script_variables.h"
#include "script_test_support.h"

namespace qvn::test {
namespace {

using ScriptFileTest = ScriptVmTest;

TEST_F(ScriptFileTest, SmallestFileLoadsAndEndsAtOnce) {
    const Bytes empty = ScrFile({}, {}, {});
    ASSERT_EQ(empty.size(), 28u);
    const std::string path = WriteScriptBytes("empty", empty);
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    ASSERT_EQ(ScriptCallStack.size(), 1u);
    EXPECT_EQ(ScriptCallStack[0]->pos, 0u);
    EXPECT_EQ(ScriptCallStack[0]->script->codeFileOffset, 16u);
    ScriptFrame* frame = ScriptCallStack[0].get();
    EXPECT_FALSE(RunCode(frame->script, frame, 0.0f));
    EXPECT_TRUE(ScriptCallStack.empty());
}

TEST_F(ScriptFileTest, DamagedFilesAreRefusedWithTheirLogLine) {
    const Bytes good = ScrFile({1}, {}, {3}, {}, Label("a", 0));
    struct Case {
        const char* name;
        Bytes bytes;
        const char* logged;  // the start of the script's log line
        const char* label = "";
        bool missing = false;  // no file at all
    };
    Bytes truncated = good;
    truncated.resize(truncated.size() - 1);
    Bytes bigGlobals = good;
    bigGlobals[8] = 0xFF;
    Bytes wrongMagic = good;
    wrongMagic[0] = 'X';
    const Case cases[] = {
        {"missing", {}, "scrMain:error: JumpFile: the file cannot be read.", "", true},
        {"empty", {}, "scrMain:error: JumpFile: too short to be a script. (0 bytes, at least 28)"},
        {"short", Bytes(27, 0),
         "scrMain:error: JumpFile: too short to be a script. (27 bytes, at least 28)"},
        {"magic", wrongMagic, "scrMain:error: JumpFile: invalid header. (20524358)"},
        {"labels past the end", truncated,
         "scrMain:error: JumpFile: truncated label table. (6 bytes at 29, file 38 bytes)"},
        {"globals past the end", bigGlobals,
         "scrMain:error: JumpFile: truncated global-data. (255 bytes at 8, file 39 bytes)"},
        {"size field cut", Bytes(good.begin(), good.begin() + 30),
         "scrMain:error: JumpFile: truncated label table. (0 bytes at 29, file 30 bytes)"},
        {"label without terminator", ScrFile({}, {}, {}, {}, Bytes{'a', 'b'}),
         "scrMain:error: JumpFile: damaged label table."},
        {"label position cut", ScrFile({}, {}, {}, {}, Bytes{'a', 0, 1, 0}),
         "scrMain:error: JumpFile: damaged label table."},
        {"label missing", good, "scrMain:error: LoadCode: label not found. (zz)", "zz"},
        {"label past the code", ScrFile({}, {}, {3}, {}, Label("far", 2)),
         "scrMain:error: LoadCode: label outside the code. (far) [00000012]", "far"},
        {"push tag 7", ScrFile({}, {}, {0, 7, 0, 0, 0, 0}),
         "scrMain:error: CreateFuncPos: push(7) [00000011]"},
        {"operator 25", ScrFile({}, {}, {1, 2, 25}),
         "scrMain:error: CreateFuncPos: ope(Y ?(25) X) [00000012]"},
        {"cast to 10", ScrFile({}, {}, {2, 8, 10}),
         "scrMain:error: CreateFuncPos: ope(cast:10) [00000012]"},
        {"opcode 13", ScrFile({}, {}, {3, 13}),
         "scrMain:error: CreateFuncPos: code(13) [00000011]"},
        {"text not terminated", ScrFile({}, {}, {11, 'a', 'b'}),
         "scrMain:error: CreateFuncPos: code(11) [00000010]"},
        {"call cut short", ScrFile({}, {}, {12, 1, 0, 0, 0}),
         "scrMain:error: CreateFuncPos: code(12) [00000010]"},
        {"second file string missing", ScrFile({}, {}, {9, 'a', 0}),
         "scrMain:error: CreateFuncPos: code(9) [00000010]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            c.missing ? ScriptPath("missing") : WriteScriptBytes("bad", c.bytes);
        std::vector<std::string> log =
            CaptureLog([&] { EXPECT_FALSE(Load(path.c_str(), c.label)); });
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().rfind(c.logged, 0), 0u) << log.back();
        EXPECT_NE(log.back().find(path), std::string::npos) << "the line names the file";
        EXPECT_TRUE(ScriptCallStack.empty());
        // Only a refused label comes after the file's globals were merged.
        EXPECT_TRUE(ScriptVariables.empty() || c.label[0] != '\0');
        ScriptVariables.clear();
    }
    // A label exactly at the end of the code is the code's end: the frame ends at once.
    const std::string atEnd = WriteScriptBytes("end", ScrFile({}, {}, {3}, {}, Label("end", 1)));
    ASSERT_TRUE(Load(atEnd.c_str(), "end"));
    ScriptFrame* frame = ScriptCallStack[0].get();
    EXPECT_FALSE(RunCode(frame->script, frame, 0.0f));
    EXPECT_TRUE(ScriptCallStack.empty());
}

TEST_F(ScriptFileTest, LabelQueries) {
    const Bytes labels = Concat({Label("a", 8), Label("A", 4), Label("b", 12), Label("a", 99),
                                 Label("\x82\xA0", 20), Label("m", 12)});
    const std::string path = WriteScriptBytes("labels", ScrFile({}, {}, Bytes(24, 1), {}, labels));
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    const CScript& script = *ScriptCallStack[0]->script;
    EXPECT_EQ(script.labels.size(), 5u);
    EXPECT_EQ(script.labels.at("a"), 8u);  // the first of two records wins
    EXPECT_EQ(script.FindLabel(nullptr), 0u);
    EXPECT_EQ(script.FindLabel(""), 0u);
    EXPECT_EQ(script.FindLabel("a"), 4u);  // "A" sorts first and matches without case
    EXPECT_EQ(script.FindLabel("B"), 12u);
    EXPECT_EQ(script.FindLabel("\x82\xA0"), 20u);
    EXPECT_EQ(script.FindLabel("c"), kNoPosition);
    EXPECT_TRUE(script.HasLabel("M"));
    EXPECT_FALSE(script.HasLabel(""));
    EXPECT_EQ(script.LabelAtPosition(3), nullptr);
    EXPECT_STREQ(script.LabelAtPosition(4), "A");
    EXPECT_STREQ(script.LabelAtPosition(11), "a");
    EXPECT_STREQ(script.LabelAtPosition(12), "m");  // the last in map order among equals
    EXPECT_STREQ(script.LabelAtPosition(1000), "\x82\xA0");
}

TEST_F(ScriptFileTest, CallSitesAreRecordedPerFunction) {
    const Bytes call7 = {12, 7, 0, 0, 0, 0};
    const Bytes callHuge = {12, 0xFF, 0xFF, 0xFF, 0xFF, 0};
    const std::string path =
        WriteScriptBytes("calls", ScrFile({}, {}, Concat({call7, callHuge, call7})));
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    const CScript& script = *ScriptCallStack[0]->script;
    EXPECT_EQ(script.funcSites.at(7), (std::vector<std::uint32_t>{1, 13}));
    EXPECT_EQ(script.funcSites.at(0xFFFFFFFFu), (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(script.CallSiteIndex(7, 0), -1);
    EXPECT_EQ(script.CallSiteIndex(7, 1), 0);
    EXPECT_EQ(script.CallSiteIndex(7, 12), 0);
    EXPECT_EQ(script.CallSiteIndex(7, 13), 1);
    EXPECT_EQ(script.CallSiteIndex(8, 100), -1);
}

TEST_F(ScriptFileTest, ARunningFileIsSharedWhateverTheCaseOfItsPath) {
    const std::string path = WriteScriptBytes("Shared", ScrFile({}, {5}, {3}, {}, Label("x", 0)));
    ASSERT_TRUE(Load(path.c_str(), nullptr));
    std::string upper = path;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    ASSERT_TRUE(Load(upper.c_str(), "X"));
    ASSERT_EQ(ScriptCallStack.size(), 2u);
    EXPECT_EQ(ScriptCallStack[0]->script, ScriptCallStack[1]->script);
    EXPECT_EQ(ScriptCallStack[0]->script->refCount, 2u);
    EXPECT_EQ(ScriptCallStack[1]->base, 1u);
    EXPECT_FALSE(Load(upper.c_str(), "missing"));
    EXPECT_EQ(ScriptCallStack.size(), 2u);
    EXPECT_EQ(ScriptVariables.size(), 2u);
}

TEST_F(ScriptFileTest, GlobalDataIsMergedUntilTheGlobalScriptIsLoaded) {
    const std::string first = WriteScriptBytes("first", ScrFile({1, 2}, {9}, {}));
    const std::string second = WriteScriptBytes("second", ScrFile({7}, {8}, {}));
    ASSERT_TRUE(Load(first.c_str(), nullptr));
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{1, 2, 9}));
    const auto log = CaptureLog([&] { ASSERT_TRUE(Load(second.c_str(), nullptr)); });
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{7, 1, 2, 9, 8}));
    EXPECT_EQ(ScriptCallStack[0]->base, 3u);
    EXPECT_EQ(ScriptCallStack[1]->base, 4u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "scrMain:warning: JumpFile: addition global-data. \"" + second + "\"");

    ClearScriptVm();
    const std::string global = WriteScriptBytes("global", ScrFile({4, 5, 6}, {}, {}));
    ASSERT_TRUE(LoadGlobal(global.c_str()));
    EXPECT_TRUE(ScriptCallStack.empty());
    EXPECT_EQ(GlobalInitialValues, (std::vector<std::uint32_t>{4, 5, 6}));
    const auto conflict = CaptureLog([&] { ASSERT_TRUE(Load(first.c_str(), nullptr)); });
    ASSERT_EQ(conflict.size(), 1u);
    EXPECT_EQ(conflict[0], "scrMain:error: JumpFile: conflicting global-data. \"" + first + "\"");
    EXPECT_EQ(ScriptVariables, (std::vector<std::uint32_t>{4, 5, 6, 9}));
}

TEST_F(ScriptFileTest, VariableIndicesGrowTheArrayUpToABound) {
    ScriptVariables.assign(20, 0);
    auto log = CaptureLog([] { EXPECT_EQ(GetVar(100), 0u); });
    EXPECT_EQ(ScriptVariables.size(), 101u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "scrMain:error: GetVar: index(100)");
    EXPECT_TRUE(CaptureLog([] { GetVar(100); }).empty());

    const std::uint32_t value = 77;
    log = CaptureLog([&] {
        EXPECT_EQ(GetVar(0xFFFFFFFFu), 0u);
        SetVar(kMaxScriptVariables, &value);
        SetVar(150, &value);
    });
    EXPECT_EQ(log, (std::vector<std::string>{"scrMain:error: GetVar: index(-1)",
                                             "scrMain:error: SetVar: index(1048576)",
                                             "scrMain:error: SetVar: index(150)"}));
    EXPECT_EQ(ScriptVariables.size(), 151u);
    EXPECT_EQ(GetVar(150), 77u);

    GlobalInitialValues = {5, 6};
    ResetGlobals();
    EXPECT_EQ(GetVar(0), 5u);
    EXPECT_EQ(GetVar(150), 77u);
}

}  // namespace
}  // namespace qvn::test
