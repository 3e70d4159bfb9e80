#pragma once
// Menus as a data model: menu bars and popup menus with their items, attached to windows, and the
// menu resources of the program. Nothing here draws; a presentation reads the model and runs the
// menu loop (menu_loop.h). Menus belong to the thread that uses them (the game's main thread).
//
// Item texts are Shift-JIS; a "\t" separates the item's name from its shortcut text, and "&"
// marks the mnemonic, both kept as given.

#include <cstdint>

#include "platform/winbase/win_types.h"

// Item flags (AppendMenuA) and states (GetMenuState, EnableMenuItem, CheckMenuItem).
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

// TrackPopupMenuEx flags.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// Menu messages not declared with the other window messages.
constexpr UINT WM_INITMENU = 0x0116;

// Error codes (GetLastError).
constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;

// A resource named by number: the id in the low word of the pointer.
inline LPCSTR MAKEINTRESOURCEA(WORD id) {
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id));
}
inline bool IS_INTRESOURCE(LPCSTR name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// Regions are not modelled; RedrawWindow takes one only to keep its signature.
struct HRGN__ {
    int unused;
};
using HRGN = HRGN__*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and every submenu it holds; a window it is attached to is left with none.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// Appends an item. MF_POPUP: `idNewItem` is the submenu's handle, which the menu then owns (a
// submenu may hang in one place only). MF_SEPARATOR: no text. Otherwise a string item with the
// command id `idNewItem` (its low word) and the text `item` (null is refused).
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR item);

// -1 for an invalid menu.
int GetMenuItemCount(HMENU menu);
// The command id of the item at `position`; 0xFFFFFFFF for a submenu item or a position out of
// range.
UINT GetMenuItemID(HMENU menu, int position);
// The submenu of the item at `position`; null when that item has none.
HMENU GetSubMenu(HMENU menu, int position);

// `item` is a command id (MF_BYCOMMAND, searched through the submenus as well, first match) or a
// position (MF_BYPOSITION). EnableMenuItem sets MF_GRAYED and MF_DISABLED from `enable` and
// returns the previous MF_GRAYED | MF_DISABLED bits; CheckMenuItem sets MF_CHECKED and returns the
// previous MF_CHECKED bit; both return 0xFFFFFFFF (-1) when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// The item's flags; for a submenu item the flags in the low byte and the submenu's item count in
// the high byte. 0xFFFFFFFF when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Copies the item's text like GetWindowTextA (never half a double-byte character) and returns the
// bytes copied; with a null buffer, the text's length. 0 when there is no such item.
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
// Replaces the item's text and id (string items only; a submenu item keeps its submenu and takes
// the new text). FALSE when there is no such item.
BOOL ModifyMenuA(HMENU menu, UINT item, UINT flags, UINT_PTR idNewItem, LPCSTR text);

// The window's menu bar. SetMenu(window, null) detaches it; the menu itself stays. A menu is
// attached to one window at a time: attaching it elsewhere detaches it from the first.
HMENU GetMenu(HWND window);
BOOL SetMenu(HWND window, HMENU menu);
// Accepted for a window; a presentation redraws its bar from the model every frame.
BOOL DrawMenuBar(HWND window);
// RDW_INVALIDATE invalidates the rectangle (null: the client area) as InvalidateRect does;
// RDW_VALIDATE validates it; RDW_FRAME and the other flags have nothing to act on (windows here
// have no frame). FALSE for an unknown window.
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);

// Shows the popup menu `menu` at screen point (x, y), placed by the TPM_ alignment flags and
// kept inside `window`, and runs its menu loop (menu_tracker.h): WM_ENTERMENULOOP (wParam TRUE),
// WM_INITMENUPOPUP for each popup as it opens, WM_EXITMENULOOP, none of them with
// TPM_NONOTIFY. With TPM_RETURNCMD the chosen command is returned (0 for none); otherwise it is
// posted to `window` as WM_COMMAND and TRUE returned. `params` (the area to avoid) is not used.
// FALSE for an invalid menu or window.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, LPTPMPARAMS params);

// Menu resources: the program registers a builder for each id at start; LoadMenuA builds a new
// menu from it each time (the caller owns the result). A name that is no MAKEINTRESOURCEA id, or
// an id with no builder, fails with ERROR_RESOURCE_NAME_NOT_FOUND. The instance is not used (the
// program is one module).
using MenuResourceBuilder = HMENU (*)();
void Win32RegisterMenuResource(WORD id, MenuResourceBuilder builder);
HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
