#pragma once
// Shared by the tests of the game window's messages: a fixture that starts every test from a
// fresh input state, and helpers that dispatch what the queue holds.

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/shell_test_hooks.h"
#include "window_test_support.h"

namespace win32_test_support {

class ShellWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        win32_test::ResetWindowInput();
        win32_test::SetDesktopSize(1920, 1080);
    }
    void TearDown() override {
        Win32SetActivationObserver(nullptr);
        WindowTest::TearDown();
        win32_test::ResetWindowInput();
        win32_test::SetDesktopSize(0, 0);
    }

    // Retrieves and dispatches every message now in the queue, translating key messages into
    // characters when asked.
    static void dispatchAll(bool translate = false) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (translate) {
                TranslateMessage(&message);
            }
            DispatchMessageA(&message);
        }
    }

    // The messages a recorder got, leaving out those of window life (creation, showing,
    // destruction) that a test did not ask about.
    static std::vector<Received> inputOf(const MessageRecorder& recorder) {
        std::vector<Received> result;
        for (const Received& r : recorder.received()) {
            if (r.message != WM_NCCREATE && r.message != WM_CREATE && r.message != WM_SHOWWINDOW &&
                r.message != WM_NCDESTROY) {
                result.push_back(r);
            }
        }
        return result;
    }
};

}  // namespace win32_test_support
