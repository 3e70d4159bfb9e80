// qvn-replay run as a command over the demo game: its output lines, the PNG of a capture, what
// the program leaves in its directory, and the exit status of each way a run ends.

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/d3dx/image_decode.h"
#include "replay_harness.h"
#include "support/temp_program_dir.h"
#include "tools/replay/frame_capture.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::vector<std::string> out;
    std::string err;
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs qvn-replay with `arguments` (each quoted here); the program's log lines on standard
// error are kept apart from the tool's own lines.
ToolRun RunTool(const qvn::test::TempProgramDir& dir, const std::vector<std::string>& arguments) {
    std::string command = QVN_REPLAY_TOOL;
    for (const std::string& argument : arguments) {
        command += ' ';
        command += Quote(argument);
    }
    const std::string errFile = dir.configHome() + "/stderr.txt";
    command += " 2>" + Quote(errFile);
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::string out;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::size_t at = 0;
    while (at < out.size()) {
        const std::size_t end = out.find('\n', at);
        run.out.push_back(out.substr(at, end - at));
        at = end == std::string::npos ? out.size() : end + 1;
    }
    std::FILE* err = std::fopen(errFile.c_str(), "rb");
    if (err != nullptr) {
        while ((got = std::fread(buffer, 1, sizeof buffer, err)) > 0) {
            run.err.append(buffer, got);
        }
        std::fclose(err);
    }
    return run;
}

using qvn::test::CopyDemoGame;

TEST(ReplayToolTest, DemoGameRunsOverATimelineAndReportsWhatItWasAskedFor) {
    qvn::test::TempProgramDir dir;
    CopyDemoGame(dir);
    dir.writeFile("info.timeline",
                  "# the information line on, captured, the globals, the end; the pointer\n"
                  "# stays where it starts, off the top row of the full screen\n"
                  "10 key SHIFT down\n"
                  "10 key I down\n"
                  "11 key I up\n"
                  "11 key SHIFT up\n"
                  "12 capture info\n"
                  "20 vars\n"
                  "30 end\n");
    const std::string out = dir.configHome() + "/frames";
    const ToolRun run = RunTool(dir, {dir.path(), dir.path() + "/info.timeline", out});
    EXPECT_EQ(run.status, 0) << run.err;

    std::vector<std::string> expected = {"capture info tick 12 hash "};
    // The demo's global script: month 4 and week 1 among 18 globals; the game waits on its
    // title screen, no music started yet (variable 11).
    for (int i = 0; i < 18; ++i) {
        expected.push_back("var " + std::to_string(i) + " = " +
                           (i == 12   ? "4"
                            : i == 13 ? "1"
                                      : "0"));
    }
    expected.push_back("ended tick 30");
    expected.push_back("result 0");
    ASSERT_EQ(run.out.size(), expected.size()) << run.err;
    ASSERT_EQ(run.out[0].substr(0, expected[0].size()), expected[0]);
    const std::string hash = run.out[0].substr(expected[0].size());
    EXPECT_EQ(hash.size(), 16u);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        EXPECT_EQ(run.out[i], expected[i]);
    }

    // The PNG holds the frame whose hash was printed, with the information line drawn.
    std::ifstream file(out + "/info.png", std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    d3dx::DecodedImage image;
    ASSERT_EQ(d3dx::DecodeImage(png.data(), png.size(), &image), S_OK);
    CapturedFrame frame{static_cast<int>(image.header.width), static_cast<int>(image.header.height),
                        image.pixels};
    EXPECT_EQ(frame.width, 800);
    EXPECT_EQ(frame.height, 600);
    EXPECT_EQ(HashText(HashFrame(frame)), hash);
    int green = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            green += frame.argb[y * 800 + x] == 0xFF00FF00u ? 1 : 0;
        }
    }
    EXPECT_GT(green, 50) << "the information line";

    // The program kept its log in its directory and its settings under $XDG_CONFIG_HOME.
    const std::string log = dir.readFile("qvn.log");
    EXPECT_EQ(log.rfind("\r\n[Information]\r\n", 0), 0u);
    EXPECT_NE(log.find("DirectX: 4.9.0.1\r\nProduct: qvn 1.00\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.configHome() + "/Velkaro/qvn/settings.txt"));
}

TEST(ReplayToolTest, BadLineStopsAtOnceTheTickLimitEndsTheRunAndTheTopRowHoldsIt) {
    struct Case {
        const char* name;
        const char* timeline;
        std::vector<std::string> extra;
        int status;
        std::vector<std::string> out;
        const char* err;  // a line standard error holds
    };
    const Case cases[] = {
        {"bad line",
         "5 vars\n# fine\n7 click 900 0\n",
         {},
         2,
         {},
         "timeline:3: click: x must be 0..799, not '900'\n"},
        {"tick limit", "5 activate 0\n", {"--ticks", "40"}, 3, {"ended tick 40", "result 0"}, ""},
        {"end before the limit", "5 end\n", {"--ticks", "5"}, 0, {"ended tick 5", "result 0"}, ""},
        {"top row: the menu bar holds the frames",
         "5 move 400 0\n10 capture top\n20 end\n",
         {},
         0,
         {"ended tick 20", "result 0"},
         "capture top tick 10: no frame was drawn\n"},
        {"bad tick limit", "5 end\n", {"--ticks", "0"}, 1, {}, "--ticks must be 1..100000000\n"},
    };
    for (const Case& c : cases) {
        qvn::test::TempProgramDir dir;
        CopyDemoGame(dir);
        dir.writeFile("run.timeline", c.timeline);
        std::vector<std::string> arguments = {dir.path(), dir.path() + "/run.timeline"};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        const ToolRun run = RunTool(dir, arguments);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(dir.exists("qvn.log"), c.status == 0 || c.status == 3) << c.name;
    }
}

}  // namespace
