// Temporary files that writes killed before their rename left behind: the one running copy
// removes ours from the settings folder and the save folder as it starts, and nothing else; a
// second copy, which must not touch the running copy's writes, leaves every file alone.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/message_box.h"
#include "platform/win32/window_api.h"
#include "replay_harness.h"
#include "shell/shell_texts.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;

struct StaleFile {
    std::string path;  // relative to the program directory or, from "cfg/", the settings folder
    bool ours;         // a name our writes give their temporary files
};

const std::vector<StaleFile>& StaleFiles() {
    static const std::vector<StaleFile> files = {
        {"cfg/settings.txt.tmp-aZ09xY", true},
        {"cfg/settings.txt.tmp-Ab12C", false},
        {"cfg/settings.txt.tmp-Ab12Cd.old", false},
        {"cfg/notes.tmp", false},
        {"save/save05.dat.tmp", true},
        {"save/save20.dat.tmp", true},
        {"save/save91.dat.tmp", true},
        {"save/save5.dat.tmp", false},
        {"save/save05.dat.tmp.bak", false},
        {"save/other.tmp", false},
    };
    return files;
}

std::string Where(const ReplayHarness& game, const std::string& path) {
    if (path.rfind("cfg/", 0) == 0) {
        return game.dir().configHome() + "/Velkaro/qvn/" + path.substr(4);
    }
    return game.dir().path() + "/" + path;
}

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

TEST(StaleFilesTest, OnlyTheRunningCopyRemovesOnlyOurTemporaryFiles) {
    struct Case {
        const char* name;
        bool anotherCopyRuns;
    };
    const Case cases[] = {{"the one copy", false}, {"a second copy", true}};
    for (const Case& c : cases) {
        ReplayHarness game;
        game.PrepareGame(qvn::test::kReplayEndlessStart);
        for (const StaleFile& file : StaleFiles()) {
            const std::string path = Where(game, file.path);
            if (file.path.rfind("cfg/", 0) == 0) {
                std::filesystem::create_directories(std::filesystem::path(path).parent_path());
                std::ofstream(path) << "left by a killed write";
            } else {
                game.dir().writeFile(file.path, "left by a killed write");
            }
        }
        HWND first = nullptr;
        if (c.anotherCopyRuns) {
            WNDCLASSEXA windowClass{};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.lpszClassName = "qvn";
            ASSERT_NE(RegisterClassExA(&windowClass), 0);
            first = CreateWindowExA(0, "qvn", kWindowTitle, 0, 0, 0, 64, 64, nullptr, nullptr,
                                    nullptr, nullptr);
            ASSERT_NE(first, nullptr);
        }
        std::vector<std::string> presentAtFirstFrame;
        game.AddAction(1, [&] {
            for (const StaleFile& file : StaleFiles()) {
                if (Exists(Where(game, file.path))) {
                    presentAtFirstFrame.push_back(file.path);
                }
            }
        });
        game.Add({5, ReplayEvent::Kind::Close, IDYES});
        EXPECT_EQ(game.Run(), 0) << c.name;
        for (const StaleFile& file : StaleFiles()) {
            const bool kept = c.anotherCopyRuns || !file.ours;
            EXPECT_EQ(Exists(Where(game, file.path)), kept) << c.name << ": " << file.path;
        }
        if (c.anotherCopyRuns) {
            DestroyWindow(first);
            UnregisterClassA("qvn", nullptr);
        } else {
            std::vector<std::string> expected;
            for (const StaleFile& file : StaleFiles()) {
                if (!file.ours) {
                    expected.push_back(file.path);
                }
            }
            EXPECT_EQ(presentAtFirstFrame, expected) << "removed as the game starts";
        }
    }
}

}  // namespace
