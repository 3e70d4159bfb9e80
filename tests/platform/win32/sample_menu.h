#pragma once
// Shared by the menu tests: a bar with "File" (&Open 10 with the shortcut text "Ctrl+O", a
// separator, "Recent" with 20 and 21, greyed Quit 11) and "&Edit" (Copy 30). Destroy the bar
// alone: it owns the rest.

#include "platform/win32/menu_api.h"

namespace win32_test_support {

struct SampleMenu {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    HMENU edit = CreatePopupMenu();
    SampleMenu() {
        AppendMenuA(recent, MF_STRING, 20, "one");
        AppendMenuA(recent, MF_STRING, 21, "two");
        AppendMenuA(file, MF_STRING, 10, "&Open\tCtrl+O");
        AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent");
        AppendMenuA(file, MF_STRING | MF_GRAYED, 11, "Quit");
        AppendMenuA(edit, MF_STRING, 30, "Copy");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    }
    ~SampleMenu() { DestroyMenu(bar); }
    SampleMenu(const SampleMenu&) = delete;
    SampleMenu& operator=(const SampleMenu&) = delete;
};

}  // namespace win32_test_support
