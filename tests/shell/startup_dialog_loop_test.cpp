#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/foundation_test.h"
#include "shell/startup_settings.h"
#include "support/temp_program_dir.h"

namespace {

std::vector<int> answers;
std::vector<int> shown;

int ScriptedDialog(int resource) {
    shown.push_back(resource);
    if (answers.empty()) {
        ADD_FAILURE() << "the dialog was shown once too often";
        return 2;
    }
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

TEST(StartupDialogLoopTest, PagesFollowTheResultsAndAFailedDialogLeaves) {
    struct Case {
        const char* name;
        std::vector<int> results;
        bool plays;
        std::vector<int> pages;
        bool logged;
    };
    const Case cases[] = {
        {"play at once", {1}, true, {109}, false},
        {"details, then play", {3, 1}, true, {109, 210}, false},
        {"details twice", {3, 3, 1}, true, {109, 210, 210}, false},
        {"back to the desktop", {2}, false, {109}, false},
        {"details, then leave", {3, 2}, false, {109, 210}, false},
        {"the dialog failed", {-1}, false, {109}, true},
        {"details, then simple, then play", {3, 1246, 1}, true, {109, 210, 109}, false},
        {"an unknown result shows the simple page", {3, 0, 1}, true, {109, 210, 109}, false},
    };
    for (const Case& c : cases) {
        qvn::test::TempProgramDir dir;
        foundation_test::ResetState();
        answers = c.results;
        shown.clear();
        EXPECT_EQ(RunStartupDialogLoop(ScriptedDialog), c.plays) << c.name;
        EXPECT_EQ(shown, c.pages) << c.name;
        EXPECT_TRUE(answers.empty()) << c.name;
        const bool logged =
            dir.readFile("qvn.log").find("startup dialog: failed") != std::string::npos;
        EXPECT_EQ(logged, c.logged) << c.name;
    }
}

}  // namespace
