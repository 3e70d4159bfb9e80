// Moving and sizing windows, full-screen placement, coordinates, screen size and painting.

#include <vector>

#include "platform/win32/paint_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "shell_window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;

constexpr DWORD kWindowed = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFullScreen = WS_POPUP | WS_VISIBLE | WS_SYSMENU;

class WindowPlacementTest : public win32_test_support::ShellWindowTest {
protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        recorder_ = &newRecorder();
        window_ = makeWindow(*recorder_, kWindowed, nullptr, "game", 800, 600);
        ASSERT_NE(window_, nullptr);
        recorder_->clear();
    }

    std::vector<UINT> messagesOf(const std::vector<UINT>& interesting) {
        dispatchAll();
        std::vector<UINT> got = recorder_->messages(interesting);
        recorder_->clear();
        return got;
    }

    RECT windowRect() {
        RECT rect{};
        EXPECT_TRUE(GetWindowRect(window_, &rect));
        return rect;
    }

    MessageRecorder* recorder_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(WindowPlacementTest, SetWindowPosMovesSizesAndReports) {
    ASSERT_TRUE(SetWindowPos(window_, HWND_TOP, 120, 80, 1024, 768, SWP_NOZORDER));
    std::vector<Received> got = recorder_->received();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_MOVE);
    EXPECT_EQ(got[0].lParam, MAKELPARAM(120, 80));
    EXPECT_EQ(got[1].message, WM_SIZE);
    EXPECT_EQ(got[1].wParam, SIZE_RESTORED);
    EXPECT_EQ(got[1].lParam, MAKELPARAM(1024, 768));
    recorder_->clear();

    ASSERT_TRUE(SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    ASSERT_TRUE(SetWindowPos(window_, nullptr, 5, 6, 0, 0, SWP_NOSIZE));
    EXPECT_EQ(messagesOf({WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE}));
    RECT rect = windowRect();
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.right, 5 + 1024);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    EXPECT_EQ(client.right, 1024);
    EXPECT_EQ(client.bottom, 768);

    ASSERT_TRUE(
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_FALSE(SetWindowPos(nullptr, nullptr, 0, 0, 1, 1, 0));
}

TEST_F(WindowPlacementTest, FullScreenWindowsCoverTheScreenFromTheOrigin) {
    ASSERT_TRUE(MoveWindow(window_, 300, 200, 800, 600, TRUE));
    POINT point{10, 10};
    ASSERT_TRUE(ClientToScreen(window_, &point));
    EXPECT_EQ(point.x, 310);
    EXPECT_EQ(point.y, 210);
    ASSERT_TRUE(ScreenToClient(window_, &point));
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, 10);
    EXPECT_EQ(Win32ScreenMetric(SM_CXSCREEN), 1920) << "the desktop while windowed";
    EXPECT_EQ(Win32ScreenMetric(SM_CYSCREEN), 1080);

    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(kFullScreen));
    ASSERT_TRUE(
        SetWindowPos(window_, nullptr, 300, 200, 800, 600, SWP_NOZORDER | SWP_FRAMECHANGED));
    ShowWindow(window_, SW_SHOW);
    RECT rect = windowRect();
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 800);
    point = POINT{10, 10};
    ASSERT_TRUE(ClientToScreen(window_, &point));
    EXPECT_EQ(point.x, 10) << "a full-screen client area is the screen";
    EXPECT_EQ(Win32ScreenMetric(SM_CXSCREEN), 800) << "the screen is the full-screen window's";
    EXPECT_EQ(Win32ScreenMetric(SM_CYSCREEN), 600);
    EXPECT_EQ(Win32ScreenMetric(42), 0);

    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(kWindowed | WS_VISIBLE));
    ASSERT_TRUE(SetWindowPos(window_, nullptr, 40, 30, 800, 600, SWP_FRAMECHANGED));
    EXPECT_EQ(windowRect().left, 40);
    EXPECT_EQ(Win32ScreenMetric(SM_CXSCREEN), 1920);
}

TEST_F(WindowPlacementTest, WindowRectanglesEqualClientRectangles) {
    RECT rect{0, 0, 800, 600};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, kWindowed, TRUE, WS_EX_APPWINDOW));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 800);
    EXPECT_EQ(rect.bottom, 600);
    EXPECT_FALSE(AdjustWindowRect(nullptr, kWindowed, FALSE));
    POINT point{};
    EXPECT_FALSE(ClientToScreen(nullptr, &point));
    EXPECT_FALSE(ScreenToClient(window_, nullptr));
}

TEST_F(WindowPlacementTest, PaintComesAfterPostedMessagesUntilValidated) {
    ShowWindow(window_, SW_SHOW);
    recorder_->clear();
    RECT first{10, 10, 20, 20};
    RECT second{30, 5, 2000, 15};
    ASSERT_TRUE(InvalidateRect(window_, &first, FALSE));
    ASSERT_TRUE(InvalidateRect(window_, &second, FALSE));
    PostMessageA(window_, WM_USER, 0, 0);
    EXPECT_NE(HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT, 0u);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(window_, &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.top, 5);
    EXPECT_EQ(update.right, 800) << "clipped to the client area";
    EXPECT_EQ(update.bottom, 20);

    RECT painted{};
    recorder_->setReply([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT paint{};
        EXPECT_NE(BeginPaint(window, &paint), nullptr);
        painted = paint.rcPaint;
        EndPaint(window, &paint);
        return 0;
    });
    EXPECT_EQ(messagesOf({WM_USER, WM_PAINT}), (std::vector<UINT>{WM_USER, WM_PAINT}));
    EXPECT_EQ(painted.left, 10);
    EXPECT_EQ(painted.right, 800);
    EXPECT_FALSE(GetUpdateRect(window_, &update, FALSE));
    EXPECT_TRUE(messagesOf({WM_PAINT}).empty());

    // A procedure that ignores WM_PAINT is not asked again until the next invalidation.
    recorder_->setReply([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_PAINT ? std::optional<LRESULT>(0) : std::nullopt;
    });
    ASSERT_TRUE(InvalidateRect(window_, nullptr, TRUE));
    EXPECT_EQ(messagesOf({WM_PAINT}), (std::vector<UINT>{WM_PAINT}));
    EXPECT_TRUE(GetUpdateRect(window_, &update, FALSE));

    RECT corner{0, 0, 10, 10};
    ASSERT_TRUE(ValidateRect(window_, &corner));
    EXPECT_TRUE(GetUpdateRect(window_, &update, FALSE)) << "a corner does not validate the whole";
    ASSERT_TRUE(UpdateWindow(window_));
    EXPECT_EQ(recorder_->messages({WM_PAINT}), (std::vector<UINT>{WM_PAINT}));
    ASSERT_TRUE(ValidateRect(window_, nullptr));
    EXPECT_FALSE(GetUpdateRect(window_, &update, FALSE));

    ShowWindow(window_, SW_HIDE);
    ASSERT_TRUE(InvalidateRect(window_, nullptr, FALSE));
    recorder_->clear();
    EXPECT_TRUE(messagesOf({WM_PAINT}).empty()) << "hidden windows are not painted";
    EXPECT_FALSE(InvalidateRect(nullptr, nullptr, FALSE));
}

}  // namespace
