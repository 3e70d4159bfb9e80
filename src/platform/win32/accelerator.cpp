// Accelerator tables, their resources and the translation of key messages into commands.

#include <map>
#include <mutex>
#include <vector>

#include "platform/win32/accelerator_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/file_api.h"

namespace {

struct AcceleratorTables {
    std::mutex mutex;
    std::map<std::uintptr_t, std::vector<ACCEL>> tables;
    std::map<WORD, std::vector<ACCEL>> resources;
    std::uintptr_t nextHandle = 0x30010;
};

AcceleratorTables& Tables() {
    static AcceleratorTables* tables = new AcceleratorTables;  // lives for the whole process
    return *tables;
}

std::uintptr_t KeyOf(HACCEL table) {
    return reinterpret_cast<std::uintptr_t>(table);
}

HACCEL NewTable(std::vector<ACCEL> entries) {
    AcceleratorTables& all = Tables();
    std::lock_guard<std::mutex> guard(all.mutex);
    const std::uintptr_t key = all.nextHandle;
    all.nextHandle += 4;
    all.tables.emplace(key, std::move(entries));
    return reinterpret_cast<HACCEL>(key);
}

bool KeyDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

bool Matches(const ACCEL& entry, const MSG& message) {
    if ((entry.fVirt & FVIRTKEY) != 0) {
        if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) {
            return false;
        }
        return message.wParam == entry.key && KeyDown(VK_SHIFT) == ((entry.fVirt & FSHIFT) != 0) &&
               KeyDown(VK_CONTROL) == ((entry.fVirt & FCONTROL) != 0) &&
               KeyDown(VK_MENU) == ((entry.fVirt & FALT) != 0);
    }
    const bool withAlt = (entry.fVirt & FALT) != 0;
    const UINT expected = withAlt ? WM_SYSCHAR : WM_CHAR;
    return message.message == expected && message.wParam == entry.key;
}

// Whether `command` is an item of the bar that cannot be chosen now.
bool MenuItemBlocked(HMENU bar, WORD command) {
    const UINT state = GetMenuState(bar, command, MF_BYCOMMAND);
    return state != 0xFFFFFFFFu && (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

// The entries of `table`; null (ERROR_INVALID_HANDLE) for a handle that names no table.
const std::vector<ACCEL>* FindTableLocked(AcceleratorTables& all, HACCEL table) {
    auto found = all.tables.find(KeyOf(table));
    if (found == all.tables.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &found->second;
}

}  // namespace

HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count) {
    if (entries == nullptr || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return NewTable(std::vector<ACCEL>(entries, entries + count));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    AcceleratorTables& all = Tables();
    std::lock_guard<std::mutex> guard(all.mutex);
    if (all.tables.erase(KeyOf(table)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int CopyAcceleratorTableA(HACCEL table, ACCEL* entries, int count) {
    AcceleratorTables& all = Tables();
    std::lock_guard<std::mutex> guard(all.mutex);
    const std::vector<ACCEL>* found = FindTableLocked(all, table);
    if (found == nullptr) {
        return 0;
    }
    const std::vector<ACCEL>& stored = *found;
    if (entries == nullptr) {
        return static_cast<int>(stored.size());
    }
    int copied = 0;
    for (; copied < count && copied < static_cast<int>(stored.size()); ++copied) {
        entries[copied] = stored[static_cast<std::size_t>(copied)];
    }
    return copied;
}

void Win32RegisterAcceleratorResource(WORD id, const ACCEL* entries, int count) {
    AcceleratorTables& all = Tables();
    std::lock_guard<std::mutex> guard(all.mutex);
    if (entries == nullptr || count <= 0) {
        all.resources.erase(id);
    } else {
        all.resources[id] = std::vector<ACCEL>(entries, entries + count);
    }
}

HACCEL LoadAcceleratorsA(HINSTANCE, LPCSTR name) {
    std::vector<ACCEL> entries;
    if (name != nullptr && IS_INTRESOURCE(name)) {
        AcceleratorTables& all = Tables();
        std::lock_guard<std::mutex> guard(all.mutex);
        auto found = all.resources.find(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
        if (found != all.resources.end()) {
            entries = found->second;
        }
    }
    if (entries.empty()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return NewTable(std::move(entries));
}

int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG message) {
    if (message == nullptr || window == nullptr) {
        return 0;
    }
    WORD command = 0;
    bool matched = false;
    {
        AcceleratorTables& all = Tables();
        std::lock_guard<std::mutex> guard(all.mutex);
        const std::vector<ACCEL>* found = FindTableLocked(all, table);
        if (found == nullptr) {
            return 0;
        }
        for (const ACCEL& entry : *found) {
            if (Matches(entry, *message)) {
                command = entry.cmd;
                matched = true;
                break;
            }
        }
    }
    if (!matched || !IsWindow(window)) {
        return 0;
    }
    if (HMENU bar = GetMenu(window)) {
        SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
        if (MenuItemBlocked(bar, command)) {
            return 1;
        }
    }
    // The high word 1 tells the window the command came from an accelerator.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return 1;
}
