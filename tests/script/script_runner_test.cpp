// qvn-script on "SCR " files written byte by byte, as another compiler of the format would.

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "script_test_support.h"
#include "support/tool_run.h"

namespace qvn::test {
namespace {

ToolRun RunTool(const std::string& dir, const std::string& arguments, const char* waitCalls) {
    std::string command;
    if (waitCalls != nullptr) {
        command = std::string("QVN_WAIT_CALLS=") + waitCalls + " ";
    }
    command += std::string(QVN_SCRIPT_TOOL) + " '" + dir + "' " + arguments + " 2>/dev/null";
    return RunCommand(command);
}

Bytes Text(const std::string& sjis) {
    Bytes out = {11};
    out.insert(out.end(), sjis.begin(), sjis.end());
    out.push_back(0);
    return out;
}

Bytes Push(std::uint8_t tag, std::uint32_t value) {
    return {0,
            tag,
            static_cast<std::uint8_t>(value),
            static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 24)};
}

Bytes Call(std::uint32_t number, std::uint8_t count) {
    return {12, static_cast<std::uint8_t>(number), 0, 0, 0, count};
}

class ScriptRunnerTest : public ScriptVmTest {
protected:
    std::string Relative(std::string out) const {
        std::string escaped;
        for (char c : dir_.windowsPath()) {
            escaped += c;
            if (c == '\\') {
                escaped += '\\';
            }
        }
        for (std::size_t at = out.find(escaped); at != std::string::npos; at = out.find(escaped)) {
            out.replace(at, escaped.size(), "<dir>\\\\");
        }
        return out;
    }
};

TEST_F(ScriptRunnerTest, TracesEveryHookAndTheGlobals) {
    WriteScriptBytes("global", ScrFile({1, 2, 3}, {}, {}));
    const Bytes head = Concat({
        Text("Hi\t\x82\xB1\x82\xF1\\\xFF\n"),
        Push(6, 7),
        Push(9, 0x40200000),
        Bytes{0, 10, 's', 0},
        Push(11, 1),
        Push(12, 0),
        Call(5, 5),
        Bytes{1},
        Call(6, 0),
        Call(7, 1),
        Bytes{1},
        Push(6, 42),
        Push(11, 2),
        Bytes{2, 28, 1},
        Bytes{10, 's', 'u', 'b', 0, 'S', 0},
        Bytes{8, 'E', 'N', 'D', 0},
        Text("skipped"),
    });
    const Bytes code = Concat({head, Bytes{3}});
    WriteScriptBytes(
        "start",
        ScrFile({}, {9}, code, {},
                Concat({Label("top", 0), Label("end", static_cast<std::uint32_t>(head.size()))})));
    WriteScriptBytes("sub", ScrFile({}, {}, Concat({Text("in sub"), Bytes{3}}), {}, Label("s", 0)));

    const ToolRun run = RunTool(dir_.path(), "start top", nullptr);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Relative(run.out),
              "label top 0\n"
              "push-mode <dir>\\\\script\\\\start.scr top\n"
              "message Hi\\tこん\\\\\\xFF\\n\n"
              "call 5 i:7 f:2.5 s:s v:1 v:3\n"
              "call 6\n"
              "call 7 void\n"
              "label S 0\n"
              "push-mode <dir>\\\\script\\\\sub.scr S\n"
              "message in sub\n"
              "pop-mode <dir>\\\\script\\\\sub.scr 1\n"
              "label END " +
                  std::to_string(head.size()) +
                  "\n"
                  "pop-mode <dir>\\\\script\\\\start.scr 1\n"
                  "var 0 1\n"
                  "var 1 2\n"
                  "var 2 42\n");
}

TEST_F(ScriptRunnerTest, WaitingCallsAndExitStatuses) {
    // call 28, pop, jump back: with 28 waiting, each frame repeats one call and makes the next.
    const Bytes loop = Concat({Call(28, 0), Bytes{1}, Bytes{4, 0, 0, 0, 0}});
    WriteScriptBytes("loop", ScrFile({}, {}, loop, {0}));
    WriteScriptBytes("once", ScrFile({5}, {}, Concat({Push(6, 3), Call(28, 1), Bytes{1}})));

    const ToolRun once = RunTool(dir_.path(), "once", "1,28");
    EXPECT_EQ(once.status, 0);
    EXPECT_EQ(Relative(once.out),
              "push-mode <dir>\\\\script\\\\once.scr -\n"
              "call 28 i:3\n"
              "call 28 i:3\n"
              "pop-mode <dir>\\\\script\\\\once.scr 0\n"
              "var 0 5\n");

    const ToolRun bounded = RunTool(dir_.path(), "loop", "28");
    EXPECT_EQ(bounded.status, 2);
    std::size_t calls = 0;
    for (std::size_t at = bounded.out.find("call 28"); at != std::string::npos;
         at = bounded.out.find("call 28", at + 1)) {
        ++calls;
    }
    EXPECT_EQ(calls, 19999u);

    const ToolRun missing = RunTool(dir_.path(), "nothing", nullptr);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

}  // namespace
}  // namespace qvn::test
