#pragma once
// Shared by the window, message and timer tests: a window class whose procedure records every
// message it gets, and a fixture that leaves no window, timer, message or manual clock behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/timer_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/test_hooks.h"

namespace win32_test_support {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};

// Passed as the creation parameter; the procedure finds it through GWLP_USERDATA.
class MessageRecorder {
public:
    using Reply = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr) {
            Reply reply;
            {
                std::lock_guard<std::mutex> lock(self->mutex_);
                self->received_.push_back(
                    Received{window, message, wParam, lParam, GetCurrentThreadId()});
                reply = self->reply_;
            }
            if (reply) {
                if (std::optional<LRESULT> answer = reply(window, message, wParam, lParam)) {
                    return *answer;
                }
            }
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    // Set before the window is created; runs on the window's thread.
    void setReply(Reply reply) {
        std::lock_guard<std::mutex> lock(mutex_);
        reply_ = std::move(reply);
    }

    std::vector<Received> received() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }

    // The message numbers received, leaving out those not in `interesting` when it is given.
    std::vector<UINT> messages(const std::vector<UINT>& interesting = {}) const {
        std::vector<UINT> result;
        for (const Received& r : received()) {
            if (interesting.empty() ||
                std::find(interesting.begin(), interesting.end(), r.message) != interesting.end()) {
                result.push_back(r.message);
            }
        }
        return result;
    }

    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        received_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<Received> received_;
    Reply reply_;
};

// The window filter that selects thread messages only.
inline HWND ThreadOnly() {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
}

inline constexpr const char* kRecorderClass = "QvnRecorder";

// Registers the recording class; at the end destroys the windows made through it, drains the
// queue and returns to the real clock.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &MessageRecorder::Procedure;
        windowClass.lpszClassName = kRecorderClass;
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
    }

    void TearDown() override {
        std::vector<HWND> windows;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            windows = windows_;
        }
        for (HWND window : windows) {
            if (IsWindow(window)) {
                DestroyWindow(window);
            }
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_TRUE(UnregisterClassA(kRecorderClass, nullptr));
        win32_test::UseManualClock(false);
    }

    // A recorder that outlives every window of the test.
    MessageRecorder& newRecorder() {
        std::lock_guard<std::mutex> lock(mutex_);
        recorders_.push_back(std::make_unique<MessageRecorder>());
        return *recorders_.back();
    }

    HWND makeWindow(MessageRecorder& recorder, DWORD style = WS_OVERLAPPED, HWND parent = nullptr,
                    LPCSTR title = "test", int width = 320, int height = 240) {
        HWND window = CreateWindowExA(0, kRecorderClass, title, style, 0, 0, width, height, parent,
                                      nullptr, nullptr, &recorder);
        if (window != nullptr) {
            std::lock_guard<std::mutex> lock(mutex_);
            windows_.push_back(window);
        }
        return window;
    }

    // Every message now retrievable, removed, in retrieval order.
    static std::vector<MSG> drain(HWND filter = nullptr) {
        std::vector<MSG> result;
        MSG message;
        while (PeekMessageA(&message, filter, 0, 0, PM_REMOVE)) {
            result.push_back(message);
        }
        return result;
    }

    static void advanceMs(std::uint64_t milliseconds) {
        win32_test::AdvanceClockMicroseconds(milliseconds * 1000);
    }

private:
    std::vector<HWND> windows_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<MessageRecorder>> recorders_;
};

}  // namespace win32_test_support
