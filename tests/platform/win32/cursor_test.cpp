// The pointer calls, and how a client area shown scaled maps to the SDL window's pixels.

#include <vector>

#include "platform/win32/client_mapping.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "shell_window_test_support.h"

namespace {

using win32_internal::ClientToOutput;
using win32_internal::OutputToClient;

class CursorTest : public win32_test_support::ShellWindowTest {};

TEST_F(CursorTest, DisplayCounterAndShape) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(32513)), nullptr);

    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);

    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SetCursor(arrow), nullptr);
}

TEST_F(CursorTest, PositionsFollowWindowsAndTheClipRectangle) {
    auto& recorder = newRecorder();
    HWND window = makeWindow(recorder, WS_CAPTION, nullptr, "game", 800, 600);
    ASSERT_TRUE(MoveWindow(window, 100, 50, 800, 600, FALSE));

    POINT at{};
    ASSERT_TRUE(SetCursorPos(130, 70));
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 130);
    EXPECT_EQ(at.y, 70);
    ASSERT_TRUE(ScreenToClient(window, &at));
    EXPECT_EQ(at.x, 30);
    EXPECT_EQ(at.y, 20);

    win32_test::InjectMouseMove(window, 7, 9);
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 107);
    EXPECT_EQ(at.y, 59);

    RECT clip{200, 100, 300, 150};
    ASSERT_TRUE(ClipCursor(&clip));
    RECT got{};
    ASSERT_TRUE(GetClipCursor(&got));
    EXPECT_EQ(got.right, 300);
    struct Case {
        int x, y, wantX, wantY;
    };
    for (const Case& c :
         {Case{0, 0, 200, 100}, Case{250, 120, 250, 120}, Case{999, 999, 299, 149}}) {
        SCOPED_TRACE(c.x);
        ASSERT_TRUE(SetCursorPos(c.x, c.y));
        ASSERT_TRUE(GetCursorPos(&at));
        EXPECT_EQ(at.x, c.wantX);
        EXPECT_EQ(at.y, c.wantY);
    }
    // Reported movement is held inside the clip too, and the client position follows it.
    win32_test::InjectMouseMove(window, 0, 0);
    dispatchAll();
    std::vector<win32_test_support::Received> moves;
    for (const auto& r : recorder.received()) {
        if (r.message == WM_MOUSEMOVE) {
            moves.push_back(r);
        }
    }
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(100, 50));

    ASSERT_TRUE(ClipCursor(nullptr));
    ASSERT_TRUE(GetClipCursor(&got));
    EXPECT_EQ(got.right, 1920) << "no clip: the whole screen";
    ASSERT_TRUE(SetCursorPos(5, 5));
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 5);
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST(ClientMappingTest, ScaledClientAreasMapBothWays) {
    struct Case {
        const char* name;
        SIZE client;
        SIZE output;
        POINT outputPoint;
        bool clamp;
        POINT want;
    };
    const Case cases[] = {
        {"same size", {800, 600}, {800, 600}, {17, 599}, false, {17, 599}},
        {"pillarbox left edge", {800, 600}, {1920, 1080}, {240, 0}, false, {0, 0}},
        {"pillarbox far corner", {800, 600}, {1920, 1080}, {1679, 1079}, false, {799, 599}},
        {"left bar unclamped", {800, 600}, {1920, 1080}, {0, 0}, false, {-134, 0}},
        {"left bar clamped", {800, 600}, {1920, 1080}, {0, 0}, true, {0, 0}},
        {"right bar clamped", {800, 600}, {1920, 1080}, {1919, 500}, true, {799, 277}},
        {"letterbox top bar", {800, 600}, {800, 1000}, {400, 50}, true, {400, 0}},
        {"exact double", {640, 480}, {1280, 960}, {1279, 959}, false, {639, 479}},
        {"empty client", {0, 0}, {1920, 1080}, {5, 6}, false, {5, 6}},
        {"empty output", {800, 600}, {0, 0}, {5, 6}, true, {5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        POINT got = OutputToClient(c.client, c.output, c.outputPoint, c.clamp);
        EXPECT_EQ(got.x, c.want.x);
        EXPECT_EQ(got.y, c.want.y);
    }
    // Every client pixel maps to an output pixel that maps back to it.
    for (const SIZE output :
         {SIZE{1920, 1080}, SIZE{1366, 768}, SIZE{800, 600}, SIZE{1024, 1280}}) {
        for (const POINT client :
             {POINT{0, 0}, POINT{399, 299}, POINT{799, 599}, POINT{123, 456}}) {
            POINT there = ClientToOutput(SIZE{800, 600}, output, client);
            POINT back = OutputToClient(SIZE{800, 600}, output, there, false);
            EXPECT_EQ(back.x, client.x) << output.cx << "x" << output.cy;
            EXPECT_EQ(back.y, client.y) << output.cx << "x" << output.cy;
        }
    }
}

}  // namespace
