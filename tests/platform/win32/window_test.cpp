#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/timer_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/file_api.h"
#include "window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;
using win32_test_support::WindowTest;

using WindowLifeTest = WindowTest;

const std::vector<UINT> kLifeMessages = {WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW, WM_DESTROY,
                                         WM_NCDESTROY};

TEST_F(WindowLifeTest, CreationSendsNcCreateAndCreateWithTheParameter) {
    MessageRecorder& recorder = newRecorder();
    std::vector<std::string> createdTitles;
    recorder.setReply([&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            EXPECT_EQ(create->lpCreateParams, &recorder);
            EXPECT_EQ(create->cx, 320);
            EXPECT_EQ(create->cy, 240);
            EXPECT_EQ(static_cast<DWORD>(create->style), WS_CAPTION | WS_VISIBLE);
            createdTitles.emplace_back(create->lpszName);
        }
        return std::nullopt;
    });
    HWND window = makeWindow(recorder, WS_CAPTION | WS_VISIBLE, nullptr, "Title");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(recorder.messages(kLifeMessages),
              (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW}));
    EXPECT_EQ(createdTitles, (std::vector<std::string>{"Title"}));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), WS_CAPTION | WS_VISIBLE);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
}

TEST_F(WindowLifeTest, CreationFailsWhenTheProcedureRefuses) {
    struct Case {
        const char* name;
        UINT refusedMessage;
        LRESULT refusal;
        std::vector<UINT> expected;
    };
    const Case cases[] = {
        {"WM_CREATE answers -1", WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
        {"WM_NCCREATE answers FALSE", WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
    };
    for (const Case& c : cases) {
        MessageRecorder& recorder = newRecorder();
        recorder.setReply([&](HWND, UINT message, WPARAM, LPARAM) {
            return message == c.refusedMessage ? std::optional<LRESULT>(c.refusal) : std::nullopt;
        });
        EXPECT_EQ(makeWindow(recorder, WS_VISIBLE), nullptr) << c.name;
        EXPECT_EQ(recorder.messages(kLifeMessages), c.expected) << c.name;
        ASSERT_FALSE(recorder.received().empty());
        EXPECT_FALSE(IsWindow(recorder.received().front().window)) << c.name;
    }
    // No window of the class is left behind, so the class can go.
    EXPECT_TRUE(UnregisterClassA(win32_test_support::kRecorderClass, nullptr));
    SetUp();
}

TEST_F(WindowLifeTest, DestroyNotifiesParentAndChildrenAndDropsTheirQueue) {
    win32_test::UseManualClock(true);
    MessageRecorder& parentRecorder = newRecorder();
    MessageRecorder& childRecorder = newRecorder();
    HWND parent = makeWindow(parentRecorder);
    HWND child = makeWindow(childRecorder, WS_CHILD, parent);
    ASSERT_NE(child, nullptr);
    ASSERT_NE(SetTimer(parent, 1, 10, nullptr), 0u);
    ASSERT_NE(SetTimer(child, 2, 10, nullptr), 0u);
    ASSERT_TRUE(PostMessageA(parent, WM_USER, 0, 0));
    ASSERT_TRUE(PostMessageA(child, WM_USER, 0, 0));
    ASSERT_TRUE(PostMessageA(nullptr, WM_USER + 1, 0, 0));

    // The order in which both procedures see the end.
    std::vector<std::pair<HWND, UINT>> order;
    auto note = [&](HWND window, UINT message, WPARAM, LPARAM) {
        if (message == WM_DESTROY || message == WM_NCDESTROY) {
            order.emplace_back(window, message);
            EXPECT_TRUE(IsWindow(window)) << "the handle stays valid until WM_NCDESTROY returns";
        }
        return std::optional<LRESULT>();
    };
    parentRecorder.setReply(note);
    childRecorder.setReply(note);
    ASSERT_TRUE(DestroyWindow(parent));

    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{parent, WM_DESTROY},
                                                         {child, WM_DESTROY},
                                                         {child, WM_NCDESTROY},
                                                         {parent, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(DestroyWindow(parent));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

    win32_test::AdvanceClockMicroseconds(1000 * 1000);
    std::vector<MSG> left = drain();
    ASSERT_EQ(left.size(), 1u) << "only the thread message survives";
    EXPECT_EQ(left[0].message, WM_USER + 1);
}

TEST_F(WindowLifeTest, DefaultProcedureClosesTheWindow) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(recorder.messages({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

TEST_F(WindowLifeTest, OnlyTheCreatingThreadDestroysAndItsEndTakesItsWindows) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    std::thread other([window] {
        EXPECT_FALSE(DestroyWindow(window));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    });
    other.join();
    EXPECT_TRUE(IsWindow(window));

    HWND workerWindow = nullptr;
    MessageRecorder& workerRecorder = newRecorder();
    std::thread worker([&] { workerWindow = makeWindow(workerRecorder); });
    worker.join();
    ASSERT_NE(workerWindow, nullptr);
    EXPECT_FALSE(IsWindow(workerWindow));
    EXPECT_EQ(SendMessageA(workerWindow, WM_USER, 0, 0), 0);
}

using WindowClassTest = WindowTest;

TEST_F(WindowClassTest, RegistrationAndCreationErrors) {
    WNDCLASSEXA again{};
    again.cbSize = sizeof(again);
    again.lpfnWndProc = &DefWindowProcA;
    again.lpszClassName = "qvnrecorder";  // the registered name in another case
    EXPECT_EQ(RegisterClassExA(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    again.cbSize = 0;
    EXPECT_EQ(RegisterClassExA(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(
        CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    MessageRecorder& recorder = newRecorder();
    EXPECT_EQ(makeWindow(recorder, WS_CHILD), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);

    HWND window = makeWindow(recorder);
    EXPECT_FALSE(UnregisterClassA(win32_test_support::kRecorderClass, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(UnregisterClassA("NoSuchClass", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

LRESULT SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC previousProcedure = nullptr;
LRESULT SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 7) {
        return 77;
    }
    return CallWindowProcA(previousProcedure, window, message, wParam, lParam);
}

using WindowLongTest = WindowTest;

TEST_F(WindowLongTest, ValuesSubclassingAndBadIndices) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder, WS_CAPTION | WS_VISIBLE);

    previousProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProcedure)));
    EXPECT_EQ(previousProcedure, &MessageRecorder::Procedure);
    EXPECT_EQ(SendMessageA(window, WM_USER + 7, 0, 0), 77);
    recorder.clear();
    SendMessageA(window, WM_USER + 8, 0, 0);
    EXPECT_EQ(recorder.messages(), (std::vector<UINT>{WM_USER + 8}))
        << "other messages pass to the former procedure";
    EXPECT_EQ(SetWindowLongPtrA(window, GWLP_WNDPROC, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // The style follows the caller, except that visibility follows ShowWindow.
    EXPECT_EQ(static_cast<DWORD>(SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP))),
              WS_CAPTION | WS_VISIBLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), WS_POPUP | WS_VISIBLE);
    EXPECT_TRUE(ShowWindow(window, SW_MINIMIZE));
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(ShowWindow(window, SW_RESTORE));
    EXPECT_FALSE(IsIconic(window));

    struct BadIndex {
        const char* name;
        int index;
        bool wide;
    };
    const BadIndex badIndices[] = {
        {"unknown negative index", -99, true},
        {"window extra bytes", 0, true},
        {"procedure through the 32-bit form", GWLP_WNDPROC, false},
        {"instance through the 32-bit form", GWLP_HINSTANCE, false},
    };
    for (const BadIndex& c : badIndices) {
        SetLastError(0);
        if (c.wide) {
            EXPECT_EQ(GetWindowLongPtrA(window, c.index), 0) << c.name;
        } else {
            EXPECT_EQ(GetWindowLongA(window, c.index), 0) << c.name;
        }
        EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX) << c.name;
    }
}

TEST_F(WindowLongTest, TitlesAndFindingWindows) {
    MessageRecorder& recorder = newRecorder();
    // "テスト" in Shift-JIS: three double-byte characters.
    const char title[] = "\x83\x65\x83\x58\x83\x67";
    HWND window = makeWindow(recorder, WS_VISIBLE, nullptr, title);
    HWND child = makeWindow(recorder, WS_CHILD, window, "child");

    char buffer[16];
    struct Case {
        int size;
        int expectedLength;
    };
    for (Case c : {Case{16, 6}, Case{7, 6}, Case{6, 4}, Case{2, 0}, Case{1, 0}}) {
        std::memset(buffer, 'x', sizeof(buffer));
        EXPECT_EQ(GetWindowTextA(window, buffer, c.size), c.expectedLength) << c.size;
        EXPECT_EQ(std::strlen(buffer), static_cast<std::size_t>(c.expectedLength)) << c.size;
    }
    EXPECT_EQ(GetWindowTextLengthA(window), 6);

    EXPECT_EQ(FindWindowA("QVNRECORDER", title), window);
    EXPECT_EQ(FindWindowA(nullptr, title), window);
    EXPECT_EQ(FindWindowA(win32_test_support::kRecorderClass, "other"), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "child"), nullptr) << "child windows are not top-level";
    ASSERT_TRUE(SetWindowTextA(window, "Renamed"));
    EXPECT_EQ(FindWindowA(nullptr, "RENAMED"), window);
    EXPECT_EQ(GetParent(child), window);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(FindWindowA(win32_test_support::kRecorderClass, nullptr), nullptr);
}

}  // namespace
