// A second copy of the program finds the first one's window by class and title.

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/window_api.h"
#include "support/temp_program_dir.h"
#include "window_test_support.h"

namespace {

constexpr const char* kClass = "qvn";
// "Quorvane ～Ostrevia" with the full-width tilde in Shift-JIS.
constexpr const char* kTitle = "Quorvane \x81\x60Ostrevia";

LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterGameClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Procedure;
    windowClass.lpszClassName = kClass;
    return RegisterClassExA(&windowClass) != 0;
}

HWND MakeGameWindow() {
    return CreateWindowExA(WS_EX_APPWINDOW, kClass, kTitle, WS_CAPTION | WS_SYSMENU, 0, 0, 800, 600,
                           nullptr, nullptr, nullptr, nullptr);
}

// A copy of the program in a child process: it makes the game window, reports, and then waits
// for one byte: 'd' destroys the window and exits, anything else exits at once.
class OtherCopy {
public:
    OtherCopy() {
        if (pipe(ready_) != 0 || pipe(command_) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready_[0]);
            close(command_[1]);
            bool made = RegisterGameClass() && MakeGameWindow() != nullptr;
            char answer = made ? 'y' : 'n';
            if (write(ready_[1], &answer, 1) != 1) {
                _exit(2);
            }
            char order = 0;
            if (read(command_[0], &order, 1) == 1 && order == 'd') {
                DestroyWindow(FindWindowA(kClass, kTitle));
            }
            _exit(0);
        }
        close(ready_[1]);
        close(command_[0]);
        char answer = 0;
        started_ = read(ready_[0], &answer, 1) == 1 && answer == 'y';
    }
    ~OtherCopy() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool started() const { return started_; }
    void endCleanly() {
        char order = 'd';
        ASSERT_EQ(write(command_[1], &order, 1), 1);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    void crash() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    int ready_[2] = {-1, -1};
    int command_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool started_ = false;
};

std::vector<std::string> LockFiles(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* directory = opendir(folder.c_str())) {
        while (dirent* entry = readdir(directory)) {
            std::string name = entry->d_name;
            if (name.rfind("window-", 0) == 0) {
                names.push_back(name);
            }
        }
        closedir(directory);
    }
    return names;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    std::string lockFolder() const { return dir_.configHome() + "/Velkaro/qvn"; }
    qvn::test::TempProgramDir dir_;
};

TEST_F(SingleInstanceTest, TheWindowOfARunningCopyIsFound) {
    EXPECT_EQ(FindWindowA(kClass, kTitle), nullptr);
    OtherCopy other;
    ASSERT_TRUE(other.started());

    HWND found = FindWindowA(kClass, kTitle);
    EXPECT_NE(found, nullptr);
    EXPECT_FALSE(IsWindow(found)) << "a window of another process is no window of ours";
    EXPECT_NE(FindWindowA("QVN", "quorvane \x81\x60OSTREVIA"), nullptr) << "case does not matter";
    EXPECT_NE(FindWindowA(nullptr, kTitle), nullptr);
    EXPECT_NE(FindWindowA(kClass, nullptr), nullptr);
    EXPECT_EQ(FindWindowA(kClass, "Quorvane"), nullptr);
    EXPECT_EQ(FindWindowA("MUSIC", kTitle), nullptr);

    other.endCleanly();
    EXPECT_EQ(FindWindowA(kClass, kTitle), nullptr);
    EXPECT_TRUE(LockFiles(lockFolder()).empty());
}

TEST_F(SingleInstanceTest, ACrashedCopyNeverBlocksTheNextStart) {
    OtherCopy other;
    ASSERT_TRUE(other.started());
    other.crash();
    EXPECT_EQ(LockFiles(lockFolder()).size(), 1u) << "the crash left its file";
    EXPECT_EQ(FindWindowA(kClass, kTitle), nullptr);
    EXPECT_TRUE(LockFiles(lockFolder()).empty()) << "the search cleared the stale file";
}

// The next start's search clears every file of copies that are gone, even when it finds a live
// copy: a crashed copy's lock file and the half-made one of a copy that died while making it.
TEST_F(SingleInstanceTest, FilesOfDeadCopiesGoAtTheNextSearch) {
    OtherCopy crashed;
    ASSERT_TRUE(crashed.started());
    crashed.crash();
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string halfMade = "window-" + std::to_string(gone) + "-1.tmp";
    std::ofstream(lockFolder() + "/" + halfMade) << "qvn\n";
    ASSERT_EQ(LockFiles(lockFolder()).size(), 2u);

    OtherCopy live;
    ASSERT_TRUE(live.started());
    EXPECT_NE(FindWindowA(kClass, kTitle), nullptr);
    const std::vector<std::string> left = LockFiles(lockFolder());
    ASSERT_EQ(left.size(), 1u) << "only the live copy's file stays";
    EXPECT_EQ(left[0].size() > 5 ? left[0].substr(left[0].size() - 5) : "", ".lock");
    live.endCleanly();
}

TEST_F(SingleInstanceTest, OwnMainWindowHoldsALockWhileItLives) {
    ASSERT_TRUE(RegisterGameClass());
    HWND window = MakeGameWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FindWindowA(kClass, kTitle), window);
    ASSERT_EQ(LockFiles(lockFolder()).size(), 1u);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(LockFiles(lockFolder()).empty());
    EXPECT_TRUE(UnregisterClassA(kClass, nullptr));
}

}  // namespace
