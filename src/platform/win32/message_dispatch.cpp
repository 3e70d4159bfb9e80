// Dispatching retrieved messages and turning key messages into characters.

#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/time_api.h"

using namespace win32_internal;

namespace {

// The character of a printable virtual key for the keyboard state of a US layout (Shift and
// Caps Lock for letters, Shift for the other keys, Ctrl with a letter for its control code), 0
// for any other key.
char CharacterOfVirtualKey(WPARAM key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool alt = GetKeyState(VK_MENU) < 0;
    bool capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (key >= 'A' && key <= 'Z') {
        if (control && !alt) {
            return static_cast<char>(key - 'A' + 1);
        }
        return static_cast<char>(shift != capsLock ? key : key - 'A' + 'a');
    }
    if (control && !alt) {
        return 0;
    }
    if (key >= '0' && key <= '9') {
        static constexpr char kShiftedDigits[] = ")!@#$%^&*(";
        return shift ? kShiftedDigits[key - '0'] : static_cast<char>(key);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return static_cast<char>('0' + (key - VK_NUMPAD0));
    }
    struct Printable {
        WPARAM key;
        char plain;
        char shifted;
    };
    static constexpr Printable kPrintable[] = {
        {VK_SPACE, ' ', ' '},     {VK_RETURN, '\r', '\r'},     {VK_BACK, '\b', '\b'},
        {VK_TAB, '\t', '\t'},     {VK_ESCAPE, '\x1b', '\x1b'}, {VK_MULTIPLY, '*', '*'},
        {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},     {VK_DECIMAL, '.', '.'},
        {VK_DIVIDE, '/', '/'},    {VK_OEM_1, ';', ':'},        {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},    {VK_OEM_PERIOD, '.', '>'},
        {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},        {VK_OEM_4, '[', '{'},
        {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},        {VK_OEM_7, '\'', '"'},
    };
    for (const Printable& printable : kPrintable) {
        if (printable.key == key) {
            return shift ? printable.shifted : printable.plain;
        }
    }
    return 0;
}

// The registered procedure of the timer a WM_TIMER names, when its lParam is that procedure. A
// posted WM_TIMER with any other lParam calls nothing.
TIMERPROC RegisteredTimerProcedure(const MSG& message) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue* queue = nullptr;
    if (message.hwnd != nullptr) {
        WindowRecord* record = FindWindowLocked(state, message.hwnd);
        queue = record != nullptr ? FindQueueLocked(state, record->ownerThread) : nullptr;
    } else {
        queue = FindQueueLocked(state, GetCurrentThreadId());
    }
    if (queue == nullptr) {
        return nullptr;
    }
    for (const Timer& timer : queue->timers) {
        if (timer.window == message.hwnd && timer.id == message.wParam &&
            reinterpret_cast<LPARAM>(timer.procedure) == message.lParam) {
            return timer.procedure;
        }
    }
    return nullptr;
}

}  // namespace

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (message->message == WM_TIMER && message->lParam != 0) {
        TIMERPROC procedure = RegisteredTimerProcedure(*message);
        if (procedure != nullptr) {
            procedure(message->hwnd, WM_TIMER, message->wParam, timeGetTime());
        }
        return 0;
    }
    if (message->hwnd == nullptr) {
        return 0;
    }
    WNDPROC procedure = nullptr;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowOrFailLocked(state, message->hwnd);
        if (record == nullptr) {
            return 0;
        }
        procedure = record->procedure;
    }
    if (procedure == nullptr) {
        return 0;
    }
    return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL TranslateMessage(const MSG* message) {
    if (message == nullptr) {
        return FALSE;
    }
    UINT kind = message->message;
    if (kind != WM_KEYDOWN && kind != WM_KEYUP && kind != WM_SYSKEYDOWN && kind != WM_SYSKEYUP) {
        return FALSE;
    }
    if (kind == WM_KEYUP || kind == WM_SYSKEYUP) {
        return TRUE;
    }
    char character = CharacterOfVirtualKey(message->wParam);
    if (character == 0) {
        return TRUE;
    }
    MSG translated{message->hwnd,
                   kind == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                   static_cast<WPARAM>(static_cast<unsigned char>(character)),
                   message->lParam,
                   timeGetTime(),
                   message->pt};
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue* queue = nullptr;
    if (message->hwnd != nullptr) {
        WindowRecord* record = FindWindowLocked(state, message->hwnd);
        queue = record != nullptr ? FindQueueLocked(state, record->ownerThread) : nullptr;
    } else {
        queue = &CurrentQueueLocked(state);
    }
    // The character comes next, before anything posted after the key.
    if (queue != nullptr && queue->posted.size() < kPostedMessageLimit) {
        queue->posted.push_front(translated);
        queue->newKinds |= QueueKindOfMessage(translated.message);
        queue->wake.notify_all();
    }
    return TRUE;
}
