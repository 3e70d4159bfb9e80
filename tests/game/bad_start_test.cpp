// Starts that cannot go on: each ends at once with a non-zero status and a line that names the
// file and the reason; a device that cannot be made still shows the error box.

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "program_copy.h"
#include "replay_harness.h"
#include "shell/program.h"
#include "shell/shell_texts.h"
#include "tools/script/script_assembler.h"

namespace {

using qvn::test::ReplayHarness;

std::vector<std::uint8_t> Assemble(const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(AssembleScript(source, "start", &bytes, &error)) << error;
    return bytes;
}

// Whether a line holds both parts.
bool HasLine(const std::vector<std::string>& lines, const std::string& part,
             const std::string& other = "") {
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos && line.find(other) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(BadStartTest, EachEndsWithALineNamingTheFileAndTheReason) {
    const std::string waits = qvn::test::kReplayEndlessStart;
    struct Case {
        const char* name;
        std::function<void(ReplayHarness&)> spoil;
        std::string reason;  // part of the loader's line, which names start.scr
    };
    const std::string start = "script/start.scr";
    const Case cases[] = {
        {"missing",
         [&](ReplayHarness& game) { std::filesystem::remove(game.dir().path() + "/" + start); },
         "JumpFile: the file cannot be read."},
        {"empty", [&](ReplayHarness& game) { game.dir().writeFile(start, ""); },
         "JumpFile: too short to be a script. (0 bytes, at least 28)"},
        {"truncated",
         [&](ReplayHarness& game) {
             std::vector<std::uint8_t> bytes = Assemble(waits);
             bytes.resize(bytes.size() - 3);
             game.dir().writeFile(start, bytes);
         },
         "JumpFile: truncated label table."},
        {"not a script",
         [&](ReplayHarness& game) { game.dir().writeFile(start, std::string(40, 'x')); },
         "JumpFile: invalid header. (78787878)"},
        {"no label top",
         [&](ReplayHarness& game) {
             game.dir().writeFile(start, Assemble("*begin\n    return\n"));
         },
         "LoadCode: label not found. (top)"},
        {"label top past the code",
         [&](ReplayHarness& game) {
             game.dir().writeFile(start, Assemble(".label \"top\" 40\n    return\n"));
         },
         "LoadCode: label outside the code. (top) [00000038]"},
    };
    for (const Case& c : cases) {
        ReplayHarness game;
        game.PrepareGame(waits);
        c.spoil(game);
        EXPECT_EQ(game.Run(), kExitStartFailed) << c.name;
        EXPECT_TRUE(game.frames().empty()) << c.name;
        const std::vector<std::string> log = game.LogLines();
        const std::string file = "\"" + game.dir().windowsPath() + "script\\start.scr\"";
        EXPECT_TRUE(HasLine(log, "scrMain:error: " + c.reason, file)) << c.name << "\n"
                                                                      << game.Log();
        EXPECT_TRUE(HasLine(
            log, "start: the script " + file + " does not run from \"top\". the program ends."))
            << c.name;
        EXPECT_TRUE(win32_test::TakeShownMessageBoxes().empty()) << c.name;
    }
}

// The start script calls "title", which cannot be loaded: the program ends at once with a
// failure status and a line that names the file and the reason. A script that goes on after the
// failed call and ends by its own return, like one whose title loads, ends the program with 0.
TEST(BadStartTest, AScriptThatDoesNotLoadEndsTheRunWithAFailure) {
    const std::string callsTitle = "*top\n    callfile \"title\" \"top\"\n    return\n";
    const std::string title = "*top\n    push 1\n    pop\n    return\n";
    std::vector<std::uint8_t> flipped = Assemble(title);
    flipped[flipped.size() - 12] ^= 0xFF;  // the label table's size word
    std::vector<std::uint8_t> truncated = Assemble(title);
    truncated.resize(20);
    struct Case {
        const char* name;
        std::string start;
        std::vector<std::uint8_t> title;
        int status;
        std::string reason;  // part of the loader's line, which names title.scr
    };
    const Case cases[] = {
        {"truncated", callsTitle, truncated, kExitStartFailed,
         "JumpFile: too short to be a script. (20 bytes, at least 28)"},
        {"zero-filled", callsTitle, std::vector<std::uint8_t>(64, 0), kExitStartFailed,
         "JumpFile: invalid header. (00000000)"},
        {"flipped bytes", callsTitle, flipped, kExitStartFailed, "JumpFile: truncated"},
        {"sound", callsTitle, Assemble(title), 0, ""},
        {"missing, then a wait before the return",
         ".locals 0\n*top\n    callfile \"title\" \"top\"\n    invoke 0 0 l0 l0\n    return\n",
         {},
         0,
         "JumpFile: the file cannot be read."},
    };
    for (const Case& c : cases) {
        ReplayHarness game;
        game.PrepareGame(c.start);
        if (!c.title.empty()) {
            game.dir().writeFile("script/title.scr", c.title);
        }
        EXPECT_EQ(game.Run(), c.status) << c.name;
        const std::vector<std::string> log = game.LogLines();
        const std::string file = "\"" + game.dir().windowsPath() + "script\\title.scr\"";
        if (!c.reason.empty()) {
            EXPECT_TRUE(HasLine(log, "scrMain:error: " + c.reason, file)) << c.name << "\n"
                                                                          << game.Log();
        }
        EXPECT_EQ(HasLine(log,
                          "script: the last script ended after the error above. the program "
                          "ends."),
                  c.status != 0)
            << c.name;
        EXPECT_FALSE(game.closedByHarness()) << c.name << ": the scripts ended the program";
    }
}

TEST(BadStartTest, ADeviceThatCannotBeMadeShowsTheErrorBox) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart);
    game.SetSetting("DevType", 3);  // a device type the adapter does not offer
    EXPECT_EQ(game.Run(), kExitStartFailed);
    EXPECT_TRUE(game.frames().empty());
    const auto boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kDeviceFailureText);
    EXPECT_EQ(boxes[0].caption, kErrorCaption);
    EXPECT_EQ(boxes[0].style, 0u);
}

// The program itself, started where no display can be found: one line on standard error, a
// non-zero status, and nothing else done.
TEST(BadStartTest, WithoutADisplayTheProgramSaysSoAndEnds) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart);
    const std::string copy = qvn::test::CopyProgramInto(game.dir());
    ASSERT_FALSE(copy.empty());
    const std::string errors = game.dir().path() + "/stderr.txt";

    EXPECT_EQ(qvn::test::RunProgramCopy(copy, errors, false), kExitStartFailed);
    std::ifstream in(errors);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find("display") != std::string::npos) {
            lines.push_back(line);
        }
    }
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("display: none found (SDL cannot start its video: ", 0), 0u)
        << lines[0];
    EXPECT_EQ(game.LogLines(), lines) << "the log says the same, and nothing else";
}

}  // namespace
