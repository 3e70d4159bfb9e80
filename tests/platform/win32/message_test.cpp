#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_api.h"
#include "window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;
using win32_test_support::WindowTest;

using MessageTest = WindowTest;

constexpr UINT kDone = WM_APP + 99;

TEST_F(MessageTest, PostedAndSentMessagesReachTheProcedureWithTheirParameters) {
    MessageRecorder& recorder = newRecorder();
    recorder.setReply([](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        return message == WM_USER + 2
                   ? std::optional<LRESULT>(static_cast<LRESULT>(wParam) * lParam)
                   : std::nullopt;
    });
    HWND window = makeWindow(recorder);
    recorder.clear();

    ASSERT_TRUE(PostMessageA(window, WM_USER + 1, 11, -22));
    EXPECT_TRUE(recorder.received().empty()) << "posting must not call the procedure";
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.hwnd, window);
    DispatchMessageA(&message);

    EXPECT_EQ(SendMessageA(window, WM_USER + 2, 6, 7), 42);

    std::vector<Received> received = recorder.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, WM_USER + 1);
    EXPECT_EQ(received[0].wParam, 11u);
    EXPECT_EQ(received[0].lParam, -22);
    EXPECT_EQ(received[1].message, WM_USER + 2);
}

TEST_F(MessageTest, PostFromAnotherThreadWakesABlockingGetMessage) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    std::thread poster([window] { EXPECT_TRUE(PostMessageA(window, WM_USER + 3, 1, 2)); });
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    poster.join();
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.message, WM_USER + 3);
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_EQ(message.lParam, 2);
}

TEST_F(MessageTest, SendFromAnotherThreadRunsOnTheOwnerAndReturnsTheReply) {
    MessageRecorder& recorder = newRecorder();
    recorder.setReply([](HWND, UINT message, WPARAM wParam, LPARAM) {
        return message == WM_USER + 4 ? std::optional<LRESULT>(wParam + 1) : std::nullopt;
    });
    HWND window = makeWindow(recorder);
    std::atomic<LRESULT> reply{0};
    std::thread sender([&] {
        reply = SendMessageA(window, WM_USER + 4, 41, 0);
        PostMessageA(window, kDone, 0, 0);
    });
    // Sent messages are answered inside GetMessage; it returns only the posted marker.
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    sender.join();
    EXPECT_EQ(message.message, kDone);
    EXPECT_EQ(reply.load(), 42);
    std::vector<Received> received = recorder.received();
    auto sent = std::find_if(received.begin(), received.end(),
                             [](const Received& r) { return r.message == WM_USER + 4; });
    ASSERT_NE(sent, received.end());
    EXPECT_EQ(sent->thread, GetCurrentThreadId());
}

TEST_F(MessageTest, ThreadsSendingToEachOtherDoNotDeadlock) {
    // The worker's window, while answering the main thread's send, sends back to the main
    // thread's window; the main thread must answer that while it waits.
    MessageRecorder& mainRecorder = newRecorder();
    mainRecorder.setReply([](HWND, UINT message, WPARAM, LPARAM) {
        return message == WM_USER + 6 ? std::optional<LRESULT>(100) : std::nullopt;
    });
    HWND mainWindow = makeWindow(mainRecorder);

    std::atomic<HWND> workerWindow{nullptr};
    std::atomic<DWORD> workerThread{0};
    std::thread worker([&] {
        workerThread = GetCurrentThreadId();
        MessageRecorder& workerRecorder = newRecorder();
        workerRecorder.setReply([mainWindow](HWND, UINT message, WPARAM, LPARAM) {
            if (message != WM_USER + 5) {
                return std::optional<LRESULT>();
            }
            return std::optional<LRESULT>(SendMessageA(mainWindow, WM_USER + 6, 0, 0) + 1);
        });
        HWND window = CreateWindowExA(0, win32_test_support::kRecorderClass, "worker", 0, 0, 0, 10,
                                      10, nullptr, nullptr, nullptr, &workerRecorder);
        ASSERT_NE(window, nullptr);
        workerWindow = window;
        PostMessageA(mainWindow, kDone, 0, 0);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        DestroyWindow(window);
    });
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);  // the worker's window exists
    EXPECT_EQ(SendMessageA(workerWindow.load(), WM_USER + 5, 0, 0), 101);
    EXPECT_TRUE(PostThreadMessageA(workerThread.load(), WM_QUIT, 0, 0));
    worker.join();
}

TEST_F(MessageTest, QuitComesAfterEveryPostedMessage) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    ASSERT_TRUE(PostMessageA(window, WM_USER + 1, 0, 0));
    PostQuitMessage(7);
    ASSERT_TRUE(PostMessageA(window, WM_USER + 2, 0, 0));
    // The main loop asks the queue's status before it peeks: the quit must show there.
    EXPECT_NE(HIWORD(GetQueueStatus(QS_ALLINPUT)) & QS_POSTMESSAGE, 0u);

    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, WM_USER + 1);
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 1);
    EXPECT_EQ(message.message, WM_USER + 2);
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), 0);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(MessageTest, PeekFiltersByWindowRangeAndRemoval) {
    MessageRecorder& first = newRecorder();
    MessageRecorder& second = newRecorder();
    HWND one = makeWindow(first);
    HWND two = makeWindow(second);
    ASSERT_TRUE(PostMessageA(one, WM_USER + 1, 0, 0));
    ASSERT_TRUE(PostMessageA(two, WM_USER + 2, 0, 0));
    ASSERT_TRUE(PostMessageA(nullptr, WM_USER + 3, 0, 0));
    ASSERT_TRUE(PostMessageA(one, WM_APP, 0, 0));

    struct Case {
        const char* name;
        HWND filter;
        UINT first;
        UINT last;
        UINT expected;
    };
    const Case cases[] = {
        {"any window, any message", nullptr, 0, 0, WM_USER + 1},
        {"second window", two, 0, 0, WM_USER + 2},
        {"thread messages only", win32_test_support::ThreadOnly(), 0, 0, WM_USER + 3},
        {"range", nullptr, WM_APP, WM_APP, WM_APP},
        {"window and range", one, WM_USER + 2, WM_APP, WM_APP},
    };
    for (const Case& c : cases) {
        MSG message;
        ASSERT_TRUE(PeekMessageA(&message, c.filter, c.first, c.last, PM_NOREMOVE)) << c.name;
        EXPECT_EQ(message.message, c.expected) << c.name;
    }
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, two, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(drain().size(), 4u) << "PM_NOREMOVE must leave every message in place";
}

TEST_F(MessageTest, QueueStatusTellsWhatIsThereAndWhatIsNew) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    drain();
    EXPECT_EQ(GetQueueStatus(QS_ALLINPUT), 0u);

    ASSERT_TRUE(PostMessageA(window, WM_USER, 0, 0));
    DWORD status = GetQueueStatus(QS_ALLINPUT);
    EXPECT_NE(HIWORD(status) & QS_POSTMESSAGE, 0u);
    EXPECT_NE(LOWORD(status) & QS_POSTMESSAGE, 0u);
    // Seen once: no longer new, still there.
    status = GetQueueStatus(QS_ALLINPUT);
    EXPECT_NE(HIWORD(status) & QS_POSTMESSAGE, 0u);
    EXPECT_EQ(LOWORD(status) & QS_POSTMESSAGE, 0u);
    // A kind outside the mask is not reported.
    EXPECT_EQ(GetQueueStatus(QS_KEY), 0u);

    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0));
    EXPECT_NE(HIWORD(GetQueueStatus(QS_ALLINPUT)) & QS_KEY, 0u);
    drain();
    EXPECT_EQ(GetQueueStatus(QS_ALLINPUT), 0u);
}

TEST_F(MessageTest, WaitMessageReturnsForAMessageNotSeenBefore) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    std::thread poster([window] { PostMessageA(window, WM_USER, 0, 0); });
    EXPECT_TRUE(WaitMessage());
    poster.join();
    EXPECT_EQ(drain().size(), 1u);
}

TEST_F(MessageTest, TranslateMessagePutsTheCharacterNext) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        UINT expectedMessage;  // 0: no character
        WPARAM expectedCharacter;
    };
    const Case cases[] = {
        {"letter comes out in lower case", WM_KEYDOWN, 'P', WM_CHAR, 'p'},
        {"digit", WM_KEYDOWN, '7', WM_CHAR, '7'},
        {"space", WM_KEYDOWN, VK_SPACE, WM_CHAR, ' '},
        {"numeric pad", WM_KEYDOWN, VK_NUMPAD0 + 4, WM_CHAR, '4'},
        {"enter", WM_KEYDOWN, VK_RETURN, WM_CHAR, '\r'},
        {"system key", WM_SYSKEYDOWN, 'F', WM_SYSCHAR, 'f'},
        {"function key", WM_KEYDOWN, VK_F1, 0, 0},
        {"arrow", WM_KEYDOWN, VK_LEFT, 0, 0},
        {"key up", WM_KEYUP, 'A', 0, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(PostMessageA(window, WM_USER + 9, 0, 0));  // posted before the character
        MSG key{window, c.message, c.key, 0x1E0001, 0, POINT{}};
        EXPECT_TRUE(TranslateMessage(&key)) << c.name;
        std::vector<MSG> messages = drain();
        if (c.expectedMessage == 0) {
            ASSERT_EQ(messages.size(), 1u) << c.name;
            continue;
        }
        ASSERT_EQ(messages.size(), 2u) << c.name;
        EXPECT_EQ(messages[0].message, c.expectedMessage) << c.name;
        EXPECT_EQ(messages[0].wParam, c.expectedCharacter) << c.name;
        EXPECT_EQ(messages[0].lParam, 0x1E0001) << c.name;
        EXPECT_EQ(messages[1].message, WM_USER + 9) << c.name;
    }
    MSG other{window, WM_USER, 'A', 0, 0, POINT{}};
    EXPECT_FALSE(TranslateMessage(&other));
}

TEST_F(MessageTest, BadTargetsAndAFullQueueAreRefused) {
    MessageRecorder& recorder = newRecorder();
    HWND window = makeWindow(recorder);
    HWND gone = makeWindow(recorder);
    ASSERT_TRUE(DestroyWindow(gone));

    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
    MSG message;
    EXPECT_EQ(GetMessageA(&message, gone, 0, 0), -1);
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
    {
        // A window of another thread: its messages never come to this queue.
        std::promise<HWND> created;
        std::promise<void> checked;
        std::thread owner([&] {
            MessageRecorder& ownerRecorder = newRecorder();
            created.set_value(makeWindow(ownerRecorder));
            checked.get_future().wait();
        });
        HWND foreign = created.get_future().get();
        ASSERT_NE(foreign, nullptr);
        EXPECT_EQ(GetMessageA(&message, foreign, 0, 0), -1);
        EXPECT_FALSE(PeekMessageA(&message, foreign, 0, 0, PM_REMOVE));
        checked.set_value();
        owner.join();
    }
    EXPECT_FALSE(PostThreadMessageA(0xFFFFFFF0u, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);

    for (std::size_t i = 0; i < kPostedMessageLimit; ++i) {
        ASSERT_TRUE(PostMessageA(window, WM_USER, i, 0)) << i;
    }
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
    // Nothing already queued was lost.
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_TRUE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_EQ(drain().size(), kPostedMessageLimit);
}

}  // namespace
