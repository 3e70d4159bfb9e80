#include <atomic>
#include <thread>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/timer_api.h"
#include "platform/winbase/test_hooks.h"
#include "window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::WindowTest;

class TimerTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        win32_test::UseManualClock(true);
    }

    // The ids of the WM_TIMER messages now retrievable for `window`.
    static std::vector<UINT_PTR> dueTimerIds(HWND window) {
        std::vector<UINT_PTR> ids;
        for (const MSG& message : drain()) {
            if (message.message == WM_TIMER && message.hwnd == window) {
                ids.push_back(message.wParam);
            }
        }
        return ids;
    }
};

TEST_F(TimerTest, DueTimersComeOutInDueOrderOncePerTimer) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 9001, 300, nullptr), 0u);
    ASSERT_NE(SetTimer(window, 9002, 100, nullptr), 0u);
    ASSERT_NE(SetTimer(window, 9003, 200, nullptr), 0u);

    advanceMs(99);
    EXPECT_TRUE(dueTimerIds(window).empty());

    // All three are due; the one that waited longest comes first, and a timer that missed
    // several periods gives one message, not a burst.
    advanceMs(251);  // 350 ms
    EXPECT_EQ(dueTimerIds(window), (std::vector<UINT_PTR>{9002, 9003, 9001}));
    EXPECT_TRUE(dueTimerIds(window).empty());
}

TEST_F(TimerTest, LateReaderKeepsThePeriodsCadence) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 2, 50, nullptr), 0u);

    advanceMs(130);  // due at 50 and 100: one message
    EXPECT_EQ(dueTimerIds(window).size(), 1u);
    advanceMs(19);  // 149: next due at 150
    EXPECT_TRUE(dueTimerIds(window).empty());
    advanceMs(1);
    EXPECT_EQ(dueTimerIds(window).size(), 1u);
}

TEST_F(TimerTest, KillAndReplaceAffectOnlyTheNamedTimer) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 7, 100, nullptr), 0u);
    ASSERT_NE(SetTimer(window, 8, 100, nullptr), 0u);
    EXPECT_TRUE(KillTimer(window, 7));
    EXPECT_FALSE(KillTimer(window, 7));

    advanceMs(100);
    EXPECT_EQ(dueTimerIds(window), (std::vector<UINT_PTR>{8}));

    // Setting id 8 again replaces it: the new period counts from now.
    ASSERT_NE(SetTimer(window, 8, 300, nullptr), 0u);
    advanceMs(200);  // 300: the old period would have fired twice by now
    EXPECT_TRUE(dueTimerIds(window).empty());
    advanceMs(100);  // 400
    EXPECT_EQ(dueTimerIds(window), (std::vector<UINT_PTR>{8}));
}

TEST_F(TimerTest, KilledTimerThatWasAlreadyDueGivesNoMessage) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 9000, 100, nullptr), 0u);
    advanceMs(100);
    EXPECT_NE(GetQueueStatus(QS_TIMER) >> 16, 0u);
    // A sound deleted on the streaming thread kills its timer on the game window.
    std::thread killer([window] { EXPECT_TRUE(KillTimer(window, 9000)); });
    killer.join();
    EXPECT_TRUE(dueTimerIds(window).empty());
}

TEST_F(TimerTest, PeriodBelowTheMinimumUsesTheMinimum) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 1, 0, nullptr), 0u);
    advanceMs(USER_TIMER_MINIMUM - 1);
    EXPECT_TRUE(dueTimerIds(window).empty());
    advanceMs(1);
    EXPECT_EQ(dueTimerIds(window).size(), 1u);
}

TEST_F(TimerTest, PostedMessagesComeBeforeADueTimer) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 1, 10, nullptr), 0u);
    advanceMs(10);
    ASSERT_TRUE(PostMessageA(window, WM_USER, 0, 0));
    std::vector<MSG> messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_USER);
    EXPECT_EQ(messages[1].message, WM_TIMER);
}

TEST_F(TimerTest, WindowTimerReachesTheProcedureThroughDispatch) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 2, 50, nullptr), 0u);
    advanceMs(50);
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    DispatchMessageA(&message);
    std::vector<win32_test_support::Received> received = recorder.received();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back().message, WM_TIMER);
    EXPECT_EQ(received.back().wParam, 2u);
    EXPECT_EQ(received.back().lParam, 0);
}

std::vector<UINT_PTR> timerProcCalls;
void RecordTimerProc(HWND window, UINT message, UINT_PTR id, DWORD /*time*/) {
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(message, WM_TIMER);
    timerProcCalls.push_back(id);
}
void OtherTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    ADD_FAILURE() << "a forged WM_TIMER reached a procedure";
}

TEST_F(TimerTest, ThreadTimerCallsItsProcedureThroughDispatch) {
    timerProcCalls.clear();
    UINT_PTR id = SetTimer(nullptr, 0, 40, &RecordTimerProc);
    ASSERT_NE(id, 0u);
    // Setting it again by its id replaces it and keeps the id.
    EXPECT_EQ(SetTimer(nullptr, id, 40, &RecordTimerProc), id);

    advanceMs(40);
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wParam, id);
    EXPECT_EQ(message.lParam, reinterpret_cast<LPARAM>(&RecordTimerProc));
    DispatchMessageA(&message);
    EXPECT_EQ(timerProcCalls, (std::vector<UINT_PTR>{id}));

    // A posted WM_TIMER naming a procedure that is not the timer's own calls nothing.
    MSG forged{nullptr, WM_TIMER, id, reinterpret_cast<LPARAM>(&OtherTimerProc), 0, POINT{}};
    DispatchMessageA(&forged);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(TimerTest, BlockingGetMessageWakesWhenAnotherThreadAdvancesTheClock) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_NE(SetTimer(window, 5, 1000, nullptr), 0u);
    std::thread advancer([] { win32_test::AdvanceClockMicroseconds(1000 * 1000); });
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    advancer.join();
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wParam, 5u);
}

TEST_F(TimerTest, RefusesAnInvalidWindow) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(SetTimer(window, 1, 100, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(KillTimer(window, 1));
}

}  // namespace
