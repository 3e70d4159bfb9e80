// Menus, their items, the menus attached to windows, and menu resources.

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_painted.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"

namespace {

constexpr UINT kNoItem = 0xFFFFFFFFu;
// The state bits an item keeps; MF_BYPOSITION and the like only steer a call.
constexpr UINT kItemFlagMask = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR;

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU submenu = nullptr;
};

struct MenuRecord {
    std::vector<MenuItem> items;
    HMENU owner = nullptr;  // the menu that holds this one as a submenu
};

struct MenuTable {
    std::mutex mutex;
    std::map<std::uintptr_t, MenuRecord> menus;
    std::map<HWND, HMENU> attached;
    std::map<WORD, MenuResourceBuilder> resources;
    std::uintptr_t nextHandle = 0x20010;
};

MenuTable& Table() {
    static MenuTable* table = new MenuTable;  // lives for the whole process
    return *table;
}

std::uintptr_t KeyOf(HMENU menu) {
    return reinterpret_cast<std::uintptr_t>(menu);
}

MenuRecord* FindMenuLocked(MenuTable& table, HMENU menu) {
    auto found = table.menus.find(KeyOf(menu));
    if (found == table.menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return &found->second;
}

// The item named by `item` and `flags` (MF_BYPOSITION or by command, searched depth first).
MenuItem* FindItemLocked(MenuTable& table, HMENU menu, UINT item, UINT flags, int depth = 0) {
    MenuRecord* record = FindMenuLocked(table, menu);
    if (record == nullptr || depth > 64) {
        return nullptr;
    }
    if ((flags & MF_BYPOSITION) != 0) {
        return item < record->items.size() ? &record->items[item] : nullptr;
    }
    for (MenuItem& entry : record->items) {
        if ((entry.flags & MF_POPUP) != 0) {
            if (MenuItem* inner = FindItemLocked(table, entry.submenu, item, flags, depth + 1)) {
                return inner;
            }
        } else if ((entry.flags & MF_SEPARATOR) == 0 && entry.id == item) {
            return &entry;
        }
    }
    return nullptr;
}

// The item at `position` of `menu` itself (not of its submenus); null when there is none.
const MenuItem* ItemAtPositionLocked(MenuTable& table, HMENU menu, int position) {
    return position < 0 ? nullptr
                        : FindItemLocked(table, menu, static_cast<UINT>(position), MF_BYPOSITION);
}

// Destroys `menu` and its submenus; the windows it was attached to go to `detached`.
void DestroyMenuLocked(MenuTable& table, HMENU menu, std::vector<HWND>* detached) {
    auto found = table.menus.find(KeyOf(menu));
    if (found == table.menus.end()) {
        return;
    }
    std::vector<HMENU> submenus;
    for (const MenuItem& entry : found->second.items) {
        if (entry.submenu != nullptr) {
            submenus.push_back(entry.submenu);
        }
    }
    table.menus.erase(found);
    for (HMENU submenu : submenus) {
        DestroyMenuLocked(table, submenu, detached);
    }
    for (auto it = table.attached.begin(); it != table.attached.end();) {
        if (it->second == menu) {
            detached->push_back(it->first);
            it = table.attached.erase(it);
        } else {
            ++it;
        }
    }
}

HMENU NewMenu() {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    const std::uintptr_t key = table.nextHandle;
    table.nextHandle += 4;
    table.menus.emplace(key, MenuRecord{});
    return reinterpret_cast<HMENU>(key);
}

// Copies at most size - 1 bytes of `text`, never half of a double-byte character.
int CopyText(const std::string& text, LPSTR buffer, int size) {
    const std::size_t limit = static_cast<std::size_t>(size) - 1;
    std::size_t length = 0;
    while (length < text.size()) {
        const bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[length])) != 0;
        const std::size_t step = lead && length + 1 < text.size() ? 2 : 1;
        if (length + step > limit) {
            break;
        }
        length += step;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

}  // namespace

HMENU CreateMenu() {
    return NewMenu();
}

HMENU CreatePopupMenu() {
    return NewMenu();
}

BOOL DestroyMenu(HMENU menu) {
    std::vector<HWND> detached;
    {
        MenuTable& table = Table();
        std::lock_guard<std::mutex> guard(table.mutex);
        MenuRecord* record = FindMenuLocked(table, menu);
        if (record == nullptr) {
            return FALSE;
        }
        // A submenu leaves its owner's item list with it.
        if (MenuRecord* owner =
                record->owner != nullptr ? FindMenuLocked(table, record->owner) : nullptr) {
            std::erase_if(owner->items,
                          [menu](const MenuItem& entry) { return entry.submenu == menu; });
        }
        DestroyMenuLocked(table, menu, &detached);
    }
    for (HWND window : detached) {
        win32_internal::NoteMenuBar(window, false);
    }
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    return table.menus.count(KeyOf(menu)) != 0 ? TRUE : FALSE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR item) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    MenuRecord* record = FindMenuLocked(table, menu);
    if (record == nullptr) {
        return FALSE;
    }
    MenuItem entry;
    entry.flags = flags & kItemFlagMask;
    if ((flags & MF_SEPARATOR) != 0) {
        entry.flags = MF_SEPARATOR;
        record->items.push_back(entry);
        return TRUE;
    }
    if (item == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    entry.text = item;
    if ((flags & MF_POPUP) != 0) {
        HMENU submenu = reinterpret_cast<HMENU>(idNewItem);
        MenuRecord* child = FindMenuLocked(table, submenu);
        if (child == nullptr) {
            return FALSE;
        }
        // A menu holding itself, one of its owners, or a submenu already placed would make the
        // tree a graph that destruction and the command search could not walk.
        for (HMENU above = menu; above != nullptr;) {
            const MenuRecord* aboveRecord = FindMenuLocked(table, above);
            if (above == submenu || aboveRecord == nullptr) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            above = aboveRecord->owner;
        }
        if (child->owner != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        child->owner = menu;
        entry.submenu = submenu;
        entry.id = kNoItem;
    } else {
        entry.id = LOWORD(idNewItem);
    }
    record->items.push_back(std::move(entry));
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    const MenuRecord* record = FindMenuLocked(table, menu);
    return record != nullptr ? static_cast<int>(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    const MenuItem* entry = ItemAtPositionLocked(table, menu, position);
    return entry != nullptr && entry->submenu == nullptr ? entry->id : kNoItem;
}

HMENU GetSubMenu(HMENU menu, int position) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    const MenuItem* entry = ItemAtPositionLocked(table, menu, position);
    return entry != nullptr ? entry->submenu : nullptr;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    MenuItem* entry = FindItemLocked(table, menu, item, enable);
    if (entry == nullptr) {
        return kNoItem;
    }
    const UINT previous = entry->flags & (MF_GRAYED | MF_DISABLED);
    entry->flags =
        (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    MenuItem* entry = FindItemLocked(table, menu, item, check);
    if (entry == nullptr) {
        return kNoItem;
    }
    const DWORD previous = entry->flags & MF_CHECKED;
    entry->flags = (entry->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    const MenuItem* entry = FindItemLocked(table, menu, item, flags);
    if (entry == nullptr) {
        return kNoItem;
    }
    if (entry->submenu == nullptr) {
        return entry->flags;
    }
    const MenuRecord* submenu = FindMenuLocked(table, entry->submenu);
    const UINT count = submenu != nullptr ? static_cast<UINT>(submenu->items.size()) : 0;
    return (entry->flags & 0xFF) | (std::min<UINT>(count, 0xFF) << 8);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    const MenuItem* entry = FindItemLocked(table, menu, item, flags);
    if (entry == nullptr) {
        return 0;
    }
    if (buffer == nullptr) {
        return static_cast<int>(entry->text.size());
    }
    if (size <= 0) {
        return 0;
    }
    return CopyText(entry->text, buffer, size);
}

BOOL ModifyMenuA(HMENU menu, UINT item, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
    if (text == nullptr || (flags & (MF_POPUP | MF_SEPARATOR)) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    MenuItem* entry = FindItemLocked(table, menu, item, flags);
    if (entry == nullptr || (entry->flags & MF_SEPARATOR) != 0) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    entry->text = text;
    const UINT popup = entry->flags & MF_POPUP;
    entry->flags = (flags & kItemFlagMask) | popup;
    if (entry->submenu == nullptr) {
        entry->id = LOWORD(idNewItem);
    }
    return TRUE;
}

HMENU GetMenu(HWND window) {
    if (!IsWindow(window)) {
        return nullptr;
    }
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    auto found = table.attached.find(window);
    return found != table.attached.end() ? found->second : nullptr;
}

BOOL SetMenu(HWND window, HMENU menu) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::vector<HWND> known;
    std::vector<HWND> detached;
    {
        MenuTable& table = Table();
        std::lock_guard<std::mutex> guard(table.mutex);
        if (menu != nullptr && FindMenuLocked(table, menu) == nullptr) {
            return FALSE;
        }
        for (auto it = table.attached.begin(); it != table.attached.end();) {
            if (it->second == menu && it->first != window) {
                detached.push_back(it->first);
            }
            it = it->second == menu ? table.attached.erase(it) : std::next(it);
        }
        if (menu != nullptr) {
            table.attached[window] = menu;
        } else {
            table.attached.erase(window);
        }
        for (const auto& entry : table.attached) {
            known.push_back(entry.first);
        }
    }
    for (HWND other : detached) {
        win32_internal::NoteMenuBar(other, false);
    }
    win32_internal::NoteMenuBar(window, menu != nullptr);
    win32_internal::RecheckPointerOverMenuBar(window);
    // Forget the menus of windows destroyed since.
    std::vector<HWND> gone;
    std::copy_if(known.begin(), known.end(), std::back_inserter(gone),
                 [](HWND other) { return !IsWindow(other); });
    if (!gone.empty()) {
        MenuTable& table = Table();
        std::lock_guard<std::mutex> guard(table.mutex);
        for (HWND other : gone) {
            table.attached.erase(other);
        }
    }
    return TRUE;
}

BOOL DrawMenuBar(HWND window) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    win32_internal::NotifyWindowPainted(window);
    return TRUE;
}

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN, UINT flags) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if ((flags & RDW_INVALIDATE) != 0) {
        InvalidateRect(window, rect, (flags & RDW_ERASE) != 0 ? TRUE : FALSE);
    } else if ((flags & RDW_VALIDATE) != 0) {
        ValidateRect(window, rect);
    }
    return TRUE;
}

void Win32RegisterMenuResource(WORD id, MenuResourceBuilder builder) {
    MenuTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    if (builder == nullptr) {
        table.resources.erase(id);
    } else {
        table.resources[id] = builder;
    }
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
    MenuResourceBuilder builder = nullptr;
    if (name != nullptr && IS_INTRESOURCE(name)) {
        MenuTable& table = Table();
        std::lock_guard<std::mutex> guard(table.mutex);
        auto found =
            table.resources.find(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
        if (found != table.resources.end()) {
            builder = found->second;
        }
    }
    if (builder == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return builder();
}
