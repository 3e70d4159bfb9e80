#pragma once
// Internal to the message core: the process-wide table of window classes, windows and message
// queues, guarded by one mutex. Window procedures are never called with the mutex held.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/timer_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace win32_internal {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;  // shown as the desktop window's icon
    int liveWindows = 0;
};

struct WindowRecord {
    HWND handle = nullptr;
    ATOM classAtom = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;
    HMENU menu = nullptr;  // the child id for child windows
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR userData = 0;
    std::string title;
    RECT rect{};
    DWORD ownerThread = 0;
    bool destroying = false;
    // A dialog drawn inside its owner's window: it never gets an SDL window of its own.
    bool drawnInOwner = false;
    // A menu is attached (SetMenu): a top-level window then has its menu bar above the client
    // area (window_placement.h).
    bool menuBar = false;
    SdlWindowPtr sdlWindow;
    // Pictures are shown in the SDL window through its renderer (a device presents into it): the
    // window keeps the size the program gave it, and when the desktop sizes the SDL window
    // otherwise, the picture is shown scaled and pointer positions come back through the same
    // fit, as in full screen.
    bool showsPictures = false;
    // Painting (paint_api.h): the invalid rectangle, and whether a WM_PAINT for it is still due.
    // A WM_PAINT taken from the queue is not offered again until the next invalidation, even if
    // the procedure never validated, so that no loop over the queue can spin on it.
    bool invalid = false;
    RECT invalidRect{};
    bool paintDue = false;
};

// A top-level window with WS_POPUP and no frame or caption covers the screen (window_placement.h).
inline bool IsFullScreenStyle(DWORD style) {
    return (style & (WS_POPUP | WS_CHILD)) == WS_POPUP &&
           (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) == 0;
}

// Rows of the window's menu bar above its client area: kMenuBarHeight for a top-level window with
// a menu attached, else 0.
inline LONG MenuBarRows(const WindowRecord& record) {
    return record.menuBar && (record.style & WS_CHILD) == 0 ? kMenuBarHeight : 0;
}

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT periodMs = 0;
    DWORD dueMs = 0;  // timeGetTime value; compared by wrapping difference
    TIMERPROC procedure = nullptr;
    std::uint64_t order = 0;  // breaks ties between equal due times
    bool announced = false;   // its becoming due was reported as new (QS_TIMER)
};

// A message sent from another thread, waiting for the owner to call the procedure.
struct SentMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    std::condition_variable* replyWake = nullptr;  // the sender's queue
};

struct MessageQueue {
    DWORD threadId = 0;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> incomingSent;
    std::vector<Timer> timers;
    bool quitPosted = false;
    int quitCode = 0;
    UINT newKinds = 0;  // QS_* bits that arrived since the last look at the queue
    std::condition_variable wake;
};

struct State {
    std::mutex mutex;
    std::map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows;  // in creation order
    std::vector<WindowClass> classes;
    std::map<DWORD, std::shared_ptr<MessageQueue>> queues;
    std::uintptr_t nextHandle = 0x10010;
    ATOM nextAtom = 0xC000;
    UINT_PTR nextThreadTimerId = 1;
    std::uint64_t nextTimerOrder = 1;
};

// The window filter (HWND)-1 of GetMessageA and PeekMessageA: thread messages only.
inline HWND ThreadMessagesOnlyFilter() {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
}
// Whether a message or timer of `window` passes a retrieval call's window filter.
inline bool WindowFilterMatches(HWND filter, HWND window) {
    if (filter == nullptr) {
        return true;
    }
    if (filter == ThreadMessagesOnlyFilter()) {
        return window == nullptr;
    }
    return window == filter;
}

// The state lives for the whole process (never destroyed, so that thread exits and exit
// handlers may still use it).
State& GetState();

// All of these require the state mutex to be held.
WindowRecord* FindWindowLocked(State& state, HWND window);
// FindWindowLocked that sets ERROR_INVALID_WINDOW_HANDLE when there is no such window.
WindowRecord* FindWindowOrFailLocked(State& state, HWND window);
// The calling thread's queue, created on first use; dropped when the thread ends, together
// with the windows it still owns.
MessageQueue& CurrentQueueLocked(State& state);
MessageQueue* FindQueueLocked(State& state, DWORD threadId);
WindowClass* FindClassLocked(State& state, LPCSTR nameOrAtom);

// QS_* kind of a posted message.
UINT QueueKindOfMessage(UINT message);
// Appends a posted message and wakes the owner; false (ERROR_NOT_ENOUGH_QUOTA) when the queue
// is full.
bool PostToQueueLocked(MessageQueue& queue, const MSG& message);

// Removes everything of `window` from its owner's queue: timers, posted messages, and sent
// messages (answered with 0).
void PurgeWindowLocked(State& state, HWND window, DWORD ownerThread);

// The SDL window behind `window`, made now when SDL video runs on this thread and the window is
// a visible top-level (not WS_CHILD) window of this thread with a size; null otherwise. Call
// without the state mutex held.
SDL_Window* EnsureSdlWindow(HWND window);
// Takes the SDL windows away from every window and destroys them (before SDL shuts down).
void ReleaseAllSdlWindows();
// The top-level (not WS_CHILD) windows owned by `threadId`, in creation order.
std::vector<HWND> TopLevelWindowsOfThread(DWORD threadId);
// The window is a dialog drawn inside its owner: it never gets an SDL window.
void MarkDrawnInOwner(HWND window);
// The live child windows of `parent`, in creation order.
std::vector<HWND> ChildWindowsOf(HWND parent);

// The first visible window of `threadId` with a WM_PAINT due that passes `filter`, or null.
WindowRecord* FindPaintDueLocked(State& state, DWORD threadId, HWND filter);
// Applies the window's style and rectangle to its SDL window, if it has one. Call without the
// state mutex held.
void ApplySdlPlacement(HWND window);
// The SDL window a message box owned by `owner` is centred on: the owner's, when it lies wholly
// on its desktop; null otherwise (a window larger than the desktop, or moved off it), so that SDL
// centres the box on the desktop instead of off the screen. Call without the state mutex held.
SDL_Window* MessageBoxParent(HWND owner);

// Notes whether a menu is attached to the window (menu_api.h SetMenu). Call without the state
// mutex held.
void NoteMenuBar(HWND window, bool attached);
// The window's menu bar rows (MenuBarRows); 0 for an unknown window.
LONG MenuBarRowsOf(HWND window);

// Delivers the messages other threads sent to this thread, calling their procedures with the
// lock released. `lock` holds the state mutex on entry and on return.
void DeliverSentMessages(State& state, std::unique_lock<std::mutex>& lock, MessageQueue& queue);

}  // namespace win32_internal
