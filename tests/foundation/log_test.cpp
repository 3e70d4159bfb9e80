#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "foundation_fixture.h"

namespace foundation_testing {
namespace {

class LogFileTest : public FoundationTest {};

TEST_F(LogFileTest, FirstLineOfARunReplacesTheOldLogAndLaterLinesAppend) {
    dir_->writeFile("qvn.log", "line of the last run\r\n");
    LogPrintf("first %d", 1);
    LogPrintf("second %s", "line");
    EXPECT_EQ(LogText(), "first 1\r\nsecond line\r\n");

    // A new run (the flag reset) truncates again.
    foundation_test::ResetLogState();
    WriteLogLine("new run");
    EXPECT_EQ(LogText(), "new run\r\n");
}

TEST_F(LogFileTest, LongTextIsCutAt1021Characters) {
    const std::string longText(1500, 'x');
    LogPrintf("%s", longText.c_str());
    const std::string exact(1021, 'y');
    LogPrintf("%s", exact.c_str());
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(1021, 'x'));
    EXPECT_EQ(lines[1], exact);
    EXPECT_EQ(LogText().size(), 2 * (1021u + 2u));
}

TEST_F(LogFileTest, DisabledLogWritesNothing) {
    SetLogEnabled(0);
    LogPrintf("hidden");
    EXPECT_FALSE(dir_->exists("qvn.log"));
    SetLogEnabled(5);
    LogPrintf("shown");
    EXPECT_EQ(LogText(), "shown\r\n");
}

TEST_F(LogFileTest, LinesFromTwoThreadsStayWhole) {
    constexpr int kLines = 300;
    auto writer = [](char tag) {
        for (int i = 0; i < kLines; ++i) {
            LogPrintf("%c%04d %s", tag, i, std::string(60, tag).c_str());
        }
    };
    std::thread music(writer, 'm');
    writer('g');
    music.join();
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u * kLines);
    int musicLines = 0;
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 66u) << line;
        const char tag = line[0];
        EXPECT_EQ(line.substr(6), std::string(60, tag));
        musicLines += tag == 'm';
    }
    EXPECT_EQ(musicLines, kLines);
}

}  // namespace
}  // namespace foundation_testing
