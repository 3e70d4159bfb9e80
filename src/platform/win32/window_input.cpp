// Input and window events turned into window messages, and the key state they leave behind.

#include "platform/win32/window_input.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/win32/dialog_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"

namespace win32_internal {
namespace {

constexpr BYTE kDownBit = 0x80;
constexpr BYTE kToggleBit = 0x01;

using KeyArray = std::array<BYTE, 256>;

// Mouse buttons 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
constexpr UINT kButtonKeys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};

struct InputState {
    std::mutex mutex;
    KeyArray keys{};      // as delivered (GetAsyncKeyState)
    KeyArray syncKeys{};  // as of the last key or button message retrieved (GetKeyState)
    bool active = false;
    HWND activeWindow = nullptr;
    PointerPosition pointer;
    std::function<void(HWND)> observer;
    bool ownModalBoxShown = false;
    bool menuKeyAlone = false;
};

InputState& Input() {
    static InputState* const state = new InputState;
    return *state;
}

bool KeyDownIn(const KeyArray& keys, UINT virtualKey) {
    return (keys[virtualKey & 0xFFu] & kDownBit) != 0;
}

bool KeyDownLocked(const InputState& input, UINT virtualKey) {
    return KeyDownIn(input.keys, virtualKey);
}

void SetKeyIn(KeyArray& keys, UINT virtualKey, bool down) {
    BYTE& key = keys[virtualKey & 0xFFu];
    if (down && (key & kDownBit) == 0) {
        key ^= kToggleBit;
    }
    key = static_cast<BYTE>(down ? (key | kDownBit) : (key & ~kDownBit));
}

// The left or right key of a modifier, 0 for other keys.
UINT SidedKey(UINT virtualKey, bool rightHand) {
    switch (virtualKey) {
        case VK_SHIFT:
            return rightHand ? VK_RSHIFT : VK_LSHIFT;
        case VK_CONTROL:
            return rightHand ? VK_RCONTROL : VK_LCONTROL;
        case VK_MENU:
            return rightHand ? VK_RMENU : VK_LMENU;
        default:
            return 0;
    }
}

// Keeps the generic modifier key down while either side is down.
void SetKeyLocked(InputState& input, UINT virtualKey, bool down) {
    SetKeyIn(input.keys, virtualKey, down);
}

// Sets a key in `keys`; a modifier given by its side also keeps the generic key down while
// either side is down, and toggles it as Windows does.
void SetSidedKeyIn(KeyArray& keys, UINT virtualKey, UINT sided, bool down) {
    if (sided == 0) {
        SetKeyIn(keys, virtualKey, down);
        return;
    }
    bool wasDown = KeyDownIn(keys, sided);
    SetKeyIn(keys, sided, down);
    static constexpr UINT kPairs[][3] = {{VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
                                         {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
                                         {VK_MENU, VK_LMENU, VK_RMENU}};
    for (const auto& pair : kPairs) {
        bool either = KeyDownIn(keys, pair[1]) || KeyDownIn(keys, pair[2]);
        BYTE& key = keys[pair[0]];
        key = static_cast<BYTE>(either ? (key | kDownBit) : (key & ~kDownBit));
    }
    if (down && !wasDown) {
        keys[virtualKey & 0xFFu] ^= kToggleBit;
    }
}

void ReleaseIn(KeyArray& keys) {
    for (BYTE& key : keys) {
        key = static_cast<BYTE>(key & ~kDownBit);
    }
}

WPARAM MouseKeyFlagsLocked(const InputState& input) {
    WPARAM flags = 0;
    flags |= KeyDownLocked(input, VK_LBUTTON) ? MK_LBUTTON : 0;
    flags |= KeyDownLocked(input, VK_RBUTTON) ? MK_RBUTTON : 0;
    flags |= KeyDownLocked(input, VK_MBUTTON) ? MK_MBUTTON : 0;
    flags |= KeyDownLocked(input, VK_XBUTTON1) ? MK_XBUTTON1 : 0;
    flags |= KeyDownLocked(input, VK_XBUTTON2) ? MK_XBUTTON2 : 0;
    flags |= KeyDownLocked(input, VK_SHIFT) ? MK_SHIFT : 0;
    flags |= KeyDownLocked(input, VK_CONTROL) ? MK_CONTROL : 0;
    return flags;
}

LPARAM PackPoint(LONG x, LONG y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                      static_cast<WORD>(static_cast<SHORT>(y)));
}

// Records the pointer at client (x, y) of `window`, inside the cursor clip; returns the
// client and screen positions kept.
PointerPosition TrackPointer(HWND window, int x, int y) {
    PointerPosition position;
    position.window = window;
    position.client = POINT{x, y};
    position.screen = position.client;
    if (ClientToScreen(window, &position.screen)) {
        POINT clipped = position.screen;
        ClampToCursorClip(&clipped);
        if (clipped.x != position.screen.x || clipped.y != position.screen.y) {
            position.client.x += clipped.x - position.screen.x;
            position.client.y += clipped.y - position.screen.y;
            position.screen = clipped;
        }
    }
    SetLastPointerPosition(position);
    return position;
}

bool OnMenuBar(HWND window, const PointerPosition& position) {
    return position.client.y < 0 && position.client.y >= -MenuBarRowsOf(window);
}

struct SizeChange {
    bool post = false;
    WPARAM kind = SIZE_RESTORED;
    LPARAM size = 0;
};

// Alt or F10 pressed starts a press alone; any other key or button pressed ends it.
void NoteMenuKey(const MSG& message) {
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool buttonDown =
        message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN ||
        message.message == WM_MBUTTONDOWN || message.message == WM_NCLBUTTONDOWN;
    if (!keyDown && !buttonDown) {
        return;
    }
    const bool menuKey = keyDown && (message.wParam == VK_MENU || message.wParam == VK_F10) &&
                         (message.lParam & KF_REPEAT_BIT) == 0;
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    if (menuKey) {
        input.menuKeyAlone = true;
    } else if (!(keyDown && (message.wParam == VK_MENU || message.wParam == VK_F10))) {
        input.menuKeyAlone = false;
    }
}

// WM_ACTIVATEAPP goes to every top-level window of the thread that owns `window`, `window` first,
// as the desktop tells each window of a program that the program as a whole gained or lost the
// activation.
void PostActivateApp(HWND window, BOOL active) {
    DWORD thread = 0;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        if (const WindowRecord* record = FindWindowLocked(state, window)) {
            thread = record->ownerThread;
        }
    }
    PostMessageA(window, WM_ACTIVATEAPP, static_cast<WPARAM>(active), 0);
    for (HWND other : TopLevelWindowsOfThread(thread)) {
        if (other != window) {
            PostMessageA(other, WM_ACTIVATEAPP, static_cast<WPARAM>(active), 0);
        }
    }
}

}  // namespace

bool MenuKeyPressedAlone() {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    return input.menuKeyAlone;
}

void SetActivationObserver(std::function<void(HWND activeWindow)> observer) {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    input.observer = std::move(observer);
}

bool ProgramIsActive() {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    return input.active;
}

HWND ActiveWindow() {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    return input.active ? input.activeWindow : nullptr;
}

void DeliverActivation(HWND window, bool active, bool byClick) {
    std::function<void(HWND)> observer;
    HWND previous = nullptr;
    {
        InputState& input = Input();
        std::lock_guard<std::mutex> lock(input.mutex);
        if (input.active == active && (!active || input.activeWindow == window)) {
            return;
        }
        if (!active && input.ownModalBoxShown) {
            return;
        }
        previous = input.active ? input.activeWindow : nullptr;
        input.active = active;
        if (active) {
            input.activeWindow = window;
        } else {
            // The key releases of this spell go to another program.
            ReleaseIn(input.keys);
            ReleaseIn(input.syncKeys);
        }
        observer = input.observer;
    }
    if (observer) {
        observer(active ? window : nullptr);
    }
    if (active) {
        WORD minimised = IsIconic(window) != FALSE ? 1 : 0;
        if (previous == nullptr) {
            PostActivateApp(window, TRUE);
        } else {
            // From one of our windows to another: the program stays active.
            PostMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
            PostMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
        }
        PostMessageA(window, WM_ACTIVATE,
                     MAKEWPARAM(byClick ? WA_CLICKACTIVE : WA_ACTIVE, minimised),
                     reinterpret_cast<LPARAM>(previous));
        PostMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    } else {
        HWND target = previous != nullptr ? previous : window;
        PostMessageA(target, WM_ACTIVATE, WA_INACTIVE, 0);
        PostActivateApp(target, FALSE);
        PostMessageA(target, WM_KILLFOCUS, 0, 0);
    }
}

void DeliverKey(HWND window, UINT virtualKey, UINT scanCode, bool extended, bool rightHand,
                bool down, bool repeat) {
    virtualKey &= 0xFFu;
    bool wasDown = false;
    bool altHeld = false;      // after this key: the context bit of the message
    bool altInvolved = false;  // before or after: the release of Alt itself is a system key
    bool ctrlHeld = false;
    {
        InputState& input = Input();
        std::lock_guard<std::mutex> lock(input.mutex);
        UINT sided = SidedKey(virtualKey, rightHand);
        wasDown = KeyDownLocked(input, sided != 0 ? sided : virtualKey);
        bool altBefore = KeyDownLocked(input, VK_MENU);
        SetSidedKeyIn(input.keys, virtualKey, sided, down);
        altHeld = KeyDownLocked(input, VK_MENU);
        altInvolved = altBefore || altHeld;
        ctrlHeld = KeyDownLocked(input, VK_CONTROL);
    }
    // Alt with a key (but not Ctrl+Alt, the AltGr of many layouts), Alt itself and F10 make the
    // system key messages that menus and accelerators such as Alt+F4 and Alt+Enter use.
    bool system = virtualKey == VK_MENU || virtualKey == VK_F10 || (altInvolved && !ctrlHeld);
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode & 0xFFu) << 16);
    lParam |= extended ? KF_EXTENDED_BIT : 0;
    lParam |= (system && altHeld) ? KF_ALTDOWN_BIT : 0;
    lParam |= (!down || repeat || wasDown) ? KF_REPEAT_BIT : 0;
    lParam |= down ? 0 : KF_UP_BIT;
    PostMessageA(window, message, virtualKey, lParam);
}

void DeliverMouseMove(HWND window, int x, int y) {
    PointerPosition position = TrackPointer(window, x, y);
    WPARAM flags = 0;
    {
        InputState& input = Input();
        std::lock_guard<std::mutex> lock(input.mutex);
        flags = MouseKeyFlagsLocked(input);
    }
    const bool onBar = OnMenuBar(window, position);
    SetPointerOverMenuBar(onBar);
    if (onBar) {
        PostMessageA(window, WM_NCMOUSEMOVE, HTMENU,
                     PackPoint(position.screen.x, position.screen.y));
        return;
    }
    PostMessageA(window, WM_MOUSEMOVE, flags, PackPoint(position.client.x, position.client.y));
}

void RecheckPointerOverMenuBar(HWND window) {
    PointerPosition position = LastPointerPosition();
    position.client = position.screen;
    if (position.window == window && ScreenToClient(window, &position.client) != FALSE) {
        SetPointerOverMenuBar(OnMenuBar(window, position));
    }
}

void DeliverMouseLeave(HWND window, int screenX, int screenY) {
    // HTNOWHERE: not over the window at all.
    PostMessageA(window, WM_NCMOUSEMOVE, 0, PackPoint(screenX, screenY));
}

void ActivateForPress(HWND window, bool inClient) {
    if (ActiveWindow() == window || IsWindowEnabled(window) == FALSE) {
        return;
    }
    DeliverActivation(window, true, inClient);
    SetForegroundWindow(window);
}

void DeliverMouseButton(HWND window, int button, bool down, int x, int y) {
    static constexpr UINT kDownMessages[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static constexpr UINT kUpMessages[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    if (button < 0 || button >= static_cast<int>(std::size(kButtonKeys))) {
        return;
    }
    PointerPosition position = TrackPointer(window, x, y);
    if (down && button < 3) {
        ActivateForPress(window, !OnMenuBar(window, position));
    }
    WPARAM flags = 0;
    {
        InputState& input = Input();
        std::lock_guard<std::mutex> lock(input.mutex);
        SetKeyLocked(input, kButtonKeys[button], down);
        if (button >= 3) {
            // No message carries the side buttons, so their state changes now for both calls.
            SetKeyIn(input.syncKeys, kButtonKeys[button], down);
        }
        flags = MouseKeyFlagsLocked(input);
    }
    if (button < 3 && OnMenuBar(window, position)) {
        static constexpr UINT kNonClientDown[] = {WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN,
                                                  WM_NCMBUTTONDOWN};
        static constexpr UINT kNonClientUp[] = {WM_NCLBUTTONUP, WM_NCRBUTTONUP, WM_NCMBUTTONUP};
        PostMessageA(window, down ? kNonClientDown[button] : kNonClientUp[button], HTMENU,
                     PackPoint(position.screen.x, position.screen.y));
    } else if (button < 3) {
        PostMessageA(window, down ? kDownMessages[button] : kUpMessages[button], flags,
                     PackPoint(position.client.x, position.client.y));
    }
}

void DeliverMouseWheel(HWND window, int delta, int x, int y) {
    PointerPosition position = TrackPointer(window, x, y);
    WPARAM flags = 0;
    {
        InputState& input = Input();
        std::lock_guard<std::mutex> lock(input.mutex);
        flags = MouseKeyFlagsLocked(input);
    }
    WORD distance = static_cast<WORD>(static_cast<SHORT>(std::clamp(delta, -32768, 32767)));
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(flags), distance),
                 PackPoint(position.screen.x, position.screen.y));
}

void DeliverClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void DeliverSize(HWND window, WPARAM sizeKind, int width, int height) {
    SizeChange change;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || record->destroying) {
            return;
        }
        bool wasMinimised = (record->style & WS_MINIMIZE) != 0;
        if (sizeKind == SIZE_MINIMIZED) {
            change.post = !wasMinimised;
            change.kind = SIZE_MINIMIZED;
            record->style |= WS_MINIMIZE;
        } else {
            record->style &= ~WS_MINIMIZE;
            // A full-screen window, or one that shows pictures, keeps its size: the desktop
            // only shows it scaled.
            if (!IsFullScreenStyle(record->style) && !record->showsPictures && width > 0 &&
                height > 0) {
                bool resized =
                    width != RectWidth(record->rect) || height != RectHeight(record->rect);
                record->rect.right = record->rect.left + width;
                record->rect.bottom = record->rect.top + height;
                change.post = resized;
            }
            change.post = change.post || wasMinimised;
            change.kind = sizeKind;
            change.size = MAKELPARAM(static_cast<WORD>(RectWidth(record->rect)),
                                     static_cast<WORD>(RectHeight(record->rect)));
        }
    }
    if (change.post) {
        PostMessageA(window, WM_SIZE, change.kind, change.size);
    }
}

void DeliverMove(HWND window, int x, int y) {
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || record->destroying || IsFullScreenStyle(record->style) ||
            (record->rect.left == x && record->rect.top == y)) {
            return;
        }
        LONG width = RectWidth(record->rect);
        LONG height = RectHeight(record->rect);
        record->rect = RECT{x, y, x + width, y + height};
    }
    PostMessageA(window, WM_MOVE, 0, PackPoint(x, y));
}

void DeliverSizeMove(HWND window, bool entering) {
    PostMessageA(window, entering ? WM_ENTERSIZEMOVE : WM_EXITSIZEMOVE, 0, 0);
}

void DeliverExpose(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
}

void SetKeyDown(UINT virtualKey, bool down) {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    SetKeyIn(input.keys, virtualKey, down);
    SetKeyIn(input.syncKeys, virtualKey, down);
}

void ReleaseAllKeys() {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    ReleaseIn(input.keys);
    ReleaseIn(input.syncKeys);
}

void DeliverKeyWithoutWindow(UINT virtualKey, bool rightHand, bool down) {
    virtualKey &= 0xFFu;
    const UINT sided = SidedKey(virtualKey, rightHand);
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    SetSidedKeyIn(input.keys, virtualKey, sided, down);
    SetSidedKeyIn(input.syncKeys, virtualKey, sided, down);
}

void DeliverMouseButtonWithoutWindow(int button, bool down) {
    if (button < 0 || button >= static_cast<int>(std::size(kButtonKeys))) {
        return;
    }
    DeliverKeyWithoutWindow(kButtonKeys[button], false, down);
}

void NoteRetrievedMessage(const MSG& message) {
    NoteMenuKey(message);
    NoteDiscardedMessage(message);
}

void NoteDiscardedMessage(const MSG& message) {
    UINT virtualKey = 0;
    bool down = false;
    UINT sided = 0;
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            virtualKey = static_cast<UINT>(message.wParam & 0xFFu);
            down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
            bool extended = (message.lParam & KF_EXTENDED_BIT) != 0;
            UINT scanCode = static_cast<UINT>((message.lParam >> 16) & 0xFF);
            constexpr UINT kRightShiftScanCode = 0x36;
            sided = SidedKey(virtualKey,
                             virtualKey == VK_SHIFT ? scanCode == kRightShiftScanCode : extended);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            virtualKey = VK_LBUTTON;
            down = message.message == WM_LBUTTONDOWN;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            virtualKey = VK_RBUTTON;
            down = message.message == WM_RBUTTONDOWN;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            virtualKey = VK_MBUTTON;
            down = message.message == WM_MBUTTONDOWN;
            break;
        default:
            return;
    }
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    SetSidedKeyIn(input.syncKeys, virtualKey, sided, down);
}

void SetOwnModalBoxShown(bool shown) {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    input.ownModalBoxShown = shown;
}

void ResetInputState() {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    input.keys.fill(0);
    input.syncKeys.fill(0);
    input.active = false;
    input.activeWindow = nullptr;
    input.pointer = PointerPosition{};
    input.ownModalBoxShown = false;
    input.menuKeyAlone = false;
}

PointerPosition LastPointerPosition() {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    return input.pointer;
}

void SetLastPointerPosition(const PointerPosition& position) {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    input.pointer = position;
}

}  // namespace win32_internal

using namespace win32_internal;

void Win32SetActivationObserver(Win32ActivationObserver observer) {
    SetActivationObserver(observer != nullptr ? std::function<void(HWND)>(observer) : nullptr);
}

namespace {

SHORT KeyStateOf(const KeyArray& keys, int virtualKey) {
    if (virtualKey < 0 || virtualKey > 0xFF) {
        return 0;
    }
    BYTE key = keys[static_cast<std::size_t>(virtualKey)];
    return static_cast<SHORT>(((key & kDownBit) != 0 ? 0x8000 : 0) | (key & kToggleBit));
}

}  // namespace

SHORT GetKeyState(int virtualKey) {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    return KeyStateOf(input.syncKeys, virtualKey);
}

SHORT GetAsyncKeyState(int virtualKey) {
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    return static_cast<SHORT>(KeyStateOf(input.keys, virtualKey) & static_cast<SHORT>(0x8000));
}

BOOL GetKeyboardState(BYTE* state) {
    if (state == nullptr) {
        return FALSE;
    }
    InputState& input = Input();
    std::lock_guard<std::mutex> lock(input.mutex);
    std::copy(input.syncKeys.begin(), input.syncKeys.end(), state);
    return TRUE;
}
