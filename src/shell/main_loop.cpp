#include "shell/main_loop.h"

#include "media/input/di_application.h"
#include "media/movie/movie_players.h"
#include "platform/win32/message_api.h"
#include "shell/accelerators.h"
#include "shell/frame_control.h"

namespace {

constexpr UINT kAllQueueInput = 0x1FF;
constexpr DWORD kAllInputDevices = kDIKeyboardBit | kDIMouseBit | kDIPadBit;

// Takes one message with a blocking wait and dispatches it; false on the quit message.
bool DispatchOneMessage() {
    MSG message{};
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        return got != 0;
    }
    if (!TranslateGameAccelerator(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

}  // namespace

bool MainLoopMessageWaiting() {
    if (HIWORD(GetQueueStatus(kAllQueueInput)) == 0) {
        return false;
    }
    MSG message{};
    return PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) != 0;
}

bool MainLoopWaitsForMessages() {
    return MoviePlaying() || PauseFlag != 0;
}

bool RunMainLoop(MainLoopIdleHook idleHook, void* context) {
    for (;;) {
        if (MainLoopWaitsForMessages()) {
            if (idleHook != nullptr && !MainLoopMessageWaiting()) {
                idleHook(context);
            }
            if (!DispatchOneMessage()) {
                return true;
            }
            continue;
        }
        bool waiting = MainLoopMessageWaiting();
        if (!waiting && idleHook != nullptr) {
            idleHook(context);
            waiting = MainLoopMessageWaiting();
        }
        if (waiting) {
            if (!DispatchOneMessage()) {
                return true;
            }
            continue;
        }
        if (gDIApplication != nullptr) {
            gDIApplication->Poll(kAllInputDevices);
        }
        UpdateFrame(1);
    }
}
