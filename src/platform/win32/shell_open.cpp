// ShellExecuteA through xdg-open, and the text clipboard.

#include <SDL.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>

#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/shell_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/code_page.h"

namespace {

struct ShellState {
    std::mutex mutex;
    bool recording = false;
    std::vector<std::string> opened;
    HWND clipboardOwner = nullptr;
    bool clipboardOpen = false;
    HGLOBAL clipboardText = nullptr;
};

ShellState& Shell() {
    static ShellState* const state = new ShellState;
    return *state;
}

constexpr std::uintptr_t kShellSuccess = 42;
constexpr std::uintptr_t kShellFileNotFound = 2;

// Starts xdg-open on `target` in a grandchild, so that no zombie is left behind.
bool RunDesktopOpen(const std::string& target) {
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, int) {
    if (file == nullptr || *file == '\0') {
        return reinterpret_cast<HINSTANCE>(kShellFileNotFound);
    }
    const std::string target = Cp932ToUtf8(file).value_or(file);
    {
        ShellState& shell = Shell();
        std::lock_guard<std::mutex> lock(shell.mutex);
        if (shell.recording) {
            shell.opened.push_back(target);
            return reinterpret_cast<HINSTANCE>(kShellSuccess);
        }
    }
    if (!RunDesktopOpen(target)) {
        std::fprintf(stderr, "ShellExecute: xdg-open \"%s\" could not be started\n",
                     target.c_str());
        return reinterpret_cast<HINSTANCE>(kShellFileNotFound);
    }
    return reinterpret_cast<HINSTANCE>(kShellSuccess);
}

BOOL OpenClipboard(HWND owner) {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    if (shell.clipboardOpen) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    shell.clipboardOpen = true;
    shell.clipboardOwner = owner;
    return TRUE;
}

BOOL CloseClipboard() {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    const bool wasOpen = shell.clipboardOpen;
    shell.clipboardOpen = false;
    return wasOpen ? TRUE : FALSE;
}

BOOL EmptyClipboard() {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    if (!shell.clipboardOpen) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    shell.clipboardText = GlobalFree(shell.clipboardText);
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    std::string text;
    {
        ShellState& shell = Shell();
        std::lock_guard<std::mutex> lock(shell.mutex);
        if (!shell.clipboardOpen || format != CF_TEXT || data == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        if (shell.clipboardText != data) {
            GlobalFree(shell.clipboardText);
        }
        shell.clipboardText = data;
        const char* bytes = static_cast<const char*>(GlobalLock(data));
        text.assign(bytes, strnlen(bytes, GlobalSize(data)));
        if (shell.recording) {
            return data;
        }
    }
    if (win32_internal::SdlVideoReadyOnThisThread()) {
        SDL_SetClipboardText(Cp932ToUtf8(text).value_or(text).c_str());
    }
    return data;
}

HANDLE GetClipboardData(UINT format) {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    return format == CF_TEXT ? shell.clipboardText : nullptr;
}

namespace win32_test {

void RecordShellActions(bool record) {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    shell.recording = record;
}

std::vector<std::string> TakeShellOpens() {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    std::vector<std::string> opened;
    opened.swap(shell.opened);
    return opened;
}

std::string ClipboardText() {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    if (shell.clipboardText == nullptr) {
        return std::string();
    }
    const char* bytes = static_cast<const char*>(GlobalLock(shell.clipboardText));
    return std::string(bytes, strnlen(bytes, GlobalSize(shell.clipboardText)));
}

void ResetClipboard() {
    ShellState& shell = Shell();
    std::lock_guard<std::mutex> lock(shell.mutex);
    shell.clipboardText = GlobalFree(shell.clipboardText);
    shell.clipboardOpen = false;
    shell.clipboardOwner = nullptr;
}

}  // namespace win32_test
